// Geometry of TVelkPathData: shapes, bounds, transforms, flattening, the polygon
// approximation with its lengths, hit tests and stroke outlines.

#include "graphics/path_data.h"

#include "graphics/path_math.h"
#include "platform/numbers.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace velk {

namespace {

// The circle constant of a quarter ellipse: 4/3 (sqrt(2) - 1).
constexpr double Kappa = 0.5522847498;
constexpr float MinFlatness = 0.05f;
constexpr float OutlineFlatness = 0.25f;
// Flattening estimates a curve's length from this many samples.
constexpr int LengthSamples = 6;

using path_math::CubicPoint;
using path_math::TCubic;

// The cubic whose first control point is entry I (a curve starts at the entry before
// it, or at (0, 0) at the very start).
TCubic CubicAt(const TVelkPathData& Path, int I)
{
    return {I > 0 ? Path.GetPoint(I - 1).Point : TPointF{}, Path.GetPoint(I).Point, Path.GetPoint(I + 1).Point,
            Path.GetPoint(I + 2).Point};
}

double Distance(const TPointF& A, const TPointF& B)
{
    return std::hypot(double(B.X) - A.X, double(B.Y) - A.Y);
}

// How many evenly spaced samples flattening takes of a curve: its length estimated
// from six samples over Flatness, halves to even, at most MaxFlattenSegments. A count
// of 1 or less means one straight line.
int SampleCount(const TCubic& P, float Flatness)
{
    double length = 0;
    TPointF previous = P[0];
    for (int i = 1; i < LengthSamples; ++i) {
        const TPointF next = CubicPoint(P, i, LengthSamples - 1);
        length += Distance(previous, next);
        previous = next;
    }
    const double count = length / Flatness;
    if (!(count >= 0)) // NaN coordinates
        return 1;
    return Round<int>(std::min(count, double(TVelkPathData::MaxFlattenSegments)));
}

// Calls Emit for the polygon of each subpath, curves sampled by SplinePoints, until
// Emit returns true; returns whether it did. A close repeats the polygon's first point.
// A line or curve that begins a polygon (after a close) begins it at its start point.
template <typename F>
bool ForEachSubpathPolygon(const TVelkPathData& Path, bool BSpline, F&& Emit)
{
    qsizetype budget = Path.FlattenBudget();
    TVelkPoints polygon;
    const auto beginAt = [&](int I) {
        if (polygon.isEmpty() && I > 0)
            polygon.append(Path.GetPoint(I - 1).Point);
    };
    for (int i = 0; i < Path.Count(); ++i) {
        const TVelkPathPoint& e = Path.GetPoint(i);
        switch (e.Kind) {
        case ppMoveTo:
            if (!polygon.isEmpty() && Emit(polygon))
                return true;
            polygon = {e.Point};
            break;
        case ppLineTo:
            beginAt(i);
            polygon.append(e.Point);
            break;
        case ppCurveTo: {
            beginAt(i);
            const TCubic cubic = CubicAt(Path, i);
            if (budget > 0) {
                const TVelkPoints samples = SplinePoints(TVelkPoints(cubic.begin(), cubic.end()), BSpline, 1);
                budget -= samples.size();
                polygon.append(samples);
            } else {
                polygon.append(cubic[3]);
            }
            i += 2;
            break;
        }
        case ppClose:
            if (!polygon.isEmpty()) {
                polygon.append(polygon.first());
                if (Emit(polygon))
                    return true;
                polygon.clear();
            }
            break;
        }
    }
    return !polygon.isEmpty() && Emit(polygon);
}

// The rectangle of half width H around the segment A -> B (nothing when A equals B).
bool SegmentRectangle(const TPointF& A, const TPointF& B, double H, std::array<TPointF, 4>& Corners)
{
    if (A == B)
        return false;
    const double length = Distance(A, B);
    const double nx = H * (double(B.Y) - A.Y) / length;
    const double ny = -H * (double(B.X) - A.X) / length;
    const auto offset = [](const TPointF& P, double X, double Y) {
        return TPointF{static_cast<float>(P.X + X), static_cast<float>(P.Y + Y)};
    };
    Corners = {offset(A, nx, ny), offset(A, -nx, -ny), offset(B, -nx, -ny), offset(B, nx, ny)};
    return true;
}

// Calls Segment(A, B) for every straight segment of a flattened path, a close giving
// the segment to its point and the one from there to the subpath start, until Segment
// returns true; returns whether it did.
template <typename F>
bool ForEachSegment(const TVelkPathData& Flat, F&& Segment)
{
    TPointF start;
    TPointF previous;
    for (int i = 0; i < Flat.Count(); ++i) {
        const TVelkPathPoint& e = Flat.GetPoint(i);
        switch (e.Kind) {
        case ppMoveTo:
            start = e.Point;
            break;
        case ppLineTo:
            if (Segment(previous, e.Point))
                return true;
            break;
        case ppClose:
            if (Segment(previous, e.Point) || Segment(e.Point, start))
                return true;
            break;
        case ppCurveTo: // flattened away
            break;
        }
        previous = e.Point;
    }
    return false;
}

} // namespace

