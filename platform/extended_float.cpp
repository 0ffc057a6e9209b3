#include "platform/extended_float.h"

#include <bit>
#include <cmath>
#include <limits>

namespace velk {

namespace {
constexpr int ExtendedBias = 16383;
constexpr int DoubleBias = 1023;
constexpr std::uint16_t ExtendedMaxExponent = 0x7FFF;
constexpr std::uint64_t IntegerBit = std::uint64_t{1} << 63;
constexpr std::uint64_t QuietBit = std::uint64_t{1} << 62;

TExtended80 Pack(bool negative, std::uint16_t exponent, std::uint64_t mantissa)
{
    TExtended80 bytes{};
    for (int i = 0; i < 8; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(mantissa >> (8 * i));
    const std::uint16_t top = static_cast<std::uint16_t>(exponent | (negative ? 0x8000 : 0));
    bytes[8] = static_cast<std::uint8_t>(top);
    bytes[9] = static_cast<std::uint8_t>(top >> 8);
    return bytes;
}

// Mantissa >> shift rounded to nearest, ties to even; shifts of 64 and more are handled.
std::uint64_t ShiftRoundHalfEven(std::uint64_t mantissa, int shift)
{
    if (shift <= 0)
        return mantissa;
    if (shift > 64)
        return 0;
    if (shift == 64) // the result is 0 or 1: above one half rounds up, exactly one half to even (0)
        return mantissa > IntegerBit ? 1 : 0;
    const std::uint64_t kept = mantissa >> shift;
    const std::uint64_t rest = mantissa & ((std::uint64_t{1} << shift) - 1);
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    return rest > half || (rest == half && (kept & 1)) ? kept + 1 : kept;
}
} // namespace

TExtended80 DoubleToExtended(double Value)
{
    const auto bits = std::bit_cast<std::uint64_t>(Value);
    const bool negative = (bits >> 63) != 0;
    const int exponent = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);

    if (exponent == 0x7FF) // infinity, or a NaN kept quiet with its payload
        return Pack(negative, ExtendedMaxExponent, fraction == 0 ? IntegerBit : IntegerBit | QuietBit | (fraction << 11));
    if (exponent == 0) {
        if (fraction == 0)
            return Pack(negative, 0, 0);
        // A denormal double is a normal extended: move its top bit to the integer bit.
        const int shift = std::countl_zero(fraction);
        return Pack(negative, static_cast<std::uint16_t>(ExtendedBias - DoubleBias + 1 - (shift - 11)), fraction << shift);
    }
    return Pack(negative, static_cast<std::uint16_t>(exponent - DoubleBias + ExtendedBias), IntegerBit | (fraction << 11));
}

double ExtendedToDouble(const TExtended80& Bytes)
{
    std::uint64_t mantissa = 0;
    for (int i = 7; i >= 0; --i)
        mantissa = (mantissa << 8) | Bytes[static_cast<std::size_t>(i)];
    const unsigned top = static_cast<unsigned>(Bytes[8]) | (static_cast<unsigned>(Bytes[9]) << 8);
    const bool negative = (top & 0x8000) != 0;
    const int exponent = static_cast<int>(top & ExtendedMaxExponent);
    const double sign = negative ? -1.0 : 1.0;

    if (exponent == ExtendedMaxExponent) {
        if ((mantissa << 1) == 0)
            return sign * std::numeric_limits<double>::infinity();
        return std::copysign(std::numeric_limits<double>::quiet_NaN(), sign);
    }
    if (mantissa == 0)
        return sign * 0.0;

    // The value is mantissa * 2^scale; denormals (exponent 0) use the minimum exponent, and
    // unnormals (integer bit clear) are taken at their face value.
    int scale = (exponent == 0 ? 1 : exponent) - ExtendedBias - 63;
    const int leading = std::countl_zero(mantissa);
    mantissa <<= leading;
    scale -= leading;
    // Now mantissa is in [2^63, 2^64) and the value in [2^(scale+63), 2^(scale+64)).
    const int magnitude = scale + 63;
    constexpr int MinNormal = 1 - DoubleBias; // -1022
    constexpr int MantissaBits = 53;
    const int keep = magnitude >= MinNormal ? MantissaBits : MantissaBits - (MinNormal - magnitude);
    const int shift = 64 - keep;
    const std::uint64_t rounded = ShiftRoundHalfEven(mantissa, shift);
    // rounded has at most 54 bits, so the conversion is exact; ldexp gives infinity on overflow.
    return sign * std::ldexp(static_cast<double>(rounded), scale + shift);
}

} // namespace velk
