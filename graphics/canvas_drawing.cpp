// The canvas's vector drawing: fills and strokes of paths, rectangles, ellipses, arcs and
// lines, each with an opacity (see docs/backend.md, "Drawing").

#include "graphics/canvas.h"

#include "graphics/backend_path.h"
#include "graphics/brush.h"
#include "graphics/gp_color.h"
#include "graphics/gradient.h"
#include "graphics/painter_state_guard.h"
#include "graphics/path_data.h"
#include "graphics/path_math.h"
#include "graphics/pen.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

namespace velk {
namespace {

// The brush or pen to draw with: the object itself at full opacity, otherwise a clone
// that takes the opacity, so the caller's object keeps its colours. Preparing at full
// opacity only lays a gradient out over the area drawn (the object's settings stay),
// which is why a const object may be prepared.
template <typename T>
class TPrepared {
public:
    TPrepared(const T& Source, const TRectF& Bounds, float Opacity)
    {
        T* target = const_cast<T*>(&Source);
        if (Opacity < 1) {
            FClone = Source.template CloneAs<T>();
            target = FClone.get();
        }
        FObject = static_cast<T*>(target->Prepare(Bounds, Opacity));
    }
    T& operator*() const { return *FObject; }
    T* operator->() const { return FObject; }

private:
    std::unique_ptr<T> FClone;
    T* FObject = nullptr;
};

// Opacity <= 0 (or not a number) and kind bkNone draw nothing.
bool Draws(TVelkGPBrushKind Kind, float Opacity)
{
    return Kind != bkNone && Opacity > 0;
}

bool HasArea(const TRectF& R)
{
    return R.Width() != 0 && R.Height() != 0;
}

QRectF ToQRectF(const TRectF& R)
{
    return QRectF(QPointF(R.Left, R.Top), QPointF(R.Right, R.Bottom)).normalized();
}

QPainterPath RectanglePath(const TRectF& R)
{
    QPainterPath path;
    path.addRect(ToQRectF(R));
    return path;
}

// A radial gradient brush paints its boundary colour outside its ellipse (pad spread),
// where the canvas paints the brush's solid colour. When the two agree one fill paints
// both parts; otherwise the part of the shape outside the ellipse takes the solid colour
// and the gradient fills the part inside it.
void FillRadial(QPainter& Painter, const QPainterPath& Shape, TVelkGPBrush& Brush)
{
    const QBrush& gradientBrush = Brush.Handle();
    const QPainterPath& ellipse = Brush.Gradient()->Path();
    const QColor solid = ToQColor(Brush.Color());
    const QGradient* gradient = gradientBrush.gradient();
    if (ellipse.isEmpty() || !gradient || gradient->stops().isEmpty() ||
        gradient->stops().constLast().second == solid) {
        Painter.fillPath(Shape, gradientBrush);
        return;
    }
    {
        // Everything but the ellipse: a rectangle around both, minus the ellipse under
        // the even-odd rule.
        QPainterPath outside;
        outside.addRect(Shape.boundingRect().united(ellipse.boundingRect()).adjusted(-1, -1, 1, 1));
        outside.addPath(ellipse);
        outside.setFillRule(Qt::OddEvenFill);
        const TPainterStateGuard guard(Painter);
        Painter.setClipPath(outside, Qt::IntersectClip);
        Painter.fillPath(Shape, QBrush(solid));
    }
    const TPainterStateGuard guard(Painter);
    Painter.setClipPath(ellipse, Qt::IntersectClip);
    Painter.fillPath(Shape, gradientBrush);
}

// Fills Shape with a prepared brush: radial gradients as above, clamped textures only
// inside their image.
void FillWithBrush(QPainter& Painter, const QPainterPath& Shape, TVelkGPBrush& Brush)
{
    if (Brush.Kind() == bkGradient && Brush.Gradient()->Style() == gsRadial) {
        FillRadial(Painter, Shape, Brush);
        return;
    }
    if (const std::optional<QPainterPath> area = Brush.PaintArea()) {
        if (area->isEmpty())
            return;
        const TPainterStateGuard guard(Painter);
        Painter.setClipPath(*area, Qt::IntersectClip);
        Painter.fillPath(Shape, Brush.Handle());
        return;
    }
    Painter.fillPath(Shape, Brush.Handle());
}

// The outline of a rectangle as line and curve segments, in the order
// path_math::AddRectangleOutline gives them, so that sides can be left out.
class TOutlineSegments {
public:
    struct TSegment {
        TPointF Start;
        TPointF Control1;
        TPointF Control2;
        TPointF End;
        bool Curve = false;
    };

