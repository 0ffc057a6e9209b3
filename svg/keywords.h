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

} // namespace velk