// --- Shapes ---

void TVelkPathData::AddPolygon(const TCanvasPoints& Poly)
{
    if (Poly.isEmpty())
        return;
    WithinUpdate(*this, [&] {
        MoveTo(PointToPointF(Poly.first()));
        for (qsizetype i = 1; i < Poly.size(); ++i)
            LineTo(PointToPointF(Poly[i]));
        if (Poly.last() == Poly.first())
            ClosePath();
    });
}

void TVelkPathData::AddPolygon(const TVelkPoints& Poly)
{
    if (Poly.isEmpty())
        return;
    WithinUpdate(*this, [&] {
        MoveTo(Poly.first());
        for (qsizetype i = 1; i < Poly.size() - 1; ++i)
            LineTo(Poly[i]);
        if (Poly.last() == Poly.first())
            ClosePath();
        else
            LineTo(Poly.last());
    });
}

void TVelkPathData::AddPolygons(const TPointPolygons& Polys)
{
    WithinUpdate(*this, [&] {
        for (const TCanvasPoints& poly : Polys)
            AddPolygon(poly);
    });
}

void TVelkPathData::AddPolygons(const TVelkPolygons& Polys)
{
    WithinUpdate(*this, [&] {
        for (const TVelkPoints& poly : Polys)
            AddPolygon(poly);
    });
}

void TVelkPathData::AddEllipse(const TRectF& ARect)
{
    const double cx = ARect.Left + (double(ARect.Right) - ARect.Left) / 2;
    const double cy = ARect.Top + (double(ARect.Bottom) - ARect.Top) / 2;
    const double kx = (double(ARect.Right) - ARect.Left) / 2 * Kappa;
    const double ky = (double(ARect.Bottom) - ARect.Top) / 2 * Kappa;
    const auto pt = [](double X, double Y) { return TPointF{static_cast<float>(X), static_cast<float>(Y)}; };
    const float l = ARect.Left;
    const float t = ARect.Top;
    const float r = ARect.Right;
    const float b = ARect.Bottom;
    WithinUpdate(*this, [&] {
        MoveTo(pt(l, cy));
        CurveTo(pt(l, cy - ky), pt(cx - kx, t), pt(cx, t));
        CurveTo(pt(cx + kx, t), pt(r, cy - ky), pt(r, cy));
        CurveTo(pt(r, cy + ky), pt(cx + kx, b), pt(cx, b));
        CurveTo(pt(cx - kx, b), pt(l, cy + ky), pt(l, cy));
    });
}

void TVelkPathData::AddRectangle(const TRectF& ARect, float XRadius, float YRadius, TVelkCorners ACorners,
                                 TVelkCornerType ACornerType)
{
    // Corner controls at half the radius.
    WithinUpdate(*this, [&] {
        path_math::AddRectangleOutline(*this, ARect, XRadius, YRadius, ACorners, ACornerType, 0.5f);
    });
}

// --- Bounds and transforms ---

