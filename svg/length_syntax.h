#pragma once
// Lengths as text: units, lengths, pixel values, font sizes and length lists read from
// attribute and style texts, and lengths written back. Every reader trims its text
// first; numbers use "." as decimal point and may have an exponent ("1e5", "2.5e-3");
// "Infinity" and "-Infinity" (any case) read as 100000000 and -100000000. Nothing here
// raises: a number that does not parse keeps the length's raw value, or gives the
// caller's Default.
//
// Readers of element attributes pass Min 0 and Max 1, so that a percentage stays a
// fraction (50% is raw 0.5) until the length's OnRange resolves it.

#include "platform/xml/node.h"
#include "svg/length.h"

#include <QString>
#include <QStringView>

namespace velk {

// The unit of a suffix, the last two characters of a value ("" gives suNone): "px",
// "pt", "pc", "mm", "cm", "in", "em", "ex" in any case; suPercent when the suffix ends
// in "%" or is two characters beginning with "%"; suNone otherwise.
TSVGUnit SVGStrToUnit(QStringView Suffix);

// Sets Length's unit (through SetaUnit), raw number and percent flag from Text, without
// mapping percentages: "50%" gives raw 50. An empty text leaves Length unchanged; a
// number that does not parse keeps the raw value.
TSVGLength& SVGStrToLength(QStringView Text, TSVGLength& Length);
// SVGStrToLength, then a percentage whose number parses is mapped into Min..Max:
// raw := Min + (Max - Min) * raw / 100.
TSVGLength& SVGParseLength(QStringView Text, TSVGLength& Length, float Min, float Max);
// The style form: Inherit := (Text is "inherit") or (Inherit and Text is empty); when
// Inherit is set or Text is empty, Length is left unchanged, else SVGParseLength.
TSVGLength& SVGParseStyleLength(QStringView Text, TSVGLength& Length, bool& Inherit, float Min, float Max);

// The number of Text times the factor of its unit (Default when the number does not
// parse); Unit receives the unit found.
float SVGStrToPixels(QStringView Text, TSVGUnit& Unit, const TSVGUnitFactors& UnitFactors, float Default);
// SVGStrToPixels, a percentage v mapped to Min + (Max - Min) * v / 100 (Default when its
// number does not parse).
float SVGParsePixels(QStringView Text, TSVGUnit& Unit, const TSVGUnitFactors& UnitFactors, float Min, float Max,
                     float Default);
// The style form of SVGParsePixels: "inherit" (or an empty text) gives Default.
float SVGParseStylePixels(QStringView Text, bool& Inherit, TSVGUnit& Unit, float Min, float Max,
                          const TSVGUnitFactors& UnitFactors, float Default);

// The font-size property in pixels, style form. "xx-small" to "xx-large" give
// 12 * 1.2^k for k = -3..3 ("medium" is 12); "larger" and "smaller" the parent's size
// times or divided by 1.2; "em", "ex" and percentages are relative to the parent's size
// (1em is ParentFontSize, 1ex half of it, 100% all of it); other numbers go through
// their unit factor. A number that does not parse, "inherit" and an empty text give
// Default. Unit receives the unit found (suNone for keywords).
float SVGParseFontSize(QStringView Text, bool& Inherit, TSVGUnit& Unit, float ParentFontSize,
                       const TSVGUnitFactors& UnitFactors, float Default);

// The items of SVGSplitNumbers(Text) parsed into Lengths with SVGParseLength: items
// beyond the number of texts are removed from the end, existing items are parsed in
// place and missing ones appended (created as TSVGLength(0, false, suNone)).
TSVGLengths& SVGParseLengths(QStringView Text, TSVGLengths& Lengths, float Min, float Max);

// The parsers above applied to the attribute Name of Node. A missing attribute leaves
// the length unchanged and empties the list.
TSVGLength& SVGReadLength(TXMLNode Node, const QString& Name, TSVGLength& Length, float Min = 0, float Max = 1);
TSVGLength& SVGReadStyleLength(TXMLNode Node, const QString& Name, TSVGLength& Length, bool& Inherit,
                               float Min = 0, float Max = 1);
TSVGLengths& SVGReadLengths(TXMLNode Node, const QString& Name, TSVGLengths& Lengths, float Min = 0,
                            float Max = 1);

// Value formatted with FormatStr (FormatFloat), then the unit's suffix ("" for suNone
// and suPixels); a percentage is written as Value * 100 followed by "%".
QString SVGFormatValue(float Value, TSVGUnit Unit, QStringView FormatStr);
// Length.ToString(FormatStr, Min, Max).
QString SVGLengthToStr(const TSVGLength& Length, QStringView FormatStr, float Min = 0, float Max = 1);
// Every item's text (Min 0, Max 1) joined by Separator.
QString SVGLengthsToStr(const TSVGLengths& Lengths, QStringView FormatStr, QStringView Separator = u" ");

} // namespace velk
