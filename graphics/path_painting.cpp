// Drawing path data directly on a QPainter with the painter's own pen and brush.

#include "graphics/path_data.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace velk {

namespace {

// Whole device pixels, halves to even, as the path is drawn in integer coordinates.
QPointF PixelPoint(const TPointF& P)
{
    return {std::nearbyint(double(P.X)), std::nearbyint(double(P.Y))};
}

} // namespace

void TVelkPathData::PaintPath(QPainter& Canvas, bool Fill, float Opacity) const
{
    if (Opacity == 0 || Count() < 2)
        return;
    QPainterPath path;
    path.setFillRule(FFillMode == fmNonZero ? Qt::WindingFill : Qt::OddEvenFill);
    for (std::size_t i = 0; i < FPathData.size(); ++i) {
        const TVelkPathPoint& e = FPathData[i];
        switch (e.Kind) {
        case ppMoveTo:
            path.moveTo(PixelPoint(e.Point));
            break;
        case ppLineTo:
            path.lineTo(PixelPoint(e.Point));
            break;
        case ppCurveTo:
            path.cubicTo(PixelPoint(e.Point), PixelPoint(FPathData[i + 1].Point), PixelPoint(FPathData[i + 2].Point));
            i += 2;
            break;
        case ppClose:
            path.closeSubpath();
            break;
        }
    }
    if (Fill)
        Canvas.drawPath(path);
    else
        Canvas.strokePath(path, Canvas.pen());
}

} // namespace velk
