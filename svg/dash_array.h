#pragma once
// The stroke-dasharray property: dash and gap lengths, each with its own unit.

#include "svg/length.h"

#include <QList>
#include <QStringView>

namespace velk {

// Reads a dash array into Values (in pixels), Units and IsPercent (one entry per length
// written, so that the pen can write the list back as it was given). All three lists
// are emptied first.
// - "none" (and an empty text) gives empty lists.
// - Otherwise each item of the number list (SVGSplitNumbers) is read with
//   SVGParsePixels(item, Min, Max, default 0): a percentage maps into Min..Max, an item
//   that does not read counts 0. An odd count of values is repeated once (5 3 2 gives
//   5 3 2 5 3 2); Units and IsPercent are not.
// True when Values is a dash pattern: no value below 0 and at least one above 0 (a zero
// dash still draws its caps). False otherwise: "none" and an empty list (a solid line),
// values that are all 0 (drawn solid), or a negative value (an invalid pattern).
bool SVGParseDashArray(QStringView Text, QList<bool>& IsPercent, QList<TSVGUnit>& Units, QList<float>& Values,
                       float Min, float Max, const TSVGUnitFactors& UnitFactors);

} // namespace velk