    void MoveTo(const TPointF& P) { FStart = FCurrent = P; }
    void LineTo(const TPointF& P)
    {
        if (P == FCurrent)
            return;
        Segments.push_back({FCurrent, {}, {}, P, false});
        FCurrent = P;
    }
    void CurveTo(const TPointF& C1, const TPointF& C2, const TPointF& E)
    {
        Segments.push_back({FCurrent, C1, C2, E, true});
        FCurrent = E;
    }
    void ClosePath() { LineTo(FStart); }

    std::vector<TSegment> Segments;

private:
    TPointF FStart;
    TPointF FCurrent;
};

// True when Segment is a straight piece of a side missing from Sides. Corner curves and
// cuts belong to no side.
bool OnSkippedSide(const TOutlineSegments::TSegment& Segment, const TRectF& R, TVelkSides Sides)
{
    if (Segment.Curve)
        return false;
    const auto along = [&](float Coordinate, float Edge, TVelkSide Side) {
        return Coordinate == Edge && !Sides.Contains(Side);
    };
    const TPointF& a = Segment.Start;
    const TPointF& b = Segment.End;
    return (a.Y == b.Y && (along(a.Y, R.Top, sdTop) || along(a.Y, R.Bottom, sdBottom))) ||
           (a.X == b.X && (along(a.X, R.Left, sdLeft) || along(a.X, R.Right, sdRight)));
}

// Adds the outline of AddRectangle without the sides missing from Sides. Drawn pieces
// that meet stay one figure (their joins drawn), starting after the first skipped side.
void AddRectangleSides(TVelkGPPath& Path, const TRectF& ARect, float XRadius, float YRadius,
                       TVelkCorners ACorners, TVelkCornerType ACornerType, TVelkSides Sides)
{
    TOutlineSegments outline;
    path_math::AddRectangleOutline(outline, ARect, XRadius, YRadius, ACorners, ACornerType,
                                   TVelkGPPath::RoundCornerControl);
    const std::vector<TOutlineSegments::TSegment>& segments = outline.Segments;
    const std::size_t count = segments.size();
    std::vector<bool> skipped(count);
    for (std::size_t i = 0; i < count; ++i)
        skipped[i] = OnSkippedSide(segments[i], ARect, Sides);

    const auto first = std::find(skipped.begin(), skipped.end(), true);
    if (first == skipped.end()) {
        Path.AddRectangle(ARect, XRadius, YRadius, ACorners, ACornerType);
        return;
    }
    const std::size_t start = static_cast<std::size_t>(first - skipped.begin()) + 1;
    bool inFigure = false;
    for (std::size_t n = 0; n < count; ++n) {
        const std::size_t i = (start + n) % count;
        const TOutlineSegments::TSegment& s = segments[i];
        if (skipped[i]) {
            inFigure = false;
            continue;
        }
        if (!inFigure) {
            Path.MoveTo(s.Start);
            inFigure = true;
        }
        if (s.Curve)
            Path.CurveTo(s.Control1, s.Control2, s.End);
        else
            Path.LineTo(s.End);
    }
}

bool IsRounded(float XRadius, float YRadius, TVelkCorners ACorners)
{
    return (XRadius != 0 || YRadius != 0) && !ACorners.Empty();
}

} // namespace

// --- Paths ---

void TVelkGPCanvas::FillPath(const TVelkGPPath& APath, float AOpacity)
{
    FillPath(APath, AOpacity, Fill());
}

void TVelkGPCanvas::FillPath(const TVelkGPPath& APath, float AOpacity, const TVelkGPBrush& ABrush)
{
    if (!Draws(ABrush.Kind(), AOpacity) || APath.Count() == 0)
        return;
    const TRectF bounds = APath.GetBounds();
    if (!HasArea(bounds))
        return;
    QPainter& painter = Handle();
    const TPrepared<TVelkGPBrush> brush(ABrush, bounds, AOpacity);
    FillWithBrush(painter, APath.Handle(), *brush);
}

void TVelkGPCanvas::FillPath(const TVelkPathData& APath, float AOpacity)
{
    FillPath(APath, AOpacity, Fill());
}

void TVelkGPCanvas::FillPath(const TVelkPathData& APath, float AOpacity, const TVelkGPBrush& ABrush)
{
    if (!Draws(ABrush.Kind(), AOpacity))
        return;
    TVelkGPPath path;
    path.Assign(&APath);
    FillPath(path, AOpacity, ABrush);
}

void TVelkGPCanvas::DrawPath(const TVelkGPPath& APath, float AOpacity)
{
    DrawPath(APath, AOpacity, Stroke());
}

void TVelkGPCanvas::DrawPath(const TVelkGPPath& APath, float AOpacity, const TVelkGPPen& ABrush)
{
    // However small the path, its stroke may not be: a figure of no length still shows
    // round or square caps.
    if (!Draws(ABrush.Kind(), AOpacity) || APath.Count() == 0)
        return;
    const TRectF bounds = APath.GetBounds();
    QPainter& painter = Handle();
    const TPrepared<TVelkGPPen> pen(ABrush, bounds, AOpacity);
    pen->Paint(painter, APath.Handle());
}

void TVelkGPCanvas::DrawPath(const TVelkPathData& APath, float AOpacity)
{
    DrawPath(APath, AOpacity, Stroke());
}

void TVelkGPCanvas::DrawPath(const TVelkPathData& APath, float AOpacity, const TVelkGPPen& ABrush)
{
    if (!Draws(ABrush.Kind(), AOpacity))
        return;
    TVelkGPPath path;
    path.Assign(&APath);
    DrawPath(path, AOpacity, ABrush);
}

// --- Rectangles ---

void TVelkGPCanvas::FillRect(const TRectF& ARect, float XRadius, float YRadius, TVelkCorners ACorners,
                             float AOpacity, TVelkCornerType ACornerType)
{
    FillRect(ARect, XRadius, YRadius, ACorners, AOpacity, Fill(), ACornerType);
}

void TVelkGPCanvas::FillRect(const TRectF& ARect, float XRadius, float YRadius, TVelkCorners ACorners,
                             float AOpacity, const TVelkGPBrush& ABrush, TVelkCornerType ACornerType)
{
    if (!Draws(ABrush.Kind(), AOpacity) || !HasArea(ARect))
        return;
    if (IsRounded(XRadius, YRadius, ACorners)) {
        TVelkGPPath path;
        path.AddRectangle(ARect, XRadius, YRadius, ACorners, ACornerType);
        FillPath(path, AOpacity, ABrush);
        return;
    }
    QPainter& painter = Handle();
    const TPrepared<TVelkGPBrush> brush(ABrush, ARect, AOpacity);
    FillWithBrush(painter, RectanglePath(ARect), *brush);
}

void TVelkGPCanvas::FillRect(const TRectF& aRect, float Opacity)
{
    FillRect(aRect, 0, 0, {}, Opacity, Fill());
}

void TVelkGPCanvas::DrawRect(const TRectF& ARect, float XRadius, float YRadius, TVelkCorners ACorners,
                             float AOpacity, TVelkCornerType ACornerType)
{
    DrawRect(ARect, XRadius, YRadius, ACorners, AOpacity, Stroke(), ACornerType);
}

void TVelkGPCanvas::DrawRect(const TRectF& ARect, float XRadius, float YRadius, TVelkCorners ACorners,
                             float AOpacity, const TVelkGPPen& ABrush, TVelkCornerType ACornerType)
{
    if (!Draws(ABrush.Kind(), AOpacity))
        return;
    if (IsRounded(XRadius, YRadius, ACorners)) {
        if (!HasArea(ARect))
            return;
        TVelkGPPath path;
        path.AddRectangle(ARect, XRadius, YRadius, ACorners, ACornerType);
        DrawPath(path, AOpacity, ABrush);
        return;
    }
    QPainter& painter = Handle();
    const TPrepared<TVelkGPPen> pen(ABrush, ARect, AOpacity);
    pen->Paint(painter, RectanglePath(ARect));
}

void TVelkGPCanvas::DrawRectSides(const TRectF& ARect, float XRadius, float YRadius, TVelkCorners ACorners,
                                  float AOpacity, TVelkSides ASides, TVelkCornerType ACornerType)
{
    DrawRectSides(ARect, XRadius, YRadius, ACorners, AOpacity, ASides, Stroke(), ACornerType);
}

void TVelkGPCanvas::DrawRectSides(const TRectF& ARect, float XRadius, float YRadius, TVelkCorners ACorners,
                                  float AOpacity, TVelkSides ASides, const TVelkGPPen& ABrush,
                                  TVelkCornerType ACornerType)
{
    if (!Draws(ABrush.Kind(), AOpacity))
        return;
    TVelkGPPath path;
    AddRectangleSides(path, ARect, XRadius, YRadius, ACorners, ACornerType, ASides);
    DrawPath(path, AOpacity, ABrush);
}

void TVelkGPCanvas::DrawDashRect(const TRectF& ARect, float XRadius, float YRadius, TVelkCorners ACorners,
                                 float AOpacity, TVelkGPColor AColor)
{
    TVelkGPPen pen(nullptr, bkSolid, AColor);
    pen.SetThickness(1);
    pen.SetDash(sdDash);
    DrawRect(ARect, XRadius, YRadius, ACorners, AOpacity, pen, ctRound);
}

void TVelkGPCanvas::DrawFocusRect(const TRectF& Rect)
{
    DrawDashRect(Rect, 0, 0, {}, 1, 0xFF808080);
}

void TVelkGPCanvas::DrawFocusRect(const TRect& Rect)
{
    DrawFocusRect(RectToRectF(Rect));
}

// --- Ellipses, arcs and lines ---

void TVelkGPCanvas::FillEllipse(const TRectF& ARect, float AOpacity)
{
    FillEllipse(ARect, AOpacity, Fill());
}

void TVelkGPCanvas::FillEllipse(const TRectF& ARect, float AOpacity, const TVelkGPBrush& ABrush)
{
    if (!Draws(ABrush.Kind(), AOpacity))
        return;
    QPainter& painter = Handle();
    const TPrepared<TVelkGPBrush> brush(ABrush, ARect, AOpacity);
    QPainterPath ellipse;
    ellipse.addEllipse(ToQRectF(ARect));
    FillWithBrush(painter, ellipse, *brush);
}

void TVelkGPCanvas::DrawEllipse(const TRectF& ARect, float AOpacity)
{
    DrawEllipse(ARect, AOpacity, Stroke());
}

void TVelkGPCanvas::DrawEllipse(const TRectF& ARect, float AOpacity, const TVelkGPPen& ABrush)
{
    if (!Draws(ABrush.Kind(), AOpacity))
        return;
    QPainter& painter = Handle();
    const TPrepared<TVelkGPPen> pen(ABrush, ARect, AOpacity);
    QPainterPath ellipse;
    ellipse.addEllipse(ToQRectF(ARect));
    pen->Paint(painter, ellipse);
}

void TVelkGPCanvas::FillArc(const TPointF& Center, const TPointF& Radius, float StartAngle, float SweepAngle,
                            float AOpacity)
{
    FillArc(Center, Radius, StartAngle, SweepAngle, AOpacity, Fill());
}

void TVelkGPCanvas::FillArc(const TPointF& Center, const TPointF& Radius, float StartAngle, float SweepAngle,
                            float AOpacity, const TVelkGPBrush& ABrush)
{
    if (!Draws(ABrush.Kind(), AOpacity))
        return;
    TVelkPathData arc;
    arc.AddArc(Center, Radius, StartAngle, SweepAngle);
    FillPath(arc, AOpacity, ABrush);
}

void TVelkGPCanvas::DrawArc(const TPointF& Center, const TPointF& Radius, float StartAngle, float SweepAngle,
                            float AOpacity)
{
    DrawArc(Center, Radius, StartAngle, SweepAngle, AOpacity, Stroke());
}

void TVelkGPCanvas::DrawArc(const TPointF& Center, const TPointF& Radius, float StartAngle, float SweepAngle,
                            float AOpacity, const TVelkGPPen& ABrush)
{
    if (!Draws(ABrush.Kind(), AOpacity))
        return;
    TVelkPathData arc;
    arc.AddArc(Center, Radius, StartAngle, SweepAngle);
    DrawPath(arc, AOpacity, ABrush);
}

void TVelkGPCanvas::DrawLine(const TPointF& APt1, const TPointF& APt2, float AOpacity)
{
    DrawLine(APt1, APt2, AOpacity, Stroke());
}

void TVelkGPCanvas::DrawLine(const TPointF& APt1, const TPointF& APt2, float AOpacity, const TVelkGPPen& ABrush)
{
    if (!Draws(ABrush.Kind(), AOpacity))
        return;
    QPainter& painter = Handle();
    const TRectF spanned = MakeRectF(std::min(APt1.X, APt2.X), std::min(APt1.Y, APt2.Y), std::max(APt1.X, APt2.X),
                                     std::max(APt1.Y, APt2.Y));
    const TPrepared<TVelkGPPen> pen(ABrush, spanned, AOpacity);
    QPainterPath line;
    line.moveTo(APt1.X, APt1.Y);
    line.lineTo(APt2.X, APt2.Y);
    pen->Paint(painter, line);
}

void TVelkGPCanvas::DrawLine(const TPoint& APt1, const TPoint& APt2, float AOpacity)
{
    DrawLine(APt1, APt2, AOpacity, Stroke());
}

void TVelkGPCanvas::DrawLine(const TPoint& APt1, const TPoint& APt2, float AOpacity, const TVelkGPPen& ABrush)
{
    DrawLine(PointToPointF(APt1), PointToPointF(APt2), AOpacity, ABrush);
}

} // namespace velk
