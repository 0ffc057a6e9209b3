#include "graphics/gp_color.h"

#include "platform/numbers.h"

#include <algorithm>
#include <cmath>

namespace velk {

TVelkGPColor GrayColor(TVelkGPColor C)
{
    const auto gray = static_cast<std::uint8_t>(
        Round<int>(ColorRed(C) * 0.56 + ColorGreen(C) * 0.33 + ColorBlue(C) * 0.11));
    return MakeColor(ColorAlpha(C), gray, gray, gray);
}

namespace {

std::uint8_t LerpChannel(int A, int B, double T)
{
    // A NaN or a huge T would make the step undefined to convert: it adds nothing.
    const int step = TryFloatToInt<int>(std::clamp((B - A) * T, -255.0, 255.0)).value_or(0);
    return static_cast<std::uint8_t>(std::clamp(A + step, 0, 255));
}

} // namespace

TVelkGPColor LerpColor(TVelkGPColor A, TVelkGPColor B, float T)
{
    return MakeColor(LerpChannel(ColorAlpha(A), ColorAlpha(B), T), LerpChannel(ColorRed(A), ColorRed(B), T),
                     LerpChannel(ColorGreen(A), ColorGreen(B), T), LerpChannel(ColorBlue(A), ColorBlue(B), T));
}

TVelkGPColor ColorWithOpacity(TVelkGPColor C, float Opacity)
{
    if (Opacity >= 1)
        return C;
    if (!(Opacity > 0))
        return C & 0x00FFFFFF;
    const auto alpha = static_cast<std::uint8_t>(Trunc<int>(ColorAlpha(C) * double(Opacity)));
    return (C & 0x00FFFFFF) | TVelkGPColor{alpha} << 24;
}

} // namespace velk
