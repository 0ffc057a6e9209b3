#pragma once
// Angles as attributes write them: a marker's orient ("45", "0.5 rad", "auto") and the
// glyph orientations ("90", "90deg"). Nothing here raises: a text that is not an angle
// gives the caller's default or the "none" value.

#include "svg/keywords.h"

#include <QString>
#include <QStringView>

namespace velk {

// The angle of Text in radians. "auto" sets Automatic and gives Default; any other text
// clears Automatic. The text is split at blanks: the first word is the number (Default
// when it is not one), an optional second word its unit, "grad" or "rad" in any case,
// anything else meaning degrees. A unit joined to the number ("45deg") is not a number
// and gives Default.
float SVGParseAngle(QStringView Text, bool& Automatic, float Default);

// glyph-orientation-horizontal: a number of degrees with an optional "deg" (any case),
// rounded to the nearest multiple of 90 (halves to even); 0, 90, 180 and 270 give their
// values, anything else (360, -90, a text that is not a number) gives ohNone.
TSVGGlyphOrientationHorizontal SVGParseGlyphOrientationHorizontal(QStringView Text);
// glyph-orientation-vertical: "auto" gives ovAuto, the rest as the horizontal form.
TSVGGlyphOrientationVertical SVGParseGlyphOrientationVertical(QStringView Text);

// The texts written back: "0deg", "90deg", "180deg", "270deg", "auto"; "" for the none
// values.
QString SVGGlyphOrientationToStr(TSVGGlyphOrientationHorizontal Value);
QString SVGGlyphOrientationToStr(TSVGGlyphOrientationVertical Value);

} // namespace velk
