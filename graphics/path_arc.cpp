// Elliptical arcs as cubic Béziers: AddArc (centre, radii, angles) and SVGArcTo (the
// SVG end-point form, converted to the centre form first).

#include "graphics/path_data.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velk {

namespace {

constexpr double Pi = std::numbers::pi;
// Whole turns are taken off start angles with the single-precision value of pi.
constexpr double SinglePi = static_cast<double>(3.1415927f);
// A sweep may overshoot a quarter turn by this much (0.57°) before it takes two cubics.
constexpr double QuarterSlack = 0.01;

// Two end points are the same when each coordinate pair differs by at most a
// millionth or so of the larger magnitude.
bool SameCoordinate(float A, float B)
{
    double tolerance = std::max(std::fabs(double(A)), std::fabs(double(B))) * 1.25e-6;
    if (tolerance == 0)
        tolerance = 6.25e-37;
    return std::fabs(double(A) - B) <= tolerance;
}

} // namespace

// Rotation and translation that place an arc computed around the origin.
struct TVelkPathData::TArcPlacement {
    double Cos = 1;
    double Sin = 0;
    double X = 0;
    double Y = 0;

    TPointF Place(double x, double y) const
    {
        return {static_cast<float>(x * Cos - y * Sin + X), static_cast<float>(x * Sin + y * Cos + Y)};
    }
};

void TVelkPathData::AddArc(const TPointF& Center, const TPointF& Radius, float StartAngle, float SweepAngle)
{
    double start = StartAngle * Pi / 180;
    start -= 2 * SinglePi * std::trunc(start / (2 * SinglePi));
    const double sweep = std::clamp(SweepAngle * Pi / 180, -2 * Pi, 2 * Pi);
    const std::size_t before = FPathData.size();
    AddArcSegments(Radius.X, Radius.Y, start, sweep, {1, 0, Center.X, Center.Y}, true);
    if (FPathData.size() > before)
        DoChanged();
}

void TVelkPathData::AddArcSegments(double Rx, double Ry, double Start, double Sweep, const TArcPlacement& Placement,
                                   bool Connect)
{
    if (!(std::fabs(Sweep) >= 1e-10)) // NaN too
        return;
    double done = 0;
    bool last = false;
    bool first = true;
    while (!last) {
        double segment = Sweep - done;
        if (Sweep > 0 && Sweep - QuarterSlack > done + Pi / 2)
            segment = Pi / 2;
        else if (Sweep < 0 && Sweep + QuarterSlack < done - Pi / 2)
            segment = -Pi / 2;
        else
            last = true;

        // The cubic of the unit-circle arc from -h to h (symmetric about +X), turned
        // to start at the segment's angle and scaled onto the ellipse.
        const double h = segment / 2;
        const double cosH = std::cos(h);
        const double sinH = std::sin(h);
        const double k = (1 - cosH) * 4 / 3;
        const double w = sinH - cosH * k / sinH;
        const double turn = Start + done + h;
        const double cosT = std::cos(turn);
        const double sinT = std::sin(turn);
        const auto map = [&](double x, double y) {
            return Placement.Place(Rx * (x * cosT - y * sinT), Ry * (x * sinT + y * cosT));
        };
        if (first && Connect) {
            const TPointF p0 = map(cosH, -sinH);
            if (FPathData.empty()) {
                Add(ppMoveTo, p0);
                FStartPoint = p0;
            } else {
                Add(ppLineTo, p0);
            }
        }
        AddCurve(map(cosH + k, -w), map(cosH + k, w), map(cosH, sinH));
        done += segment;
        first = false;
    }
}

void TVelkPathData::SVGArcTo(const TPointF& P1, const TPointF& Radii, const TPointF& P2, bool Sweep, bool LargeArc,
                             float Rotation)
{
    if (SameCoordinate(P1.X, P2.X) && SameCoordinate(P1.Y, P2.Y)) {
        // A full ellipse whose lowest point is P1.
        AddEllipse(MakeRectF(P1.X - Radii.X, P1.Y - 2 * Radii.Y, P1.X + Radii.X, P1.Y));
        return;
    }
    double rx = std::fabs(double(Radii.X));
    double ry = std::fabs(double(Radii.Y));
    if (!(rx > 0 && ry > 0 && std::isfinite(rx) && std::isfinite(ry))) {
        // SVG: an arc with a zero radius is a straight line (the centre form divides by it).
        LineTo(P2);
        return;
    }
    const double phi = Rotation * Pi / 180;
    const double cosPhi = std::cos(phi);
    const double sinPhi = std::sin(phi);

    // P1 in the ellipse's own axes, relative to the chord's midpoint.
    const double dx = (double(P1.X) - P2.X) / 2;
    const double dy = (double(P1.Y) - P2.Y) / 2;
    const double x1 = cosPhi * dx + sinPhi * dy;
    const double y1 = -sinPhi * dx + cosPhi * dy;

    // Radii too small to reach P2 grow until they just do.
    const double lambda = x1 * x1 / (rx * rx) + y1 * y1 / (ry * ry);
    if (lambda > 1) {
        rx *= std::sqrt(lambda);
        ry *= std::sqrt(lambda);
    }

    const double rx2 = rx * rx;
    const double ry2 = ry * ry;
    const double denominator = rx2 * y1 * y1 + ry2 * x1 * x1;
    const double sign = Sweep == LargeArc ? -1 : 1;
    const double k = sign * std::sqrt(std::max(0.0, (rx2 * ry2 - denominator) / denominator));
    const double cx1 = k * rx * y1 / ry;
    const double cy1 = -k * ry * x1 / rx;
    const double cx = cosPhi * cx1 - sinPhi * cy1 + (double(P1.X) + P2.X) / 2;
    const double cy = sinPhi * cx1 + cosPhi * cy1 + (double(P1.Y) + P2.Y) / 2;

    // Start angle and sweep on the unit circle.
    const double ux = (x1 - cx1) / rx;
    const double uy = (y1 - cy1) / ry;
    const double vx = (-x1 - cx1) / rx;
    const double vy = (-y1 - cy1) / ry;
    const double uLength = std::hypot(ux, uy);
    double theta1 = std::acos(std::clamp(ux / uLength, -1.0, 1.0));
    if (uy < 0)
        theta1 = -theta1;
    double delta = std::acos(std::clamp((ux * vx + uy * vy) / (uLength * std::hypot(vx, vy)), -1.0, 1.0));
    if (ux * vy - uy * vx < 0)
        delta = -delta;
    if (!Sweep && delta > 0)
        delta -= 2 * Pi;
    else if (Sweep && delta < 0)
        delta += 2 * Pi;

    const std::size_t before = FPathData.size();
    AddArcSegments(rx, ry, theta1, delta, {cosPhi, sinPhi, cx, cy}, false);
    // The arc ends at P2 exactly, so that relative commands after it do not drift. A
    // sweep lost to rounding (a chord tiny against the radii) leaves the chord itself.
    if (FPathData.size() > before)
        FPathData.back().Point = P2;
    else
        Add(ppLineTo, P2);
    DoChanged();
}

} // namespace velk
