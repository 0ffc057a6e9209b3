#include "svg/basic_shapes.h"

#include "svg/length_attribute.h"
#include "svg/length_syntax.h"

namespace velk {

namespace {

// The cached geometry: the ellipse of Bounds when they have a positive width and height.
void BuildEllipse(TVelkGPPath& Path, const TRectF& Bounds)
{
    Path.Clear();
    if (Bounds.Width() > 0 && Bounds.Height() > 0)
        Path.AddEllipse(Bounds);
}

// Clears Length, then reads the attribute Name into it.
void ReadLength(TXMLNode Node, const QString& Name, TSVGLength& Length)
{
    Length.Clear();
    SVGReadLength(Node, Name, Length);
}

} // namespace

// --- TSVGCircle ---

const TClassInfo& TSVGCircle::StaticClass()
{
    using E = TSVGCircle;
    static const TClassInfo info(
        QStringLiteral("TSVGCircle"), &TSVGGraphicElement::StaticClass(), &CreateInstance<TSVGCircle>,
        TPublished<TSVGCircle>()
            .Object(QStringLiteral("CenterX"), [](const E& e) { return &e.CenterX(); })
            .Object(QStringLiteral("CenterY"), [](const E& e) { return &e.CenterY(); })
            .Object(QStringLiteral("Radius"), [](const E& e) { return &e.Radius(); })
            .Take());
    return info;
}

TSVGCircle::TSVGCircle(TSVGDocument* aOwner) : TSVGGraphicElement(aOwner)
{
    // r is neither horizontal nor vertical: a percentage of it is one of the viewport's
    // normalised diagonal.
    WidthLength().OnRange = ViewBoxRange(pbDiagonal);
    HeightLength().OnRange = ViewBoxRange(pbDiagonal);
}

std::unique_ptr<TSVGElement> TSVGCircle::Create(TSVGDocument* aOwner) const
{
    return std::make_unique<TSVGCircle>(aOwner);
}

void TSVGCircle::SetRadius(const TSVGLength& Value)
{
    SetWidthLength(Value);
    SetHeightLength(Value);
}

void TSVGCircle::SetWidth(float Value)
{
    TSVGGraphicElement::SetWidth(Value);
    HeightLength().SetValue(Value);
}

void TSVGCircle::SetHeight(float Value)
{
    TSVGGraphicElement::SetHeight(Value);
    WidthLength().SetValue(Value);
}

TRectF TSVGCircle::GetBoundsRect() const
{
    const float cx = GetX();
    const float cy = GetY();
    const float r = GetWidth();
    return {cx - r, cy - r, cx + r, cy + r};
}

void TSVGCircle::ReadAttributes(TXMLNode Node)
{
    TSVGGraphicElement::ReadAttributes(Node);
    ReadLength(Node, QStringLiteral("cx"), XLength());
    ReadLength(Node, QStringLiteral("cy"), YLength());
    ReadLength(Node, QStringLiteral("r"), WidthLength());
    HeightLength().Assign(&WidthLength());
}

void TSVGCircle::WriteAttributes(TXMLNode Node)
{
    TSVGGraphicElement::WriteAttributes(Node);
    const QString format = NumberFormat();
    const bool compact = IsCompactExport();
    SVGWriteLengthAttribute(Node, QStringLiteral("cx"), XLength(), format, compact);
    SVGWriteLengthAttribute(Node, QStringLiteral("cy"), YLength(), format, compact);
    SVGWriteLengthAttribute(Node, QStringLiteral("r"), WidthLength(), format, compact);
}

TVelkGPPath& TSVGCircle::GetShape()
{
    if (ShapeCacheChanged())
        BuildEllipse(ShapePath(), GetBoundsRect());
    return TSVGGraphicElement::GetShape();
}

// --- TSVGEllipse ---

const TClassInfo& TSVGEllipse::StaticClass()
{
    using E = TSVGEllipse;
    static const TClassInfo info(
        QStringLiteral("TSVGEllipse"), &TSVGGraphicElement::StaticClass(), &CreateInstance<TSVGEllipse>,
        TPublished<TSVGEllipse>()
            .Object(QStringLiteral("CenterX"), [](const E& e) { return &e.CenterX(); })
            .Object(QStringLiteral("CenterY"), [](const E& e) { return &e.CenterY(); })
            .Object(QStringLiteral("RadiusX"), [](const E& e) { return &e.RadiusX(); })
            .Object(QStringLiteral("RadiusY"), [](const E& e) { return &e.RadiusY(); })
            .Take());
    return info;
}

std::unique_ptr<TSVGElement> TSVGEllipse::Create(TSVGDocument* aOwner) const
{
    return std::make_unique<TSVGEllipse>(aOwner);
}

TRectF TSVGEllipse::GetBoundsRect() const
{
    const float cx = GetX();
    const float cy = GetY();
    const float rx = GetWidth();
    const float ry = GetHeight();
    return {cx - rx, cy - ry, cx + rx, cy + ry};
}

void TSVGEllipse::ReadAttributes(TXMLNode Node)
{
    TSVGGraphicElement::ReadAttributes(Node);
    ReadLength(Node, QStringLiteral("cx"), XLength());
    ReadLength(Node, QStringLiteral("cy"), YLength());
    ReadLength(Node, QStringLiteral("rx"), WidthLength());
    ReadLength(Node, QStringLiteral("ry"), HeightLength());
}

void TSVGEllipse::WriteAttributes(TXMLNode Node)
{
    TSVGGraphicElement::WriteAttributes(Node);
    const QString format = NumberFormat();
    const bool compact = IsCompactExport();
    SVGWriteLengthAttribute(Node, QStringLiteral("cx"), XLength(), format, compact);
    SVGWriteLengthAttribute(Node, QStringLiteral("cy"), YLength(), format, compact);
    SVGWriteLengthAttribute(Node, QStringLiteral("rx"), WidthLength(), format, compact);
    SVGWriteLengthAttribute(Node, QStringLiteral("ry"), HeightLength(), format, compact);
}

TVelkGPPath& TSVGEllipse::GetShape()
{
    if (ShapeCacheChanged())
        BuildEllipse(ShapePath(), GetBoundsRect());
    return TSVGGraphicElement::GetShape();
}

} // namespace velk
