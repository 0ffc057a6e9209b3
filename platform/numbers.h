#pragma once
// Float to integer conversion. In C++ converting NaN, an infinity or a value outside
// the target's range is undefined behaviour; every such conversion in the library
// goes through FloatToInt, which raises instead.

#include <cmath>
#include <concepts>
#include <cstdint>
#include <limits>
#include <optional>

namespace velk {

// The integer part of v (truncated toward zero), or nothing for NaN, infinities and
// values whose integer part does not fit I.
template <std::integral I>
std::optional<I> TryFloatToInt(double v)
{
    if (!std::isfinite(v))
        return std::nullopt;
    const double t = std::trunc(v);
    // 2^digits is exact in a double, so the comparisons below are exact.
    const double limit = std::ldexp(1.0, std::numeric_limits<I>::digits);
    const double lowest = std::numeric_limits<I>::is_signed ? -limit : 0.0;
    if (t >= limit || t < lowest)
        return std::nullopt;
    return static_cast<I>(t);
}

namespace detail {
[[noreturn]] void RaiseInvalidFloatOperation();
}

// As TryFloatToInt; raises EInvalidOp "Invalid floating point operation" instead of
// returning nothing.
template <std::integral I>
I FloatToInt(double v)
{
    if (const std::optional<I> result = TryFloatToInt<I>(v))
        return *result;
    detail::RaiseInvalidFloatOperation();
}

// Rounds to the nearest integer, halves to the even neighbour: Round(2.5) = 2,
// Round(3.5) = 4, Round(-2.5) = -2.
template <std::integral I = std::int64_t>
I Round(double v)
{
    return FloatToInt<I>(std::nearbyint(v));
}

// The integer part, toward zero.
template <std::integral I = std::int64_t>
I Trunc(double v)
{
    return FloatToInt<I>(v);
}

} // namespace velk
