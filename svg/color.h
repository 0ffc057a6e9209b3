#pragma once
// Colours as SVG writes them: "#rgb", "#rrggbb", "rgb(r, g, b)", "rgb(r%, g%, b%)", the
// 147 colour keywords of SVG 1.1, "currentColor" and "none". Colours are TVelkGPColor,
// 32-bit ARGB. Nothing here raises: a text that is not a colour gives the caller's
// default.
//
//   bool isNone = false, inherit = false;
//   SVGParseColor(u"#F0A", 0, isNone, 0, inherit)          // 0xFFFF00AA
//   SVGParseColor(u"RED", 0, isNone, 0, inherit)           // 0xFFFF0000
//   SVGColorToStr(0x80FF8000)                              // "#ff8000"

#include "graphics/gp_types.h"

#include <QString>
#include <QStringView>
#include <optional>

namespace velk {

// The colour of Text, in this order (Text trimmed of blanks first):
// 1. IsNone := IsNone or (Text is "none"); Inherit := (Text is "inherit") or (Inherit
//    and Text is empty).
// 2. "currentColor" (in any case) gives CurrentColor and clears IsNone.
// 3. An empty text, "none" and an inherited value give Default.
// 4. Otherwise IsNone is cleared, and:
//    - "#" and hexadecimal digits (other characters but letters and digits skipped):
//      three digits are doubled each; "FF" and the digits read as one hexadecimal
//      number give the colour in its low 32 bits. So six digits are opaque, eight
//      digits carry the alpha in front ("#80FF0000"), and four give alpha 00, red FF
//      ("#abcd" is 0x00FFABCD). A letter that is not a hexadecimal digit, or more than
//      thirteen digits, give Default.
//    - "rgb(" (in any case) r, g, b ")" (separated by commas, blanks around each part): integers
//      clamped to 0..255, or percentages clamped to 0..100 % giving the integer part of
//      p * 255 / 100 (50% is 127); alpha 255. Parts after the third are ignored; fewer
//      than three parts, or a part that is not a number, give Default.
//    - A colour keyword in any case ("RED"), opaque.
//    - Anything else gives Default.
TVelkGPColor SVGParseColor(QStringView Text, TVelkGPColor Default, bool& IsNone, TVelkGPColor CurrentColor,
                           bool& Inherit);

// What a fill or stroke value asks for.
struct TSVGPaint {
    // bkNone or bkSolid: what is drawn while no paint server resolves URI.
    TVelkGPBrushKind Kind = bkSolid;
    TVelkGPColor Color = 0;
    // The colour is the color property of the element that paints: taken again when
    // the paint is resolved for drawing, since color may be declared after fill or on
    // a descendant that inherits the fill.
    bool CurrentColor = false;
    // The ID of a paint server (gradient, pattern), empty for none.
    QString URI;
};

// A fill or stroke value (trimmed first; the caller has handled "inherit" and the empty
// text):
// - "url(#ID)" (or "uri(#ID)", any case) and an optional fallback: URI := ID (empty for
//   a reference to another file); no fallback gives kind none, the fallback is read as
//   below. A reference without its ")" is none. "#" always starts a colour ("#qqq"
//   is an invalid colour, not a reference).
// - "none": kind none, colour Default.
// - Otherwise SVGParseColor (currentColor gives CurrentColor and sets the CurrentColor
//   flag; a text that is not a colour gives Default), kind solid.
TSVGPaint SVGParsePaint(QStringView Text, TVelkGPColor Default, TVelkGPColor CurrentColor);

// The opaque colour of an SVG colour keyword ("aliceblue" to "yellowgreen"), compared
// without case (ASCII letters only), or nothing.
std::optional<TVelkGPColor> SVGFindColorKeyword(QStringView Name);

// "#" and six lower-case hexadecimal digits of red, green and blue; the alpha byte is
// dropped ("#000000" for 0).
QString SVGColorToStr(TVelkGPColor Color);

// Color with its alpha byte replaced by Opacity * 255, rounded half to even; Opacity is
// clamped to 0..1. A NaN opacity leaves Color as it is.
TVelkGPColor SVGSetColorOpacity(TVelkGPColor Color, float Opacity);

} // namespace velk
