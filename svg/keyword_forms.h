#pragma once
// Presentation properties whose keywords map onto values of other kinds: text-anchor,
// font-style, text-decoration, stroke-linecap, stroke-linejoin, display, visibility,
// overflow and cursor. Keywords are compared exactly after trimming; a text that is not
// a keyword gives the property's fallback named below, never an error.

#include "graphics/gp_types.h"
#include "platform/enum_names.h"
#include "platform/set.h"

#include <QString>
#include <QStringView>
#include <Qt>

namespace velk {

// text-anchor: "start" staLeading, "middle" staCenter, "end" staTrailing.
enum TSVGTextAlign { staCenter, staLeading, staTrailing };

// The decorations a backend font has no style bit for.
enum TExtendedFontStyle { fsOverline, fsBlink };
using TExtendedFontStyles = TSet<TExtendedFontStyle>;

// A text-decoration value: what it sets of the font's styles.
struct TSVGTextDecoration {
    bool Underline = false;
    bool StrikeOut = false;
    TExtendedFontStyles Extended;

    bool operator==(const TSVGTextDecoration&) const = default;
};

// text-anchor; any other text gives staLeading.
TSVGTextAlign SVGParseTextAnchor(QStringView Text);
// "start", "middle", "end".
QString SVGTextAnchorToStr(TSVGTextAlign Value);

// font-style: true (italic) for "italic" and "oblique", false for anything else.
bool SVGParseFontStyle(QStringView Text);

// text-decoration, one keyword: "underline" underlines; "line-through" strikes out;
// "overline" gives fsOverline; "blink" underlines and gives fsBlink; any other text
// ("none") gives no decoration. The value replaces the whole decoration of the font,
// the extended styles included, so a later declaration never keeps an earlier one's.
TSVGTextDecoration SVGParseTextDecoration(QStringView Text);
// The keyword of the first decoration present in the order underline, line-through,
// overline, blink; "none" when there is none. Blink underlines, so it writes
// "underline".
QString SVGTextDecorationToStr(const TSVGTextDecoration& Value);

// stroke-linecap: "round" lcRound, "square" lcSquare, anything else ("butt") lcFlat.
TVelkGPLineCap SVGParseLineCap(QStringView Text);
// lcFlat and lcNoAnchor write "butt", lcSquare and lcSquareAnchor "square", the other
// caps "round".
QString SVGLineCapToStr(TVelkGPLineCap Value);

// stroke-linejoin: "bevel" sjBevel, "round" sjRound, anything else ("miter") sjMiter.
TVelkGPStrokeJoin SVGParseLineJoin(QStringView Text);
// sjMiter and sjMiterClipped write "miter", sjBevel "bevel", sjRound "round".
QString SVGLineJoinToStr(TVelkGPStrokeJoin Value);

// display: false (not displayed) for "none", true for anything else.
bool SVGParseDisplay(QStringView Text);
// visibility: true for "visible", false for anything else.
bool SVGParseVisibility(QStringView Text);
// overflow: true (visible, not clipped) for "visible" and "auto", false for anything
// else.
bool SVGParseOverflow(QStringView Text);

// cursor: a list that begins with a url(...) ("url(hand.cur), pointer") is looked up
// by its last item, any other text as a whole. "auto" and "default" give the arrow,
// "crosshair" the cross, "pointer" the pointing hand, "move" the drag cursor, the
// eight "*-resize" keywords the sizing cursor of their axis, "text" the I-beam, "wait"
// the wait cursor, "help" the what's-this cursor; anything else gives Qt::BlankCursor
// (no cursor).
Qt::CursorShape SVGParseCursor(QStringView Text);
// The keyword of Value: "auto" for the arrow, the first keyword of each shape above,
// "none" for Qt::BlankCursor (it reads back as no cursor); "auto" for shapes that no
// keyword gives, so that the pointer stays visible.
QString SVGCursorToStr(Qt::CursorShape Value);

template <>
struct EnumNames<TSVGTextAlign> {
    static constexpr std::array<std::u16string_view, 3> Names{u"staCenter", u"staLeading", u"staTrailing"};
};
template <>
struct EnumNames<TExtendedFontStyle> {
    static constexpr std::array<std::u16string_view, 2> Names{u"fsOverline", u"fsBlink"};
};

} // namespace velk
