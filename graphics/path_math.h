#pragma once
// Point arithmetic and shape sequences shared by the path sources (internal): the path
// data and the backend path. Each arithmetic result is computed in double and rounded
// once to single.

#include "graphics/corners.h"
#include "graphics/geometry.h"

#include <array>

namespace velk::path_math {

inline TPointF Plus(const TPointF& A, const TPointF& B)
{
    return {static_cast<float>(double(A.X) + B.X), static_cast<float>(double(A.Y) + B.Y)};
}

// A + (B - A) * T: T = 2 reflects A through B; T = 2/3 gives a quadratic's cubic control.
inline TPointF Toward(const TPointF& A, const TPointF& B, double T)
{
    return {static_cast<float>(A.X + (double(B.X) - A.X) * T), static_cast<float>(A.Y + (double(B.Y) - A.Y) * T)};
}

// A cubic Bézier: start, two controls, end.
using TCubic = std::array<TPointF, 4>;

// The point at parameter Step / Steps, from the polynomial form a t^3 + b t^2 + c t + P0.
// Step == Steps gives the end point exactly, so flattened curves meet what follows them.
inline TPointF CubicPoint(const TCubic& P, int Step, int Steps)
{
    if (Step == Steps)
        return P[3];
    const double t = double(Step) / Steps;
    const auto at = [t](double p0, double p1, double p2, double p3) {
        const double c = 3 * (p1 - p0);
        const double b = 3 * (p2 - p1) - c;
        const double a = p3 - p0 - c - b;
        return static_cast<float>(((a * t + b) * t + c) * t + p0);
    };
    return {at(P[0].X, P[1].X, P[2].X, P[3].X), at(P[0].Y, P[1].Y, P[2].Y, P[3].Y)};
}

// The matrix that stretches Bounds (not keeping its aspect ratio) onto ARect; Bounds
// must have a non-zero width and height.
inline TMatrix FitMatrix(const TRectF& Bounds, const TRectF& ARect)
{
    const TMatrix toOrigin = CreateTranslationMatrix(-Bounds.Left, -Bounds.Top);
    const TMatrix stretch = CreateScalingMatrix(ARect.Width() / Bounds.Width(), ARect.Height() / Bounds.Height());
    return MatrixMultiply(MatrixMultiply(toOrigin, stretch), CreateTranslationMatrix(ARect.Left, ARect.Top));
}

// The closed outline of a rectangle whose corners in ACorners take ACornerType, as
// calls of Path.MoveTo, LineTo, CurveTo and ClosePath. Radii larger than half the width
// or height are halved to it. Corner controls sit ControlFactor of a radius from the
// corner (the path data uses 1/2; circular corners need 1 - 0.5522847498).
template <typename TPath>
void AddRectangleOutline(TPath& Path, const TRectF& ARect, float XRadius, float YRadius, TVelkCorners ACorners,
                         TVelkCornerType ACornerType, float ControlFactor)
{
    if (ARect.Width() - 2 * XRadius < 0)
        XRadius = ARect.Width() / 2;
    if (ARect.Height() - 2 * YRadius < 0)
        YRadius = ARect.Height() / 2;
    const float l = ARect.Left;
    const float t = ARect.Top;
    const float r = ARect.Right;
    const float b = ARect.Bottom;
    const float xr = XRadius;
    const float yr = YRadius;
    const float x2 = XRadius * ControlFactor;
    const float y2 = YRadius * ControlFactor;

    // A corner runs from the end of one side to the start of the next (clockwise). The
    // inner forms share the controls of the rounded one.
    struct TCornerPoints {
        TPointF Corner, End, Round1, Round2, Inner1, Inner2;
    };
    const auto corner = [&](TVelkCorner C, const TCornerPoints& P) {
        if (!ACorners.Contains(C)) {
            Path.LineTo(P.Corner);
            Path.LineTo(P.End);
            return;
        }
        switch (ACornerType) {
        case ctRound:
            Path.CurveTo(P.Round1, P.Round2, P.End);
            break;
        case ctBevel:
            Path.LineTo(P.End);
            break;
        case ctInnerRound:
            Path.CurveTo(P.Inner1, P.Inner2, P.End);
            break;
        case ctInnerLine:
            Path.LineTo(P.Inner1);
            Path.LineTo(P.Inner2);
            Path.LineTo(P.End);
            break;
        }
    };

    Path.MoveTo({l, t + yr});
    corner(crTopLeft, {{l, t}, {l + xr, t}, {l, t + y2}, {l + x2, t}, {l + x2, t + yr}, {l + xr, t + y2}});
    Path.LineTo({r - xr, t});
    corner(crTopRight, {{r, t}, {r, t + yr}, {r - x2, t}, {r, t + y2}, {r - xr, t + y2}, {r - x2, t + yr}});
    Path.LineTo({r, b - yr});
    corner(crBottomRight, {{r, b}, {r - xr, b}, {r, b - y2}, {r - x2, b}, {r - x2, b - yr}, {r - xr, b - y2}});
    Path.LineTo({l + xr, b});
    corner(crBottomLeft, {{l, b}, {l, b - yr}, {l + x2, b}, {l, b - y2}, {l + xr, b - y2}, {l + x2, b - yr}});
    Path.ClosePath();
}

} // namespace velk::path_math
