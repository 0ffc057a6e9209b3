#pragma once
// The comparison rule of the external conformance corpus: is our rendering of a case
// close enough to the reference picture?
//
// Anti-aliasing differs between rasterisers, so pixels are not compared one by one.
// Both images are composited over white (straight alpha) and a case passes when
//   1. at most 0.1 % of the pixels of either image differ by more than 64 (largest
//      RGB channel difference) from every pixel in the 3×3 neighbourhood of the same
//      position in the other image — checked both ways, the worse direction counts.
//      This ignores anti-aliasing and edges moved by up to one pixel, and catches
//      missing, misplaced or misshaped features;
//   2. at most 2 % of the pixels differ by more than 32 at the same position — this
//      catches a wrong colour or opacity over an area.
// A single per-pixel threshold cannot tell correct anti-aliasing from a missing
// feature, hence the two rules.

#include <QImage>

namespace velk::conformance {

struct TConformanceComparison {
    bool SameSize = false;
    double Rule1Percent = 100; // share of pixels with no close pixel nearby (worse direction)
    double Rule2Percent = 100; // share of pixels off by more than 32 in place
    bool Passed() const;
};

inline constexpr int Rule1Threshold = 64;
inline constexpr double Rule1MaxPercent = 0.1;
inline constexpr int Rule2Threshold = 32;
inline constexpr double Rule2MaxPercent = 2.0;

// Any QImage (palette, grey, with or without alpha) composited over white, as RGB32.
QImage CompositeOverWhite(const QImage& Image);

// Compares two images of any format; images of different sizes fail both rules.
TConformanceComparison CompareConformance(const QImage& Reference, const QImage& Actual);

// Reference | ours | difference, side by side, for a person to look at. In the
// difference panel, red marks pixels failing rule 1 (in either direction), orange those
// failing only rule 2, and the rest shows the reference faded. Images of different
// sizes are shown on a canvas large enough for both, the difference panel left blank.
QImage ConformanceDiffImage(const QImage& Reference, const QImage& Actual);

} // namespace velk::conformance
