#pragma once
// Keyword enumerations of SVG attributes and properties, and the lookup between their
// keywords and values. Ordinal 0 of every keyword enumeration means "nothing given"
// (srnNone): it has no keyword, and every text that is not in a table reads as it.
//
//   SVGParseKeyword<TSVGShapeRendering>(u"crispEdges")   // srnCrispEdges
//   SVGParseKeyword(u"bogus", srnAuto)                   // srnAuto (the default)
//   SVGKeywordToStr(srnCrispEdges)                       // "crispEdges"
//
// A new keyword enumeration specialises EnumNames (its value names) and SVGKeywords
// (its keywords, "" at ordinal 0) and gets both directions of the lookup.

#include "platform/enum_names.h"
#include "svg/trim.h"

#include <QString>
#include <QStringView>
#include <array>
#include <span>
#include <string_view>
#include <type_traits>

namespace velk {

// preserveAspectRatio alignment; saNone is SVG's "none".
enum TSVGAlign {
    saNone,
    saXMinYMin,
    saXMidYMin,
    saXMaxYMin,
    saXMinYMid,
    saXMidYMid,
    saXMaxYMid,
    saXMinYMax,
    saXMidYMax,
    saXMaxYMax
};

// shape-rendering
enum TSVGShapeRendering { srnNone, srnAuto, srnOptimizeSpeed, srnCrispEdges, srnGeometricPrecision };

// color-rendering
enum TSVGColorRendering { clrnNone, clrnAuto, clrnOptimizeSpeed, clrnOptimizeQuality };

// text-rendering
enum TSVGTextRendering { txrnNone, txrnAuto, txrnOptimizeSpeed, txrnOptimizeLegibility, txrnGeometricPrecision };

// color-interpolation
enum TSVGColorInterpolation { sciNone, sciAuto, sciSRGB, sciLinearRGB };

// alignment-baseline
enum TSVGAlignmentBaseline {
    abNone,
    abAuto,
    abBaseline,
    abBeforeEdge,
    abTextBeforeEdge,
    abMiddle,
    abCentral,
    abAfterEdge,
    abTextAfterEdge,
    abIdeographic,
    abAlphabetic,
    abHanging,
    abMathematica // "mathematical"; the value name has always been spelled so
};

// baseline-shift; bsPercentage and bsLength carry a length (TSVGBaselineShiftLength).
enum TSVGBaselineShift { bsNone, bsBaseline, bsSubscript, bsSuperscript, bsPercentage, bsLength };

// dominant-baseline
enum TSVGDominantBaseline {
    dbNone,
    dbAuto,
    dbUseScript,
    dbNoChange,
    dbResetSize,
    dbIdeographic,
    dbAlphabetic,
    dbHanging,
    dbMathematical,
    dbCentral,
    dbMiddle,
    dbTextAfterEdge,
    dbTextBeforeEdge
};

// method and spacing of textPath
enum TSVGTextPathMethod { tpmNone, tpmAlign, tpmStretch };
enum TSVGTextPathSpacing { tpsNone, tpsExact, tpsAuto };

// direction
enum TSVGDirection { dirNone, dirLeftToRight, dirRightToLeft };

// writing-mode
enum TSVGWritingMode {
    wmNone,
    wmLeftRight_TopBottom,
    wmRightLeft_TopBottom,
    wmTopBottom_RightLeft,
    wmLeftRight,
    wmRightLeft,
    wmTopBottom
};

// glyph-orientation-vertical and glyph-orientation-horizontal. They are angles rather
// than keywords: svg/angle.h reads and writes them.
enum TSVGGlyphOrientationVertical { ovNone, ovAuto, ov0Deg, ov90Deg, ov180Deg, ov270Deg };
enum TSVGGlyphOrientationHorizontal { ohNone, oh0Deg, oh90Deg, oh180Deg, oh270Deg };

// fill-rule and clip-rule
enum TSVGFillRule { frNone, frNonZero, frEvenOdd };

// vector-effect
enum TSVGVectorEffect { veNone, veNonScalingStroke };

// markerUnits
enum TSVGMarkerUnit { muNone, muStrokeWidth, muUserSpaceOnUse };

// gradientUnits, patternUnits, patternContentUnits
enum TSVGCoordinateSystemUnit { csuNone, csuObjectBoundingBox, csuUserSpaceOnUse };

// spreadMethod
enum TSVGGradientSpread { gsNone, gsPad, gsReflect, gsRepeat };

// font-weight
enum TSVGFontWeight {
    fwNone,
    fwNormal,
    fwBold,
    fwBolder,
    fwLighter,
    fw100,
    fw200,
    fw300,
    fw400,
    fw500,
    fw600,
    fw700,
    fw800,
    fw900
};

// font-variant
enum TSVGFontVariant { fvNone, fvNormal, fvSmallCaps, fvUpperCase, fvLowerCase, fvTitleCase };

// The keywords of a keyword enumeration in ordinal order, "" at ordinal 0.
template <typename E>
struct SVGKeywords; // specialised per enumeration

template <typename E>
concept KeywordEnum = std::is_enum_v<E> && requires { SVGKeywords<E>::Keywords; };

// The ordinal (1 and up) of the keyword Text in Keywords, compared exactly after
// trimming Text of blanks; 0 when it is not there.
int SVGKeywordIndex(std::span<const std::u16string_view> Keywords, QStringView Text);

// The value whose keyword is Text (trimmed, exact case), or Default.
template <KeywordEnum E>
E SVGParseKeyword(QStringView Text, E Default = static_cast<E>(0))
{
    const int index = SVGKeywordIndex(SVGKeywords<E>::Keywords, Text);
    return index > 0 ? static_cast<E>(index) : Default;
}

// The keyword of Value; empty for ordinal 0 and for values outside the table.
template <KeywordEnum E>
QString SVGKeywordToStr(E Value)
{
    const auto ordinal = static_cast<long long>(Value);
    if (ordinal <= 0 || ordinal >= static_cast<long long>(SVGKeywords<E>::Keywords.size()))
        return {};
    return NameText(SVGKeywords<E>::Keywords[static_cast<std::size_t>(ordinal)]);
}

template <>
struct EnumNames<TSVGAlign> {
    static constexpr std::array<std::u16string_view, 10> Names{
        u"saNone",     u"saXMinYMin", u"saXMidYMin", u"saXMaxYMin", u"saXMinYMid",
        u"saXMidYMid", u"saXMaxYMid", u"saXMinYMax", u"saXMidYMax", u"saXMaxYMax"};
};
template <>
struct SVGKeywords<TSVGAlign> {
    static constexpr std::array<std::u16string_view, 10> Keywords{
        u"",         u"xMinYMin", u"xMidYMin", u"xMaxYMin", u"xMinYMid",
        u"xMidYMid", u"xMaxYMid", u"xMinYMax", u"xMidYMax", u"xMaxYMax"};
};

template <>
struct EnumNames<TSVGShapeRendering> {
    static constexpr std::array<std::u16string_view, 5> Names{
        u"srnNone", u"srnAuto", u"srnOptimizeSpeed", u"srnCrispEdges", u"srnGeometricPrecision"};
};
template <>
struct SVGKeywords<TSVGShapeRendering> {
    static constexpr std::array<std::u16string_view, 5> Keywords{
        u"", u"auto", u"optimizeSpeed", u"crispEdges", u"geometricPrecision"};
};

template <>
struct EnumNames<TSVGColorRendering> {
    static constexpr std::array<std::u16string_view, 4> Names{
        u"clrnNone", u"clrnAuto", u"clrnOptimizeSpeed", u"clrnOptimizeQuality"};
};
template <>
struct SVGKeywords<TSVGColorRendering> {
    static constexpr std::array<std::u16string_view, 4> Keywords{u"", u"auto", u"optimizeSpeed", u"optimizeQuality"};
};

template <>
struct EnumNames<TSVGTextRendering> {
    static constexpr std::array<std::u16string_view, 5> Names{
        u"txrnNone", u"txrnAuto", u"txrnOptimizeSpeed", u"txrnOptimizeLegibility", u"txrnGeometricPrecision"};
};
template <>
struct SVGKeywords<TSVGTextRendering> {
    static constexpr std::array<std::u16string_view, 5> Keywords{
        u"", u"auto", u"optimizeSpeed", u"optimizeLegibility", u"geometricPrecision"};
};

template <>
struct EnumNames<TSVGColorInterpolation> {
    static constexpr std::array<std::u16string_view, 4> Names{u"sciNone", u"sciAuto", u"sciSRGB", u"sciLinearRGB"};
};
template <>
struct SVGKeywords<TSVGColorInterpolation> {
    static constexpr std::array<std::u16string_view, 4> Keywords{u"", u"auto", u"sRGB", u"linearRGB"};
};

template <>
struct EnumNames<TSVGAlignmentBaseline> {
    static constexpr std::array<std::u16string_view, 13> Names{
        u"abNone", u"abAuto", u"abBaseline", u"abBeforeEdge", u"abTextBeforeEdge", u"abMiddle", u"abCentral",
        u"abAfterEdge", u"abTextAfterEdge", u"abIdeographic", u"abAlphabetic", u"abHanging", u"abMathematica"};
};
template <>
struct SVGKeywords<TSVGAlignmentBaseline> {
    static constexpr std::array<std::u16string_view, 13> Keywords{
        u"", u"auto", u"baseline", u"before-edge", u"text-before-edge", u"middle", u"central", u"after-edge",
        u"text-after-edge", u"ideographic", u"alphabetic", u"hanging", u"mathematical"};
};

template <>
struct EnumNames<TSVGBaselineShift> {
    static constexpr std::array<std::u16string_view, 6> Names{u"bsNone",        u"bsBaseline",   u"bsSubscript",
                                                              u"bsSuperscript", u"bsPercentage", u"bsLength"};
};
// "percentage" and "length" are keywords here, standing for the kinds that carry a length.
template <>
struct SVGKeywords<TSVGBaselineShift> {
    static constexpr std::array<std::u16string_view, 6> Keywords{u"", u"baseline", u"sub", u"super", u"percentage",
                                                                 u"length"};
};

template <>
struct EnumNames<TSVGDominantBaseline> {
    static constexpr std::array<std::u16string_view, 13> Names{
        u"dbNone", u"dbAuto", u"dbUseScript", u"dbNoChange", u"dbResetSize", u"dbIdeographic",
        u"dbAlphabetic", u"dbHanging", u"dbMathematical", u"dbCentral", u"dbMiddle", u"dbTextAfterEdge",
        u"dbTextBeforeEdge"};
};
template <>
struct SVGKeywords<TSVGDominantBaseline> {
    static constexpr std::array<std::u16string_view, 13> Keywords{
        u"", u"auto", u"use-script", u"no-change", u"reset-size", u"ideographic", u"alphabetic", u"hanging",
        u"mathematical", u"central", u"middle", u"text-after-edge", u"text-before-edge"};
};

template <>
struct EnumNames<TSVGTextPathMethod> {
    static constexpr std::array<std::u16string_view, 3> Names{u"tpmNone", u"tpmAlign", u"tpmStretch"};
};
template <>
struct SVGKeywords<TSVGTextPathMethod> {
    static constexpr std::array<std::u16string_view, 3> Keywords{u"", u"align", u"stretch"};
};

template <>
struct EnumNames<TSVGTextPathSpacing> {
    static constexpr std::array<std::u16string_view, 3> Names{u"tpsNone", u"tpsExact", u"tpsAuto"};
};
template <>
struct SVGKeywords<TSVGTextPathSpacing> {
    static constexpr std::array<std::u16string_view, 3> Keywords{u"", u"exact", u"auto"};
};

template <>
struct EnumNames<TSVGDirection> {
    static constexpr std::array<std::u16string_view, 3> Names{u"dirNone", u"dirLeftToRight", u"dirRightToLeft"};
};
template <>
struct SVGKeywords<TSVGDirection> {
    static constexpr std::array<std::u16string_view, 3> Keywords{u"", u"ltr", u"rtl"};
};

template <>
struct EnumNames<TSVGWritingMode> {
    static constexpr std::array<std::u16string_view, 7> Names{
        u"wmNone", u"wmLeftRight_TopBottom", u"wmRightLeft_TopBottom", u"wmTopBottom_RightLeft",
        u"wmLeftRight", u"wmRightLeft", u"wmTopBottom"};
};
template <>
struct SVGKeywords<TSVGWritingMode> {
    static constexpr std::array<std::u16string_view, 7> Keywords{
        u"", u"lr-tb", u"rl-tb", u"tb-rl", u"lr", u"rl", u"tb"};
};

template <>
struct EnumNames<TSVGGlyphOrientationVertical> {
    static constexpr std::array<std::u16string_view, 6> Names{
        u"ovNone", u"ovAuto", u"ov0Deg", u"ov90Deg", u"ov180Deg", u"ov270Deg"};
};

template <>
struct EnumNames<TSVGGlyphOrientationHorizontal> {
    static constexpr std::array<std::u16string_view, 5> Names{
        u"ohNone", u"oh0Deg", u"oh90Deg", u"oh180Deg", u"oh270Deg"};
};

template <>
struct EnumNames<TSVGFillRule> {
    static constexpr std::array<std::u16string_view, 3> Names{u"frNone", u"frNonZero", u"frEvenOdd"};
};
template <>
struct SVGKeywords<TSVGFillRule> {
    static constexpr std::array<std::u16string_view, 3> Keywords{u"", u"nonzero", u"evenodd"};
};

template <>
struct EnumNames<TSVGVectorEffect> {
    static constexpr std::array<std::u16string_view, 2> Names{u"veNone", u"veNonScalingStroke"};
};
template <>
struct SVGKeywords<TSVGVectorEffect> {
    static constexpr std::array<std::u16string_view, 2> Keywords{u"", u"non-scaling-stroke"};
};

template <>
struct EnumNames<TSVGMarkerUnit> {
    static constexpr std::array<std::u16string_view, 3> Names{u"muNone", u"muStrokeWidth", u"muUserSpaceOnUse"};
};
template <>
struct SVGKeywords<TSVGMarkerUnit> {
    static constexpr std::array<std::u16string_view, 3> Keywords{u"", u"strokeWidth", u"userSpaceOnUse"};
};

template <>
struct EnumNames<TSVGCoordinateSystemUnit> {
    static constexpr std::array<std::u16string_view, 3> Names{
        u"csuNone", u"csuObjectBoundingBox", u"csuUserSpaceOnUse"};
};
template <>
struct SVGKeywords<TSVGCoordinateSystemUnit> {
    static constexpr std::array<std::u16string_view, 3> Keywords{u"", u"objectBoundingBox", u"userSpaceOnUse"};
};

template <>
struct EnumNames<TSVGGradientSpread> {
    static constexpr std::array<std::u16string_view, 4> Names{u"gsNone", u"gsPad", u"gsReflect", u"gsRepeat"};
};
template <>
struct SVGKeywords<TSVGGradientSpread> {
    static constexpr std::array<std::u16string_view, 4> Keywords{u"", u"pad", u"reflect", u"repeat"};
};

template <>
struct EnumNames<TSVGFontWeight> {
    static constexpr std::array<std::u16string_view, 14> Names{
        u"fwNone", u"fwNormal", u"fwBold", u"fwBolder", u"fwLighter", u"fw100", u"fw200", u"fw300", u"fw400",
        u"fw500", u"fw600", u"fw700", u"fw800", u"fw900"};
};
template <>
struct SVGKeywords<TSVGFontWeight> {
    static constexpr std::array<std::u16string_view, 14> Keywords{
        u"", u"normal", u"bold", u"bolder", u"lighter", u"100", u"200", u"300", u"400", u"500", u"600",
        u"700", u"800", u"900"};
};

template <>
struct EnumNames<TSVGFontVariant> {
    static constexpr std::array<std::u16string_view, 6> Names{
        u"fvNone", u"fvNormal", u"fvSmallCaps", u"fvUpperCase", u"fvLowerCase", u"fvTitleCase"};
};
template <>
struct SVGKeywords<TSVGFontVariant> {
    static constexpr std::array<std::u16string_view, 6> Keywords{
        u"", u"normal", u"small-caps", u"uppercase", u"lowercase", u"titlecase"};
};

} // namespace velk
