#include "graphics/bitmap_size.h"

#include "graphics/gp_exception.h"

#include <cmath>

namespace velk {

QSize CheckedBitmapSize(double aWidth, double aHeight)
{
    // !(x > 0) also catches NaN.
    if (!(aWidth > 0) || !(aHeight > 0) || !std::isfinite(aWidth) || !std::isfinite(aHeight))
        throw EGDIPException(gpsInvalidParameter);
    const double width = std::ceil(aWidth);
    const double height = std::ceil(aHeight);
    if (width > MaxBitmapSide || height > MaxBitmapSide || width * height > double(MaxBitmapPixels))
        throw EGDIPException(gpsOutOfMemory);
    return {static_cast<int>(width), static_cast<int>(height)};
}

} // namespace velk
