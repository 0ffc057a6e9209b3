#include "svg/basic_shapes.h"

#include "svg/length_attribute.h"
#include "svg/length_syntax.h"

#include <cmath>

namespace velk {

const TClassInfo& TSVGLine::StaticClass()
{
    using E = TSVGLine;
    static const TClassInfo info(
        QStringLiteral("TSVGLine"), &TSVGGraphicElement::StaticClass(), &CreateInstance<TSVGLine>,
        TPublished<TSVGLine>()
            .Object(QStringLiteral("StartX"), [](const E& e) { return &e.StartX(); })
            .Object(QStringLiteral("StartY"), [](const E& e) { return &e.StartY(); })
            .Object(QStringLiteral("EndX"), [](const E& e) { return &e.EndX(); })
            .Object(QStringLiteral("EndY"), [](const E& e) { return &e.EndY(); })
            .Take());
    return info;
}

std::unique_ptr<TSVGElement> TSVGLine::Create(TSVGDocument* aOwner) const
{
    return std::make_unique<TSVGLine>(aOwner);
}

float TSVGLine::GetWidth() const
{
    return std::fabs(EndX().Value() - StartX().Value());
}

float TSVGLine::GetHeight() const
{
    return std::fabs(EndY().Value() - StartY().Value());
}

void TSVGLine::SetWidth(float Value)
{
    TSVGGraphicElement::SetWidth(StartX().Value() + Value);
}

void TSVGLine::SetHeight(float Value)
{
    TSVGGraphicElement::SetHeight(StartY().Value() + Value);
}

TRectF TSVGLine::GetBoundsRect() const
{
    TRectF bounds{StartX().Value(), StartY().Value(), EndX().Value(), EndY().Value()};
    // A horizontal or vertical line keeps an extent of one unit.
    if (bounds.Right == bounds.Left)
        bounds.Right = bounds.Left + 1;
    if (bounds.Bottom == bounds.Top)
        bounds.Bottom = bounds.Top + 1;
    return bounds;
}

void TSVGLine::ReadAttributes(TXMLNode Node)
{
    TSVGGraphicElement::ReadAttributes(Node);
    const auto read = [Node](const QString& Name, TSVGLength& Length) {
        Length.Clear();
        SVGReadLength(Node, Name, Length);
    };
    read(QStringLiteral("x1"), StartX());
    read(QStringLiteral("y1"), StartY());
    read(QStringLiteral("x2"), EndX());
    read(QStringLiteral("y2"), EndY());
}

void TSVGLine::WriteAttributes(TXMLNode Node)
{
    TSVGGraphicElement::WriteAttributes(Node);
    const QString format = NumberFormat();
    SVGWriteLengthAttribute(Node, QStringLiteral("x1"), StartX(), format, true);
    SVGWriteLengthAttribute(Node, QStringLiteral("y1"), StartY(), format, true);
    SVGWriteLengthAttribute(Node, QStringLiteral("x2"), EndX(), format, true);
    SVGWriteLengthAttribute(Node, QStringLiteral("y2"), EndY(), format, true);
}

TVelkGPPath& TSVGLine::GetShape()
{
    if (ShapeCacheChanged()) {
        TVelkGPPath& path = ShapePath();
        path.Clear();
        const TPointF start{StartX().Value(), StartY().Value()};
        const TPointF end{EndX().Value(), EndY().Value()};
        if (!SamePointF(start, end))
            path.MoveTo(start).LineTo(end);
    }
    return TSVGGraphicElement::GetShape();
}

TSVGGraphicElement* TSVGLine::HitTestSelf(const TMatrix& M, TVelkGPCanvas& Canvas, TSVGFindOptions Options,
                                          const TRectF& aRect, const TPointF& Pt)
{
    // The bounding box keeps one unit across, so it stays a fair test when asked for.
    if (Options.Contains(foUseBoundingBox))
        return TSVGGraphicElement::HitTestSelf(M, Canvas, Options, aRect, Pt);
    const TVelkGPPath& shape = GetShape();
    if (shape.Count() == 0)
        return nullptr;
    return HitTestShape(M, Canvas, Options, shape, aRect, Pt);
}

} // namespace velk
