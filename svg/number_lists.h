#pragma once
// Number lists as attributes write them ("10,20 30-5"): splitting into number texts,
// and the white-space normalisation of text content.

#include <QString>
#include <QStringList>
#include <QStringView>

namespace velk {

// The separators of every number list: comma, space, tab, line feed, carriage return.
inline constexpr QStringView SVGNumberSeparators = u", \t\n\r";

// Splits Text at every character of Separators, then splits each item before every "+"
// or "-" that is not its first character and does not follow "e" or "E" (so "10-5" gives
// "10" and "-5", "1e-5" stays one number); the items are trimmed and empty ones dropped.
QStringList SVGSplitNumbers(QStringView Text, QStringView Separators = SVGNumberSeparators);

// Runs of blanks collapse to one space and the words are kept; one space stays in front
// when Text begins with a blank and one behind when it ends with one. A text of blanks
// only gives a single space, an empty text an empty one.
QString SVGNormalizeSpaces(QStringView Text);

} // namespace velk
