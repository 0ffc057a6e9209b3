#pragma once
// Colours and stop lists for the gradient and brush tests.

#include "graphics/gradient.h"

#include <vector>

namespace velk::testing {

inline constexpr TVelkGPColor Black = 0xFF000000;
inline constexpr TVelkGPColor White = 0xFFFFFFFF;
inline constexpr TVelkGPColor Red = 0xFFFF0000;
inline constexpr TVelkGPColor Green = 0xFF00FF00;
inline constexpr TVelkGPColor Blue = 0xFF0000FF;

// Color and Position of each entry become a stop's colour and offset; one change.
inline void SetStops(TVelkGPGradient& Gradient, const std::vector<TVelkGPBlendStop>& Stops)
{
    TVelkGPGradientPoints& points = *Gradient.Points();
    WithinUpdate(points, [&] {
        points.Clear();
        for (const TVelkGPBlendStop& stop : Stops)
            points.Add(stop.Color, stop.Position);
    });
}

} // namespace velk::testing
