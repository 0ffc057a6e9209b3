// TSVGElement: the drawing and hit-testing entry points every element has. A plain
// element cannot draw; graphic elements implement the pipeline.

#include "svg/element.h"

#include "graphics/canvas.h"
#include "platform/exceptions.h"
#include "svg/document.h"

namespace velk {

void TSVGElement::Draw(TVelkGPCanvas& /*Canvas*/, const TRectF& /*aRect*/)
{
    throw EAbstractError(messages::AbstractError);
}

void TSVGElement::Draw(QPainter& Canvas, const TRect& aRect)
{
    // The wrapper lives on the stack: it goes (and hands the painter back) on every path.
    TVelkGPCanvas canvas(Canvas);
    Draw(canvas, RectToRectF(aRect));
}

TSVGGraphicElement* TSVGElement::ElementAtPos(TVelkGPCanvas& /*Canvas*/, const TPointF& /*Pt*/,
                                              const TRectF& /*aRect*/, TSVGFindOptions /*Options*/)
{
    return nullptr;
}

TSVGGraphicElement* TSVGElement::DoElementFound(TSVGGraphicElement* Element)
{
    if (TSVGDocument* owner = Owner())
        return owner->DoElementFound(Element);
    return Element;
}

} // namespace velk
