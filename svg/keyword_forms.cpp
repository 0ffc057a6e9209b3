#include "svg/keyword_forms.h"

#include "svg/trim.h"

#include <array>
#include <string_view>

namespace velk {

namespace {

struct TCursorKeyword {
    std::u16string_view Keyword;
    Qt::CursorShape Shape;
};

// The first keyword of each shape is the one written back.
constexpr std::array<TCursorKeyword, 16> CursorKeywords{{
    {u"auto", Qt::ArrowCursor},
    {u"default", Qt::ArrowCursor},
    {u"crosshair", Qt::CrossCursor},
    {u"pointer", Qt::PointingHandCursor},
    {u"move", Qt::DragMoveCursor},
    {u"e-resize", Qt::SizeHorCursor},
    {u"w-resize", Qt::SizeHorCursor},
    {u"ne-resize", Qt::SizeBDiagCursor},
    {u"sw-resize", Qt::SizeBDiagCursor},
    {u"nw-resize", Qt::SizeFDiagCursor},
    {u"se-resize", Qt::SizeFDiagCursor},
    {u"n-resize", Qt::SizeVerCursor},
    {u"s-resize", Qt::SizeVerCursor},
    {u"text", Qt::IBeamCursor},
    {u"wait", Qt::WaitCursor},
    {u"help", Qt::WhatsThisCursor},
}};

} // namespace

TSVGTextAlign SVGParseTextAnchor(QStringView Text)
{
    const QStringView text = SVGTrim(Text);
    if (text == u"middle")
        return staCenter;
    if (text == u"end")
        return staTrailing;
    return staLeading;
}

QString SVGTextAnchorToStr(TSVGTextAlign Value)
{
    switch (Value) {
    case staCenter:
        return QStringLiteral("middle");
    case staTrailing:
        return QStringLiteral("end");
    default:
        return QStringLiteral("start");
    }
}

bool SVGParseFontStyle(QStringView Text)
{
    const QStringView text = SVGTrim(Text);
    return text == u"italic" || text == u"oblique";
}

TSVGTextDecoration SVGParseTextDecoration(QStringView Text)
{
    const QStringView text = SVGTrim(Text);
    if (text == u"underline")
        return {.Underline = true, .StrikeOut = false, .Extended = {}};
    if (text == u"line-through")
        return {.Underline = false, .StrikeOut = true, .Extended = {}};
    if (text == u"overline")
        return {.Underline = false, .StrikeOut = false, .Extended = {fsOverline}};
    if (text == u"blink")
        return {.Underline = true, .StrikeOut = false, .Extended = {fsBlink}};
    return {};
}

QString SVGTextDecorationToStr(const TSVGTextDecoration& Value)
{
    if (Value.Underline)
        return QStringLiteral("underline");
    if (Value.StrikeOut)
        return QStringLiteral("line-through");
    if (Value.Extended.Contains(fsOverline))
        return QStringLiteral("overline");
    if (Value.Extended.Contains(fsBlink))
        return QStringLiteral("blink");
    return QStringLiteral("none");
}

TVelkGPLineCap SVGParseLineCap(QStringView Text)
{
    const QStringView text = SVGTrim(Text);
    if (text == u"round")
        return lcRound;
    if (text == u"square")
        return lcSquare;
    return lcFlat;
}

QString SVGLineCapToStr(TVelkGPLineCap Value)
{
    switch (Value) {
    case lcFlat:
    case lcNoAnchor:
        return QStringLiteral("butt");
    case lcSquare:
    case lcSquareAnchor:
        return QStringLiteral("square");
    default:
        return QStringLiteral("round");
    }
}

TVelkGPStrokeJoin SVGParseLineJoin(QStringView Text)
{
    const QStringView text = SVGTrim(Text);
    if (text == u"bevel")
        return sjBevel;
    if (text == u"round")
        return sjRound;
    return sjMiter;
}

QString SVGLineJoinToStr(TVelkGPStrokeJoin Value)
{
    switch (Value) {
    case sjBevel:
        return QStringLiteral("bevel");
    case sjRound:
        return QStringLiteral("round");
    default:
        return QStringLiteral("miter");
    }
}

bool SVGParseDisplay(QStringView Text)
{
    return SVGTrim(Text) != u"none";
}

bool SVGParseVisibility(QStringView Text)
{
    return SVGTrim(Text) == u"visible";
}

bool SVGParseOverflow(QStringView Text)
{
    const QStringView text = SVGTrim(Text);
    return text == u"visible" || text == u"auto";
}

Qt::CursorShape SVGParseCursor(QStringView Text)
{
    QStringView text = SVGTrim(Text);
    // url(...) items are fallbacks for cursors loaded from files; the last item is
    // the keyword to use when they cannot be loaded.
    if (text.startsWith(u"url(")) {
        const qsizetype comma = text.lastIndexOf(u',');
        if (comma >= 0)
            text = SVGTrim(text.sliced(comma + 1));
    }
    for (const TCursorKeyword& entry : CursorKeywords)
        if (text == entry.Keyword)
            return entry.Shape;
    return Qt::BlankCursor;
}

QString SVGCursorToStr(Qt::CursorShape Value)
{
    // "none" is no keyword here, so it reads back as no cursor too.
    if (Value == Qt::BlankCursor)
        return QStringLiteral("none");
    for (const TCursorKeyword& entry : CursorKeywords)
        if (entry.Shape == Value)
            return NameText(entry.Keyword);
    return QStringLiteral("auto");
}

} // namespace velk
