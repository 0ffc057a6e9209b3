#pragma once
// The clip property: "auto" or "rect(top right bottom left)".

#include "graphics/geometry.h"
#include "svg/length.h"

#include <QStringView>

namespace velk {

// Style form: Inherit := (Text is "inherit") or (Inherit and Text is empty); then an
// inherited value or an empty text gives Current. "auto" gives the empty rectangle. A
// text beginning with "rect(" (any case) and ending with ")" gives the rectangle with
// Top, Right, Bottom and Left from the items inside, in that order, separated by blanks
// or commas ("rect(1px, 2px, 3px, 4px)" and "rect(1px 2px 3px 4px)"); each item is a
// pixel text with its unit (SVGStrToPixels); an item that does not read ("auto"
// included) and a missing one give 0, items after the fourth are ignored. Any other
// text gives Current.
TRectF SVGParseClip(QStringView Text, const TRectF& Current, bool& Inherit, const TSVGUnitFactors& UnitFactors);

} // namespace velk
