#pragma once
// The one gate every bitmap size passes before pixels are allocated: creating a bitmap,
// resizing it, decoding a file (with the size its header declares), thumbnails, icons,
// screenshots. A size from a document or a file may be anything; allocating it blindly
// would take the machine's memory or overflow the byte count.

#include <QSize>

namespace velk {

// The largest side of a bitmap, in pixels.
inline constexpr int MaxBitmapSide = 8096;
// The largest pixel count (about 32.8 million, 125 MiB at four bytes per pixel), so that
// a square bitmap of the largest side is refused while a long strip of it is not.
inline constexpr long long MaxBitmapPixels = 8096LL * 8096 / 2;

// The pixel size for aWidth x aHeight, fractions rounded up. NaN, infinities, zero and
// negative sizes raise EGDIPException(gpsInvalidParameter) (callers with a rule for 0
// apply it before); a side beyond MaxBitmapSide or an area beyond MaxBitmapPixels raises
// EGDIPException(gpsOutOfMemory).
QSize CheckedBitmapSize(double aWidth, double aHeight);

} // namespace velk
