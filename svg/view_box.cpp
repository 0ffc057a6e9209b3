#include "svg/view_box.h"

#include "svg/trim.h"
#include "svg/view_box_syntax.h"
#include "svg/xml_attributes.h"

namespace velk {

const TClassInfo& TSVGCustomViewBox::StaticClass()
{
    static const TClassInfo info(QStringLiteral("TSVGCustomViewBox"), &TSVGCustomGroup::StaticClass());
    return info;
}

TSVGCustomViewBox::TSVGCustomViewBox(TSVGDocument* aOwner)
    : TSVGCustomGroup(aOwner), FAspectRatio(std::make_unique<TSVGPreserveAspectRatio>())
{
    // SVG's initial value, not "none": a viewBox without preserveAspectRatio is fitted
    // uniformly and centred, as every SVG reader does.
    FAspectRatio->SetInitial();
    FAspectRatio->OnChange = [this](TObject* Sender) { SubObjectChanged(Sender); };
    SetOverflow(false);
    // The viewport's own position and size are measured in the viewport around it, not
    // in its own view box. The outermost one measures in its view box (as common
    // renderers do), else in SVG's default viewport of 100 x 100.
    const auto outerRange = [this](bool Horizontal) -> TSVGLengthRangeEvent {
        return [this, Horizontal](const TSVGLength*, float& Min, float& Max, bool& DoRange) {
            TSVGElement* parent = Parent();
            const TSVGCustomViewBox* outer = parent ? parent->GetNearestViewBox() : FViewBoxSpecified ? this : nullptr;
            Min = 0;
            if (outer)
                Max = Horizontal ? outer->FViewBox.Width() : outer->FViewBox.Height();
            else if (!parent)
                Max = SVGDefaultViewportSize;
            else
                DoRange = false;
        };
    };
    XLength().OnRange = outerRange(true);
    WidthLength().OnRange = outerRange(true);
    YLength().OnRange = outerRange(false);
    HeightLength().OnRange = outerRange(false);
}

TSVGCustomViewBox::~TSVGCustomViewBox() = default;

TSVGCustomViewBox* TSVGCustomViewBox::GetNearestViewBox()
{
    // An svg element is a viewport for percentages also without a view box: its own
    // rectangle stands in for one then.
    return FViewBoxSpecified || SVGType() == etDoc ? this : TSVGCustomGroup::GetNearestViewBox();
}

void TSVGCustomViewBox::AssignProperties(const TPersistent* Source)
{
    if (const auto* source = dynamic_cast<const TSVGCustomViewBox*>(Source); source && source != this) {
        FViewBoxSpecified = source->FViewBoxSpecified;
        FViewBox = source->FViewBox;
        FAspectRatio->Assign(source->FAspectRatio.get());
    }
    TSVGCustomGroup::AssignProperties(Source);
}

void TSVGCustomViewBox::Clear()
{
    WithinUpdate(*this, [this] {
        TSVGCustomGroup::Clear();
        FAspectRatio->SetInitial();
        FViewBox = {};
        FViewBoxSpecified = false;
        SetOverflow(false);
    });
}

QString TSVGCustomViewBox::StylePropertyDefault(TSVGStyleProperty Property) const
{
    return Property == ipOverflow ? u"hidden"_qs : TSVGCustomGroup::StylePropertyDefault(Property);
}

void TSVGCustomViewBox::SetViewBox(const TRectF& Value)
{
    if (FViewBoxSpecified && Value == FViewBox)
        return;
    FViewBox = Value;
    FViewBoxSpecified = true;
    Changed();
}

QString TSVGCustomViewBox::ViewBoxRect() const
{
    return SVGRectToStr(FViewBox, NumberFormat());
}

void TSVGCustomViewBox::SetViewBoxRect(const QString& Value)
{
    FViewBoxSpecified = !Value.isEmpty();
    if (FViewBoxSpecified)
        FViewBox = SVGParseViewBox(Value, GetUnitFactors());
    Changed();
}

void TSVGCustomViewBox::ReadAttributes(TXMLNode Node)
{
    TSVGCustomGroup::ReadAttributes(Node);
    FViewBox = MakeRectF(GetX(), GetY(), GetX() + GetWidth(), GetY() + GetHeight());
    const QString viewBox = SVGReadAttribute(Node, QStringLiteral("viewBox"));
    FViewBoxSpecified = !SVGTrim(viewBox).isEmpty();
    if (FViewBoxSpecified)
        FViewBox = SVGParseViewBox(viewBox, GetUnitFactors());
    SVGParseAspectRatio(SVGReadAttribute(Node, QStringLiteral("preserveAspectRatio")), *FAspectRatio);
}

void TSVGCustomViewBox::WriteAttributes(TXMLNode Node)
{
    TSVGCustomGroup::WriteAttributes(Node);
    if (!FViewBoxSpecified)
        return;
    SVGWriteAttribute(Node, QStringLiteral("viewBox"), SVGRectToStr(FViewBox, NumberFormat()));
    const bool compact = IsCompactExport();
    SVGWriteAttribute(Node, QStringLiteral("preserveAspectRatio"), FAspectRatio->ToString(compact),
                      compact && FAspectRatio->IsInitial());
}

} // namespace velk
