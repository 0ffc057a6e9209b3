#include "svg/basic_shapes.h"

#include "svg/points.h"
#include "svg/xml_attributes.h"

#include <algorithm>

namespace velk {

// --- TSVGPolyline ---

const TClassInfo& TSVGPolyline::StaticClass()
{
    using E = TSVGPolyline;
    static const TClassInfo info(QStringLiteral("TSVGPolyline"), &TSVGGraphicElement::StaticClass(),
                                 &CreateInstance<TSVGPolyline>,
                                 TPublished<TSVGPolyline>()
                                     .String(QStringLiteral("Polygon"), &E::Polygon, &E::SetPolygon)
                                     .Take());
    return info;
}

std::unique_ptr<TSVGElement> TSVGPolyline::Create(TSVGDocument* aOwner) const
{
    return std::make_unique<TSVGPolyline>(aOwner);
}

void TSVGPolyline::AssignProperties(const TPersistent* Source)
{
    if (const auto* source = dynamic_cast<const TSVGPolyline*>(Source))
        FPoints = source->FPoints;
    TSVGGraphicElement::AssignProperties(Source);
}

void TSVGPolyline::Clear()
{
    WithinUpdate(*this, [this] {
        FPoints.clear();
        TSVGGraphicElement::Clear();
    });
}

void TSVGPolyline::SetPoints(const TVelkPoints& Value)
{
    FPoints = Value;
    Changed();
}

QString TSVGPolyline::Polygon() const
{
    return SVGPointsToStr(FPoints, NumberFormat());
}

void TSVGPolyline::SetPolygon(const QString& Value)
{
    SetPoints(SVGParsePoints(Value));
}

TRectF TSVGPolyline::GetBoundsRect() const
{
    if (FPoints.isEmpty())
        return {};
    TRectF bounds{FPoints.front().X, FPoints.front().Y, FPoints.front().X, FPoints.front().Y};
    for (const TPointF& point : FPoints) {
        bounds.Left = std::min(bounds.Left, point.X);
        bounds.Top = std::min(bounds.Top, point.Y);
        bounds.Right = std::max(bounds.Right, point.X);
        bounds.Bottom = std::max(bounds.Bottom, point.Y);
    }
    return bounds;
}

void TSVGPolyline::ReadAttributes(TXMLNode Node)
{
    TSVGGraphicElement::ReadAttributes(Node);
    SetPoints(SVGReadPoints(Node, QStringLiteral("points")));
}

void TSVGPolyline::WriteAttributes(TXMLNode Node)
{
    TSVGGraphicElement::WriteAttributes(Node);
    SVGWriteAttribute(Node, QStringLiteral("points"), Polygon(), FPoints.isEmpty());
}

TVelkGPPath& TSVGPolyline::GetShape()
{
    if (ShapeCacheChanged()) {
        TVelkGPPath& path = ShapePath();
        path.Clear();
        if (!FPoints.isEmpty()) {
            path.MoveTo(FPoints.front());
            for (qsizetype i = 1; i < FPoints.size(); ++i)
                path.LineTo(FPoints[i]);
            // Closed by a figure flag rather than a polygon of at least three points,
            // so that a two-point polygon still strokes its line there and back.
            if (ClosedFigure())
                path.ClosePath();
        }
    }
    return TSVGGraphicElement::GetShape();
}

// --- TSVGPolygon ---

const TClassInfo& TSVGPolygon::StaticClass()
{
    static const TClassInfo info(QStringLiteral("TSVGPolygon"), &TSVGPolyline::StaticClass(),
                                 &CreateInstance<TSVGPolygon>);
    return info;
}

std::unique_ptr<TSVGElement> TSVGPolygon::Create(TSVGDocument* aOwner) const
{
    return std::make_unique<TSVGPolygon>(aOwner);
}

} // namespace velk
