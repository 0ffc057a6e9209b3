#include "svg/switch.h"

namespace velk {

const TClassInfo& TSVGSwitch::StaticClass()
{
    static const TClassInfo info(QStringLiteral("TSVGSwitch"), &TSVGCustomGroup::StaticClass(),
                                 &CreateInstance<TSVGSwitch>);
    return info;
}

std::unique_ptr<TSVGElement> TSVGSwitch::Create(TSVGDocument* aOwner) const
{
    return std::make_unique<TSVGSwitch>(aOwner);
}

bool TSVGSwitch::IsDisplayed() const
{
    return TSVGElement::IsDisplayed() && Display();
}

TSVGGraphicElement* TSVGSwitch::ChosenChild() const
{
    for (TSVGElement* child : Items())
        if (TSVGGraphicElement* graphic = child->AsGraphicElement())
            if (graphic->HasFeatures() && graphic->HasExtensions() && graphic->HasLanguages())
                return graphic;
    return nullptr;
}

void TSVGSwitch::DrawChildren(const TMatrix& M, TVelkGPCanvas& Canvas, const TRectF& aRect)
{
    if (TSVGGraphicElement* chosen = ChosenChild())
        chosen->Draw(M, Canvas, aRect);
}

TSVGGraphicElement* TSVGSwitch::HitTest(const TMatrix& aMatrix, TVelkGPCanvas& Canvas, TSVGFindOptions Options,
                                        const TRectF& aRect, const TPointF& Pt)
{
    TSVGGraphicElement* chosen = ChosenChild();
    if (!chosen)
        return nullptr;
    return ReportGroup(chosen->ElementAtPos(MatrixMultiply(Matrix(), aMatrix), Canvas, Pt, aRect, Options), Options);
}

void TSVGSwitch::ForEachRenderedChild(const std::function<void(const TSVGGraphicElement&)>& Action) const
{
    if (const TSVGGraphicElement* chosen = ChosenChild(); chosen && chosen->IsDisplayed())
        Action(*chosen);
}

} // namespace velk
