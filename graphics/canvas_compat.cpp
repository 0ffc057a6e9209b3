// The platform canvas interface on TVelkGPCanvas. Raster operations that read or flood
// pixels cannot be done on a vector surface: they raise. Those whose result the library
// never needs (arcs by radials, chords, pies, brush copies, ...) do nothing. The shapes
// draw with the canvas's Fill and Stroke at opacity 1.

#include "graphics/canvas.h"

#include "graphics/backend_path.h"
#include "graphics/brush.h"
#include "platform/exceptions.h"

namespace velk {

namespace {

[[noreturn]] void RaiseInvalidCanvasOperation()
{
    throw EInvalidOperation(messages::InvalidCanvasOperation);
}

} // namespace

void TVelkGPCanvas::Arc(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                        std::int32_t, std::int32_t)
{
}

void TVelkGPCanvas::ArcTo(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                          std::int32_t, std::int32_t)
{
}

void TVelkGPCanvas::AngleArc(std::int32_t, std::int32_t, std::uint32_t, float, float) {}

void TVelkGPCanvas::BrushCopy(const TRect&, const QImage&, const TRect&, const QColor&) {}

void TVelkGPCanvas::Chord(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                          std::int32_t, std::int32_t)
{
}

void TVelkGPCanvas::Pie(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                        std::int32_t, std::int32_t)
{
}

void TVelkGPCanvas::RoundRect(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {}

void TVelkGPCanvas::StretchDraw(const TRect&, const QImage&) {}

void TVelkGPCanvas::TextRect(TRect&, QString&, std::uint32_t) {}

void TVelkGPCanvas::Refresh() {}

void TVelkGPCanvas::FloodFill(std::int32_t, std::int32_t, const QColor&, TFillStyle)
{
    RaiseInvalidCanvasOperation();
}

TCanvasOrientation TVelkGPCanvas::GetCanvasOrientation() const
{
    RaiseInvalidCanvasOperation();
}

QColor TVelkGPCanvas::GetPixel(std::int32_t, std::int32_t) const
{
    RaiseInvalidCanvasOperation();
}

void TVelkGPCanvas::SetPixel(std::int32_t, std::int32_t, const QColor&)
{
    RaiseInvalidCanvasOperation();
}

void TVelkGPCanvas::Ellipse(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2)
{
    Ellipse(static_cast<float>(X1), static_cast<float>(Y1), static_cast<float>(X2), static_cast<float>(Y2), 1.0f);
}

void TVelkGPCanvas::Ellipse(float X1, float Y1, float X2, float Y2, float Opacity)
{
    const TRectF rect{X1, Y1, X2, Y2};
    FillEllipse(rect, Opacity);
    DrawEllipse(rect, Opacity);
}

void TVelkGPCanvas::Rectangle(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2)
{
    const TRectF rect = RectToRectF({X1, Y1, X2, Y2});
    FillRect(rect, 1);
    DrawRect(rect, 0, 0, TVelkCorners(), 1);
}

void TVelkGPCanvas::FillRect(const TRect& Rect)
{
    FillRect(RectToRectF(Rect), 1);
}

void TVelkGPCanvas::FrameRect(const TRect& Rect)
{
    if (FBrush->Kind() == bkNone)
        return;
    const TRectF rect = RectToRectF(Rect);
    DrawRect({rect.Left + 0.5f, rect.Top + 0.5f, rect.Right - 0.5f, rect.Bottom - 0.5f}, 0, 0, TVelkCorners(), 1);
}

void TVelkGPCanvas::MoveTo(std::int32_t X, std::int32_t Y)
{
    FPenPos = {X, Y};
}

void TVelkGPCanvas::LineTo(std::int32_t X, std::int32_t Y)
{
    const TPoint to{X, Y};
    DrawLine(FPenPos, to, 1);
    FPenPos = to;
}

void TVelkGPCanvas::Polygon(const TCanvasPoints& Points)
{
    DrawPolyPath(Points, true);
}

void TVelkGPCanvas::Polyline(const TCanvasPoints& Points)
{
    DrawPolyPath(Points, false);
}

void TVelkGPCanvas::DrawPolyPath(const TCanvasPoints& Points, bool Close)
{
    if (Points.isEmpty())
        return;
    TVelkGPPath path(this);
    path.MoveTo(PointToPointF(Points.first()));
    for (qsizetype i = 1; i < Points.size(); ++i)
        path.LineTo(PointToPointF(Points[i]));
    if (Close)
        path.ClosePath();
    DrawPath(path, 1);
}

void TVelkGPCanvas::PolyBezier(const TCanvasPoints& Points)
{
    DrawBeziers(Points, false);
}

void TVelkGPCanvas::PolyBezierTo(const TCanvasPoints& Points)
{
    DrawBeziers(Points, true);
}

void TVelkGPCanvas::DrawBeziers(const TCanvasPoints& Points, bool Relative)
{
    if (Points.size() < 4)
        return;
    TVelkGPPath path(this);
    path.MoveTo(PointToPointF(Points.first()));
    // Points left over after the last whole triple are ignored.
    for (qsizetype i = 1; i + 2 < Points.size(); i += 3) {
        const TPointF c1 = PointToPointF(Points[i]);
        const TPointF c2 = PointToPointF(Points[i + 1]);
        const TPointF end = PointToPointF(Points[i + 2]);
        if (Relative)
            path.CurveToRel(c1, c2, end);
        else
            path.CurveTo(c1, c2, end);
    }
    DrawPath(path, 1);
}

} // namespace velk
