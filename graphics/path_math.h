#pragma once
// Point arithmetic of the path sources (internal). Each result is computed in double
// and rounded once to single.

#include "graphics/geometry.h"

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

} // namespace velk::path_math