TRectF TVelkPathData::GetBounds() const
{
    if (FPathData.empty())
        return {};
    if (!FRecalcBounds)
        return FBounds;
    bool any = false;
    TRectF bounds;
    for (const TVelkPathPoint& e : FPathData) {
        if (e.Kind == ppClose)
            continue;
        if (!any) {
            bounds = {e.Point.X, e.Point.Y, e.Point.X, e.Point.Y};
            any = true;
            continue;
        }
        bounds.Left = std::min(bounds.Left, e.Point.X);
        bounds.Top = std::min(bounds.Top, e.Point.Y);
        bounds.Right = std::max(bounds.Right, e.Point.X);
        bounds.Bottom = std::max(bounds.Bottom, e.Point.Y);
    }
    if (any) {
        if (bounds.Width() == 0)
            bounds.Right = bounds.Left + 0.001f;
        if (bounds.Height() == 0)
            bounds.Bottom = bounds.Top + 0.001f;
    }
    FBounds = bounds;
    FRecalcBounds = false;
    return FBounds;
}

bool TVelkPathData::IsEmpty() const
{
    if (FPathData.empty())
        return true;
    const TRectF bounds = GetBounds();
    return bounds.Width() * bounds.Height() == 0;
}

template <typename F>
void TVelkPathData::TransformPoints(F&& Transform)
{
    if (FPathData.empty())
        return;
    // Close entries too: their point is the current point after closing.
    for (TVelkPathPoint& e : FPathData)
        Transform(e.Point);
    Transform(FStartPoint);
    DoChanged();
}

void TVelkPathData::Scale(float ScaleX, float ScaleY)
{
    TransformPoints([=](TPointF& P) {
        P.X *= ScaleX;
        P.Y *= ScaleY;
    });
}

void TVelkPathData::Translate(float DX, float DY)
{
    TransformPoints([=](TPointF& P) {
        P.X += DX;
        P.Y += DY;
    });
}

void TVelkPathData::ApplyMatrix(const TMatrix& M)
{
    TransformPoints([&](TPointF& P) { P = PointTimesMatrix(P, M); });
}

void TVelkPathData::FitToRect(const TRectF& ARect)
{
    const TRectF bounds = GetBounds();
    if (bounds.Width() == 0 || bounds.Height() == 0)
        return;
    ApplyMatrix(path_math::FitMatrix(bounds, ARect));
}

// --- Flattening ---

int TVelkPathData::FlattenBudget() const
{
    return int(std::clamp<qsizetype>(qsizetype(FPathData.size()) * FlattenPointsPerEntry, MinFlattenBudget,
                                      std::numeric_limits<int>::max()));
}

void TVelkPathData::Flatten(float Flatness)
{
    if (FPathData.empty())
        return;
    if (!(Flatness >= MinFlatness))
        Flatness = MinFlatness;
    int budget = FlattenBudget();
    TVelkPathData source;
    source.FPathData.swap(FPathData);
    FStartPoint = {};
    WithinUpdate(*this, [&] {
        FPathData.reserve(source.FPathData.size());
        for (int i = 0; i < source.Count(); ++i) {
            const TVelkPathPoint& e = source.GetPoint(i);
            switch (e.Kind) {
            case ppMoveTo:
                MoveTo(e.Point);
                break;
            case ppLineTo:
                LineTo(e.Point);
                break;
            case ppClose:
                ClosePath();
                break;
            case ppCurveTo: {
                const TCubic cubic = CubicAt(source, i);
                const int count = std::min(SampleCount(cubic, Flatness), budget);
                if (count > 1) {
                    budget -= count;
                    for (int step = 0; step < count; ++step)
                        LineTo(CubicPoint(cubic, step, count - 1));
                } else {
                    LineTo(cubic[3]);
                }
                i += 2;
                break;
            }
            }
        }
    });
}

