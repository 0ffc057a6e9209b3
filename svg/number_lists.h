#pragma once
// Numbers and number lists as attributes write them ("0.5", "10,20 30-5"): single
// numbers in the style form of presentation properties, splitting into number texts,
// number arrays, and the white-space normalisation of text content.

#include "platform/xml/node.h"

#include <QList>
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

// What "Infinity" stands for in numbers and lengths.
inline constexpr float SVGInfinity = 100000000;

// Value := the number Text (trimmed), or +-SVGInfinity for "Infinity" / "-Infinity" in
// any case. False, Value unchanged, for anything else, NaN and out-of-range numbers.
bool SVGTryParseNumber(QStringView Text, float& Value);

// A number in the style form (opacities, pathLength): Inherit := (Text is "inherit") or
// (Inherit and Text is empty); an inherited value or an empty text gives Default.
// Otherwise the trimmed text is a number ("." decimal point, optional exponent), or
// "Infinity" / "-Infinity" in any case, read as 100000000 / -100000000. Anything else,
// NaN and values beyond the float range included, gives Default. Opacities are clamped
// by their receivers, not here.
float SVGParseNumber(QStringView Text, bool& Inherit, float Default);
// stroke-miterlimit: as SVGParseNumber, but "Infinity" is not a number.
float SVGParseMiterLimit(QStringView Text, bool& Inherit, float Default);

// The numbers of SVGSplitNumbers(Text), each read by SVGParseNumber (an "inherit" item
// too gives its default) with the default at the same position of Defaults, 0 beyond
// its end.
QList<float> SVGParseNumbers(QStringView Text, const QList<float>& Defaults = {});
// SVGParseNumbers of the attribute Name; a missing attribute gives an empty list.
QList<float> SVGReadNumbers(TXMLNode Node, const QString& Name, const QList<float>& Defaults = {});

} // namespace velk
