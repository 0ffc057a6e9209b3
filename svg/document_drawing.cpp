// TSVGDocument: the view matrix that maps the document into a target rectangle, the
// rectangle it is drawn into, and the hit-testing event (see docs/svg.md, "Viewports").

#include "svg/document.h"

namespace velk {

TRectF TSVGDocument::OwnViewport() const
{
    if (Owner() || ViewBoxSpecified())
        return TSVGCustomViewBox::OwnViewport();
    return {0, 0, GetWidth(), GetHeight()};
}

TMatrix TSVGDocument::GetViewMatrix(const TMatrix& OldTransformation, const TRectF& aRect) const
{
    if (ViewBoxSpecified())
        return SVGViewBoxMatrix(ViewBox(), aRect, AspectRatio());
    if (!FitsDefaultAspect())
        return TSVGCustomViewBox::GetViewMatrix(OldTransformation, aRect);
    return SVGViewBoxMatrix(OwnViewport(), aRect, DefaultAspectRatio());
}

bool TSVGDocument::FitsDefaultAspect() const
{
    // A nested svg element places its content at its corner; the default aspect rule is
    // the viewer's choice for the root.
    return !Owner() && !ViewBoxSpecified() &&
           (AspectRatio().Align() != saNone || DefaultAspectRatio().Align() != saNone);
}

bool TSVGDocument::ClipsToTarget() const
{
    // The outermost svg element's viewport is the rectangle it is drawn into, whatever
    // part of it the fitted view box covers.
    return !Owner() && (ViewBoxSpecified() || FitsDefaultAspect());
}

TSVGGraphicElement* TSVGDocument::DoElementFound(TSVGGraphicElement* Element)
{
    if (OnElementFound)
        OnElementFound(this, Element);
    // A nested svg element reports on to the document the program watches.
    return Owner() ? TSVGCustomViewBox::DoElementFound(Element) : Element;
}

} // namespace velk
