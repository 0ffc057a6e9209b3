#include "svg/device_geometry.h"

#include <cmath>

namespace velk {

bool SVGToDeviceSpace(TVelkGPPath& Path, TSVGFillRule Rule, const TMatrix& M)
{
    if (Rule == frNonZero)
        Path.SetFillMode(fmNonZero);
    else if (Rule == frEvenOdd)
        Path.SetFillMode(fmEvenOdd);
    Path.ApplyMatrix(M);
    for (const TPointF& p : Path.Values())
        if (!std::isfinite(p.X) || !std::isfinite(p.Y))
            return false;
    return true;
}

} // namespace velk
