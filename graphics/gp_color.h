#pragma once
// Colour arithmetic of the drawing backend on TVelkGPColor (32-bit ARGB), and the
// conversions to and from Qt's colours (QRgb has the same layout).

#include "graphics/gp_types.h"

#include <QColor>

namespace velk {

constexpr std::uint8_t ColorAlpha(TVelkGPColor C) noexcept { return static_cast<std::uint8_t>(C >> 24); }
constexpr std::uint8_t ColorRed(TVelkGPColor C) noexcept { return static_cast<std::uint8_t>(C >> 16); }
constexpr std::uint8_t ColorGreen(TVelkGPColor C) noexcept { return static_cast<std::uint8_t>(C >> 8); }
constexpr std::uint8_t ColorBlue(TVelkGPColor C) noexcept { return static_cast<std::uint8_t>(C); }

constexpr TVelkGPColor MakeColor(std::uint8_t A, std::uint8_t R, std::uint8_t G, std::uint8_t B) noexcept
{
    return TVelkGPColor{A} << 24 | TVelkGPColor{R} << 16 | TVelkGPColor{G} << 8 | TVelkGPColor{B};
}

// The grey of the same brightness: round(R·0.56 + G·0.33 + B·0.11), halves to even, in
// all three channels; C's alpha.
TVelkGPColor GrayColor(TVelkGPColor C);

// Per channel (alpha, red, green, blue): A + trunc((B − A)·T), truncated towards zero.
// A T outside 0…1 extrapolates; the channels stay within 0…255.
TVelkGPColor LerpColor(TVelkGPColor A, TVelkGPColor B, float T);

// The colour drawn at Opacity: alpha' = trunc(alpha·Opacity), red, green and blue
// unchanged. Opacity is taken within 0…1 (NaN counts as 0). Brushes, pens and fonts all
// apply opacity through this.
TVelkGPColor ColorWithOpacity(TVelkGPColor C, float Opacity);

// A colour as the 32-bit integer that streams and published properties carry (the same
// bits, so opaque colours read negative); static_cast<TVelkGPColor> turns it back.
constexpr std::int32_t ColorBits(TVelkGPColor C) noexcept
{
    return static_cast<std::int32_t>(C);
}

inline QColor ToQColor(TVelkGPColor C)
{
    return QColor::fromRgba(C);
}
inline TVelkGPColor FromQColor(const QColor& C)
{
    return C.rgba();
}

} // namespace velk
