#pragma once
// The 10-byte x87 extended float of the binary form-file format (vaExtended), little-endian:
// 64-bit mantissa with an explicit integer bit, then sign and 15-bit exponent (bias 16383).
// Converting a double is exact; converting back rounds to the nearest double (ties to
// even) and gives an infinity for values beyond the double range.

#include <array>
#include <cstdint>

namespace velk {

using TExtended80 = std::array<std::uint8_t, 10>;

TExtended80 DoubleToExtended(double Value);
double ExtendedToDouble(const TExtended80& Bytes);

} // namespace velk
