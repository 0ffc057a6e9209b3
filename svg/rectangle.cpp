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

} // namespace

const TClassInfo& TSVGRectangle::StaticClass()
{
    using E = TSVGRectangle;
    static const TClassInfo info(
        QStringLiteral("TSVGRectangle"), &TSVGGraphicElement::StaticClass(), &CreateInstance<TSVGRectangle>,
        TPublished<TSVGRectangle>()
            .Single(QStringLiteral("X"), &E::X, &E::SetX)
            .Single(QStringLiteral("Y"), &E::Y, &E::SetY)
            .Single(QStringLiteral("Width"), &E::Width, &E::SetWidth)
            .Single(QStringLiteral("Height"), &E::Height, &E::SetHeight)
            .Object(QStringLiteral("XLength"), [](const E& e) { return &e.XLength(); })
            .Object(QStringLiteral("YLength"), [](const E& e) { return &e.YLength(); })
            .Object(QStringLiteral("WidthLength"), [](const E& e) { return &e.WidthLength(); })
            .Object(QStringLiteral("HeightLength"), [](const E& e) { return &e.HeightLength(); })
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
    const QString rxName = QStringLiteral("rx");
    const QString ryName = QStringLiteral("ry");
    const bool hasRX = SVGFindAttribute(Node, rxName).has_value();
    const bool hasRY = SVGFindAttribute(Node, ryName).has_value();
    if (!hasRX && !hasRY)
        return;
    if (hasRX)
        SVGReadLength(Node, rxName, *FRX);
    if (hasRY)
        SVGReadLength(Node, ryName, *FRY);
    // One radius alone rounds the corners circularly.
    if (!hasRY)
        FRY->Assign(FRX.get());
    else if (!hasRX)
        FRX->Assign(FRY.get());
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
