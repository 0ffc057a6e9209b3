#pragma once
// The 53 hatch patterns of the classic 2-D API as 8×8 monochrome tiles. Qt's own brush
// patterns cover only a handful, so hatch brushes tile these instead. Each pattern is
// drawn from what its name describes: line spacings of 8, 4 and 2 pixels ("light" lines
// at half the spacing, "narrow" at a quarter, "dark" at half the spacing and twice the
// width, "wide" at full spacing and three times the width), percentage greys as ordered
// dithers with round(percent·64/100) pixels set, and small pictures for the rest.

#include "graphics/gp_types.h"

#include <QImage>

#include <array>
#include <cstdint>

namespace velk {

// Rows from top to bottom; bit 7 of a row is its leftmost pixel. A set bit is foreground.
using THatchPattern = std::array<std::uint8_t, 8>;

const THatchPattern& HatchPattern(TVelkGPHatchStyle Style);
// True where the pattern shows the foreground colour at (X, Y); the tile repeats in
// both directions, so any coordinates are taken modulo 8.
bool HatchPixel(TVelkGPHatchStyle Style, int X, int Y);
// The 8×8 tile, ForeColor on BackColor, in QImage::Format_ARGB32_Premultiplied.
QImage HatchImage(TVelkGPHatchStyle Style, TVelkGPColor ForeColor, TVelkGPColor BackColor);

} // namespace velk
