#include "svg/basic_shapes.h"

#include "svg/length_attribute.h"
#include "svg/length_syntax.h"
#include "svg/xml_attributes.h"

#include <algorithm>

namespace velk {

namespace {

// Radius limited to 0 .. Size / 2 (user units).
void LimitRadius(TSVGLength& Radius, float Size)
{
    const float value = Radius.Value();
    const float half = std::max(Size / 2, 0.0f);
    if (value < 0)
        Radius.SetValue(0);
    else if (value > half)
        Radius.SetValue(half);
}

// Reads the radius Name into Radius; whether it was given validly. A negative radius, or
// one whose number does not parse, is an error and counts as not given: it is 0 then,
// and the other radius decides. A radius the node does not name is 0 too, also when the
// element is read again.
bool ReadRadius(TXMLNode Node, const QString& Name, TSVGLength& Radius)
{
    Radius.Clear();
    if (!SVGFindAttribute(Node, Name).has_value())
        return false;
    // A number that does not parse leaves this negative stand-in in place.
    Radius.Initialize(-1, false, suNone);
    SVGReadLength(Node, Name, Radius);
    if (Radius.Raw() >= 0)
        return true;
    Radius.Clear();
    return false;
}

// The radius not given takes the given one's size: a percentage of the width stays that
// many user units, not the same fraction of the height.
void CopyRadius(const TSVGLength& Given, TSVGLength& Missing)
{
    if (Given.IsPercent())
        Missing.Initialize(Given.Value(), false, suNone);
    else
        Missing.Assign(&Given);
}

} // namespace

const TClassInfo& TSVGRectangle::StaticClass()
{
    using E = TSVGRectangle;
    static const TClassInfo info(
        QStringLiteral("TSVGRectangle"), &TSVGGraphicElement::StaticClass(), &CreateInstance<TSVGRectangle>,
        PublishPositionAndSize(TPublished<TSVGRectangle>())
            .Object(QStringLiteral("RX"), [](const E& e) { return &e.RX(); })
            .Object(QStringLiteral("RY"), [](const E& e) { return &e.RY(); })
            .Take());
    return info;
}

TSVGRectangle::TSVGRectangle(TSVGDocument* aOwner)
    : TSVGGraphicElement(aOwner), FRX(CreateViewBoxLength(true)), FRY(CreateViewBoxLength(false))
{
}

TSVGRectangle::~TSVGRectangle() = default;

std::unique_ptr<TSVGElement> TSVGRectangle::Create(TSVGDocument* aOwner) const
{
    return std::make_unique<TSVGRectangle>(aOwner);
}

void TSVGRectangle::AssignProperties(const TPersistent* Source)
{
    if (const auto* source = dynamic_cast<const TSVGRectangle*>(Source); source && source != this) {
        FRX->Assign(source->FRX.get());
        FRY->Assign(source->FRY.get());
    }
    TSVGGraphicElement::AssignProperties(Source);
}

void TSVGRectangle::Clear()
{
    WithinUpdate(*this, [this] {
        FRX->Clear();
        FRY->Clear();
        TSVGGraphicElement::Clear();
    });
}

void TSVGRectangle::SetRX(const TSVGLength& Value)
{
    FRX->Assign(&Value);
    LimitRadius(*FRX, GetWidth());
}

void TSVGRectangle::SetRY(const TSVGLength& Value)
{
    FRY->Assign(&Value);
    LimitRadius(*FRY, GetHeight());
}

void TSVGRectangle::ReadAttributes(TXMLNode Node)
{
    TSVGGraphicElement::ReadAttributes(Node);
    const bool hasRX = ReadRadius(Node, QStringLiteral("rx"), *FRX);
    const bool hasRY = ReadRadius(Node, QStringLiteral("ry"), *FRY);
    if (!hasRX && !hasRY)
        return;
    // One radius alone rounds the corners circularly.
    if (!hasRY)
        CopyRadius(*FRX, *FRY);
    else if (!hasRX)
        CopyRadius(*FRY, *FRX);
    LimitRadius(*FRX, GetWidth());
    LimitRadius(*FRY, GetHeight());
}

void TSVGRectangle::WriteAttributes(TXMLNode Node)
{
    TSVGGraphicElement::WriteAttributes(Node);
    WriteSizeAttributes(Node);
    const QString format = NumberFormat();
    const bool compact = IsCompactExport();
    SVGWriteLengthAttribute(Node, QStringLiteral("rx"), *FRX, format, compact);
    SVGWriteLengthAttribute(Node, QStringLiteral("ry"), *FRY, format, compact);
}

TVelkGPPath& TSVGRectangle::GetShape()
{
    if (ShapeCacheChanged()) {
        TVelkGPPath& path = ShapePath();
        path.Clear();
        const TRectF bounds = GetBoundsRect();
        const float rx = FRX->Value();
        const float ry = FRY->Value();
        if (bounds.Width() > 0 && bounds.Height() > 0) {
            if (rx > 0 && ry > 0)
                path.AddRectangle(bounds, rx, ry, AllCorners, ctRound);
            else // a zero radius on either axis leaves the corners square
                path.AddRectangle(bounds);
        }
    }
    return TSVGGraphicElement::GetShape();
}

} // namespace velk
