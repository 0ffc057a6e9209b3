#pragma once
// The presentation properties: the enumeration, its CSS names, the initial value texts
// written for them, the properties that inherit by default, and the name look-up that
// element readers run for every attribute.

#include "platform/enum_names.h"
#include "platform/set.h"

#include <QString>
#include <QStringView>
#include <array>
#include <string_view>

namespace velk {

enum TSVGStyleProperty {
    ipNone,
    ipAlignmentBaseline,
    ipBaselineShift,
    ipClip,
    ipClipPath,
    ipClipRule,
    ipColor,
    ipColorInterpolation,
    ipColorRendering,
    ipCursor,
    ipDirection,
    ipDisplay,
    ipDominantBaseline,
    ipFill,
    ipFillOpacity,
    ipFillRule,
    ipFloodColor,
    ipFloodOpacity,
    ipFont,
    ipFontFamily,
    ipFontSize,
    ipFontStyle,
    ipFontVariant,
    ipFontWeight,
    ipGlyphOrientationHorizontal,
    ipGlyphOrientationVertical,
    ipKerning,
    ipLetterSpacing,
    ipMarker,
    ipMarkerEnd,
    ipMarkerMid,
    ipMarkerStart,
    ipOpacity,
    ipOverflow,
    ipShapeRendering,
    ipStopColor,
    ipStopOpacity,
    ipStroke,
    ipStrokeDasharray,
    ipStrokeDashOffset,
    ipStrokeLinecap,
    ipStrokeLineJoin,
    ipStrokeMiterLimit,
    ipStrokeOpacity,
    ipStrokeWidth,
    ipTextAnchor,
    ipTextDecoration,
    ipTextRendering,
    ipVectorEffect,
    ipVisibility,
    ipWordSpacing,
    ipWritingMode
};

inline constexpr int SVGStylePropertyCount = ipWritingMode + 1;

template <>
struct EnumNames<TSVGStyleProperty> {
    static constexpr std::array<std::u16string_view, SVGStylePropertyCount> Names{
        u"ipNone",
        u"ipAlignmentBaseline",
        u"ipBaselineShift",
        u"ipClip",
        u"ipClipPath",
        u"ipClipRule",
        u"ipColor",
        u"ipColorInterpolation",
        u"ipColorRendering",
        u"ipCursor",
        u"ipDirection",
        u"ipDisplay",
        u"ipDominantBaseline",
        u"ipFill",
        u"ipFillOpacity",
        u"ipFillRule",
        u"ipFloodColor",
        u"ipFloodOpacity",
        u"ipFont",
        u"ipFontFamily",
        u"ipFontSize",
        u"ipFontStyle",
        u"ipFontVariant",
        u"ipFontWeight",
        u"ipGlyphOrientationHorizontal",
        u"ipGlyphOrientationVertical",
        u"ipKerning",
        u"ipLetterSpacing",
        u"ipMarker",
        u"ipMarkerEnd",
        u"ipMarkerMid",
        u"ipMarkerStart",
        u"ipOpacity",
        u"ipOverflow",
        u"ipShapeRendering",
        u"ipStopColor",
        u"ipStopOpacity",
        u"ipStroke",
        u"ipStrokeDasharray",
        u"ipStrokeDashOffset",
        u"ipStrokeLinecap",
        u"ipStrokeLineJoin",
        u"ipStrokeMiterLimit",
        u"ipStrokeOpacity",
        u"ipStrokeWidth",
        u"ipTextAnchor",
        u"ipTextDecoration",
        u"ipTextRendering",
        u"ipVectorEffect",
        u"ipVisibility",
        u"ipWordSpacing",
        u"ipWritingMode"};
};

using TSVGStyleProperties = TSet<TSVGStyleProperty>;

// The CSS name of each property ("" for ipNone).
inline constexpr std::array<std::u16string_view, SVGStylePropertyCount> SVGStylePropertyNames{
    u"",
    u"alignment-baseline",
    u"baseline-shift",
    u"clip",
    u"clip-path",
    u"clip-rule",
    u"color",
    u"color-interpolation",
    u"color-rendering",
    u"cursor",
    u"direction",
    u"display",
    u"dominant-baseline",
    u"fill",
    u"fill-opacity",
    u"fill-rule",
    u"flood-color",
    u"flood-opacity",
    u"font",
    u"font-family",
    u"font-size",
    u"font-style",
    u"font-variant",
    u"font-weight",
    u"glyph-orientation-horizontal",
    u"glyph-orientation-vertical",
    u"kerning",
    u"letter-spacing",
    u"marker",
    u"marker-end",
    u"marker-mid",
    u"marker-start",
    u"opacity",
    u"overflow",
    u"shape-rendering",
    u"stop-color",
    u"stop-opacity",
    u"stroke",
    u"stroke-dasharray",
    u"stroke-dashoffset",
    u"stroke-linecap",
    u"stroke-linejoin",
    u"stroke-miterlimit",
    u"stroke-opacity",
    u"stroke-width",
    u"text-anchor",
    u"text-decoration",
    u"text-rendering",
    u"vector-effect",
    u"visibility",
    u"word-spacing",
    u"writing-mode"};

// The initial value text of each property, used when writing ("" for ipNone and color;
// "???" for the font shorthand, which has no single initial text).
inline constexpr std::array<std::u16string_view, SVGStylePropertyCount> SVGStylePropertyDefaults{
    u"",         // ipNone
    u"auto",     // alignment-baseline
    u"baseline", // baseline-shift
    u"auto",    // clip
    u"none",    // clip-path
    u"nonzero", // clip-rule
    u"",        // color
    u"sRGB",    // color-interpolation
    u"auto",    // color-rendering
    u"auto",    // cursor
    u"ltr",     // direction
    u"inline",  // display
    u"auto",    // dominant-baseline
    u"black",   // fill
    u"1",       // fill-opacity
    u"nonzero", // fill-rule
    u"black",   // flood-color
    u"1",       // flood-opacity
    u"???",     // font
    u"Tahoma",  // font-family
    u"medium",  // font-size
    u"normal",  // font-style
    u"normal",  // font-variant
    u"normal",  // font-weight
    u"0deg",    // glyph-orientation-horizontal
    u"auto",    // glyph-orientation-vertical
    u"auto",    // kerning
    u"normal",  // letter-spacing
    u"none",    // marker
    u"none",    // marker-end
    u"none",    // marker-mid
    u"none",    // marker-start
    u"1",       // opacity
    u"visible", // overflow
    u"auto",    // shape-rendering
    u"black",   // stop-color
    u"1",       // stop-opacity
    u"none",    // stroke
    u"none",    // stroke-dasharray
    u"0",       // stroke-dashoffset
    u"butt",    // stroke-linecap
    u"miter",   // stroke-linejoin
    u"4",       // stroke-miterlimit
    u"1",       // stroke-opacity
    u"1",       // stroke-width
    u"start",   // text-anchor
    u"none",    // text-decoration
    u"auto",    // text-rendering
    u"none",    // vector-effect
    u"visible", // visibility
    u"normal",  // word-spacing
    u"lr-tb"};  // writing-mode

// The properties that inherit by default: the initial inherit set of every element.
inline constexpr TSVGStyleProperties SVGDefaultInherits{
    ipClipRule, ipColor, ipColorInterpolation, ipColorRendering, ipCursor, ipDirection,
    ipFill, ipFillOpacity, ipFillRule,
    ipFont, ipFontFamily, ipFontSize, ipFontStyle, ipFontVariant, ipFontWeight,
    ipGlyphOrientationHorizontal, ipGlyphOrientationVertical, ipKerning, ipLetterSpacing,
    ipMarker, ipMarkerEnd, ipMarkerMid, ipMarkerStart, ipShapeRendering,
    ipStroke, ipStrokeDasharray, ipStrokeDashOffset, ipStrokeLinecap, ipStrokeLineJoin,
    ipStrokeMiterLimit, ipStrokeOpacity, ipStrokeWidth,
    ipTextAnchor, ipTextDecoration, ipTextRendering, ipVisibility, ipWordSpacing, ipWritingMode};

// The CSS name and the initial value text as QString ("" for a value outside the table).
QString SVGStylePropertyName(TSVGStyleProperty Property);
QString SVGStylePropertyDefault(TSVGStyleProperty Property);

// The property with that CSS name (exact case), ipNone for any other text. A hash
// table built at compile time: one hash of the name and usually one comparison.
TSVGStyleProperty SVGNameToStyleProperty(QStringView Name) noexcept;

} // namespace velk