TPointF TVelkPathData::FlattenToPolygon(TVelkPoints& Polygon, float Flatness) const
{
    Polygon.clear();
    if (!(Flatness >= MinFlatness))
        Flatness = MinFlatness;
    const auto append = [&](const TPointF& P) {
        if (!Polygon.isEmpty() && std::fabs(Polygon.last().X - P.X) <= Epsilon
            && std::fabs(Polygon.last().Y - P.Y) <= Epsilon)
            return;
        Polygon.append(P);
    };
    int budget = FlattenBudget();
    TPointF start;
    for (int i = 0; i < Count(); ++i) {
        const TVelkPathPoint& e = GetPoint(i);
        switch (e.Kind) {
        case ppMoveTo:
            if (!Polygon.isEmpty())
                append(PolygonSeparator);
            append(e.Point);
            start = e.Point;
            break;
        case ppLineTo:
            append(e.Point);
            break;
        case ppCurveTo: {
            const TCubic cubic = CubicAt(*this, i);
            const int count = std::min(SampleCount(cubic, Flatness), budget);
            if (count > 1) {
                budget -= count;
                for (int step = 0; step < count; ++step)
                    append(CubicPoint(cubic, step, count - 1));
            } else {
                append(cubic[0]);
                append(cubic[3]);
            }
            i += 2;
            break;
        }
        case ppClose:
            append(start);
            append(PolygonSeparator);
            break;
        }
    }
    const TRectF bounds = GetBounds();
    return {std::fabs(bounds.Width()), std::fabs(bounds.Height())};
}

// --- Polygons and lengths ---

const TVelkPolygons& TVelkPathData::ToPolygons() const
{
    if (!FPolygonsValid) {
        TVelkPolygons polygons;
        ForEachSubpathPolygon(*this, false, [&](const TVelkPoints& Polygon) {
            polygons.append(Polygon);
            return false;
        });
        FPolygons = std::move(polygons);
        FPolygonsValid = true;
    }
    return FPolygons;
}

void TVelkPathData::Measure() const
{
    if (FLengthValid)
        return;
    TVelkDistances distances;
    double total = 0;
    for (const TVelkPoints& polygon : ToPolygons()) {
        QList<float> running;
        running.reserve(polygon.size());
        for (qsizetype j = 0; j < polygon.size(); ++j) {
            if (j > 0)
                total += Distance(polygon[j - 1], polygon[j]);
            running.append(static_cast<float>(total));
        }
        distances.append(std::move(running));
    }
    FDistances = std::move(distances);
    FLength = total;
    FLengthValid = true;
}

double TVelkPathData::GetLength() const
{
    Measure();
    return FLength;
}

const TVelkDistances& TVelkPathData::GetDistances() const
{
    Measure();
    return FDistances;
}

// --- Hit tests and outlines ---

bool TVelkPathData::PointInPath(const TPointF& P) const
{
    return PointInPath(P.X, P.Y);
}

bool TVelkPathData::PointInPath(float X, float Y) const
{
    return ForEachSubpathPolygon(*this, true,
                                 [&](const TVelkPoints& Polygon) { return PointInPolygonF(Polygon, X, Y); });
}

bool TVelkPathData::PointInPathOutline(const TPointF& P, float StrokeWidth) const
{
    return PointInPathOutline(P.X, P.Y, StrokeWidth);
}

bool TVelkPathData::PointInPathOutline(float X, float Y, float StrokeWidth) const
{
    if (Count() < 2)
        return false;
    TVelkPathData flat;
    flat.FPathData = FPathData;
    flat.Flatten(OutlineFlatness);
    TVelkPoints rectangle;
    std::array<TPointF, 4> corners;
    return ForEachSegment(flat, [&](const TPointF& A, const TPointF& B) {
        if (!SegmentRectangle(A, B, StrokeWidth / 2.0, corners))
            return false;
        rectangle = TVelkPoints(corners.begin(), corners.end());
        return PointInPolygonF(rectangle, X, Y);
    });
}

void TVelkPathData::AddPathOutline(const TVelkPathData& P, float StrokeWidth)
{
    if (P.Count() < 2)
        return;
    TVelkPathData flat;
    flat.FPathData = P.FPathData;
    flat.Flatten(OutlineFlatness);
    WithinUpdate(*this, [&] {
        std::array<TPointF, 4> corners;
        ForEachSegment(flat, [&](const TPointF& A, const TPointF& B) {
            if (SegmentRectangle(A, B, StrokeWidth / 2.0, corners)) {
                MoveTo(corners[0]);
                LineTo(corners[1]);
                LineTo(corners[2]);
                LineTo(corners[3]);
                ClosePath();
            }
            return false;
        });
    });
}

} // namespace velk
