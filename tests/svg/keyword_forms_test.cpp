#include "svg/keyword_forms.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

using namespace velk;

namespace {

template <typename T>
struct Case {
    const char16_t* Text;
    T Expected;
};

template <typename T, typename Parser, std::size_t N>
void ExpectParses(Parser Parse, const Case<T> (&Cases)[N])
{
    for (const Case<T>& c : Cases)
        EXPECT_EQ(Parse(c.Text), c.Expected) << QString::fromUtf16(c.Text).toStdString();
}

TEST(SVGParseTextAnchor, KeywordsAndFallback)
{
    const Case<TSVGTextAlign> cases[] = {
        {u"start", staLeading}, {u" middle ", staCenter}, {u"end", staTrailing},
        {u"End", staLeading},   {u"inherit", staLeading}, {u"", staLeading},
    };
    ExpectParses(SVGParseTextAnchor, cases);
    for (const TSVGTextAlign value : {staCenter, staLeading, staTrailing})
        EXPECT_EQ(SVGParseTextAnchor(SVGTextAnchorToStr(value)), value);
    EXPECT_EQ(EnumName(staTrailing), "staTrailing");
}

TEST(SVGParseFontStyle, ItalicAndOblique)
{
    const Case<bool> cases[] = {
        {u"italic", true}, {u" oblique", true}, {u"normal", false}, {u"Italic", false}, {u"", false},
    };
    ExpectParses(SVGParseFontStyle, cases);
}

TEST(SVGParseTextDecoration, EachKeywordReplacesTheDecoration)
{
    const Case<TSVGTextDecoration> cases[] = {
        {u"underline", {true, false, {}}},
        {u"line-through", {false, true, {}}},
        {u"overline", {false, false, {fsOverline}}},
        {u" blink ", {true, false, {fsBlink}}},
        {u"none", {false, false, {}}},
        {u"underline overline", {false, false, {}}}, // one keyword only
        {u"", {false, false, {}}},
    };
    ExpectParses(SVGParseTextDecoration, cases);
}

TEST(SVGTextDecorationToStr, FirstDecorationInOrder)
{
    struct WriteCase {
        TSVGTextDecoration Value;
        const char* Expected;
    };
    const WriteCase cases[] = {
        {{true, true, {fsOverline}}, "underline"},
        {{false, true, {fsOverline}}, "line-through"},
        {{false, false, {fsOverline, fsBlink}}, "overline"},
        {{false, false, {fsBlink}}, "blink"},
        {{true, false, {fsBlink}}, "underline"}, // what "blink" reads as
        {{}, "none"},
    };
    for (const WriteCase& c : cases)
        EXPECT_EQ(SVGTextDecorationToStr(c.Value), c.Expected) << c.Expected;
    EXPECT_EQ(TExtendedFontStyles({fsOverline, fsBlink}).Names(), QStringList({u"fsOverline"_qs, u"fsBlink"_qs}));
}

TEST(SVGParseLineCap, ReadAndWrittenBack)
{
    const Case<TVelkGPLineCap> cases[] = {
        {u"butt", lcFlat}, {u"round", lcRound}, {u" square ", lcSquare}, {u"Round", lcFlat}, {u"", lcFlat},
    };
    ExpectParses(SVGParseLineCap, cases);
    const std::pair<TVelkGPLineCap, const char*> written[] = {
        {lcFlat, "butt"},          {lcNoAnchor, "butt"},     {lcSquare, "square"},
        {lcSquareAnchor, "square"}, {lcRound, "round"},      {lcRoundAnchor, "round"},
        {lcTriangle, "round"},     {lcArrowAnchor, "round"}, {lcCustom, "round"},
    };
    for (const auto& [cap, text] : written)
        EXPECT_EQ(SVGLineCapToStr(cap), text) << EnumName(cap).toStdString();
}

TEST(SVGParseLineJoin, ReadAndWrittenBack)
{
    const Case<TVelkGPStrokeJoin> cases[] = {
        {u"miter", sjMiter}, {u"bevel", sjBevel}, {u" round", sjRound}, {u"arcs", sjMiter}, {u"", sjMiter},
    };
    ExpectParses(SVGParseLineJoin, cases);
    const std::pair<TVelkGPStrokeJoin, const char*> written[] = {
        {sjMiter, "miter"}, {sjMiterClipped, "miter"}, {sjBevel, "bevel"}, {sjRound, "round"}};
    for (const auto& [join, text] : written)
        EXPECT_EQ(SVGLineJoinToStr(join), text) << EnumName(join).toStdString();
}

TEST(SVGParseDisplayVisibilityOverflow, ShownOrHidden)
{
    const Case<bool> display[] = {{u"none", false}, {u" none ", false}, {u"inline", true}, {u"None", true},
                                  {u"", true}};
    ExpectParses(SVGParseDisplay, display);
    const Case<bool> visibility[] = {{u"visible", true}, {u"hidden", false}, {u"collapse", false},
                                     {u"Visible", false}, {u"", false}};
    ExpectParses(SVGParseVisibility, visibility);
    const Case<bool> overflow[] = {{u"visible", true}, {u"auto", true}, {u"hidden", false}, {u"scroll", false},
                                   {u"", false}};
    ExpectParses(SVGParseOverflow, overflow);
}

TEST(SVGParseCursor, KeywordsAndURLFallbacks)
{
    const Case<Qt::CursorShape> cases[] = {
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
        {u" text ", Qt::IBeamCursor},
        {u"wait", Qt::WaitCursor},
        {u"help", Qt::WhatsThisCursor},
        {u"url(\"hand.cur\"), pointer", Qt::PointingHandCursor},
        {u"url(a.cur),url(b.cur) , wait", Qt::WaitCursor},
        {u"url(\"hand.cur\")", Qt::BlankCursor},
        {u"pointer, wait", Qt::BlankCursor}, // a list without url() is looked up whole
        {u"Pointer", Qt::BlankCursor},
        {u"none", Qt::BlankCursor},
        {u"", Qt::BlankCursor},
    };
    ExpectParses(SVGParseCursor, cases);
}

TEST(SVGCursorToStr, KeywordsReadBackAsTheirShape)
{
    for (const Qt::CursorShape shape : {Qt::ArrowCursor, Qt::CrossCursor, Qt::PointingHandCursor, Qt::DragMoveCursor,
                                        Qt::SizeHorCursor, Qt::SizeBDiagCursor, Qt::SizeFDiagCursor,
                                        Qt::SizeVerCursor, Qt::IBeamCursor, Qt::WaitCursor, Qt::WhatsThisCursor,
                                        Qt::BlankCursor})
        EXPECT_EQ(SVGParseCursor(SVGCursorToStr(shape)), shape) << SVGCursorToStr(shape).toStdString();
    EXPECT_EQ(SVGCursorToStr(Qt::ArrowCursor), "auto");
    EXPECT_EQ(SVGCursorToStr(Qt::SizeHorCursor), "e-resize");
    EXPECT_EQ(SVGCursorToStr(Qt::BlankCursor), "none");
    EXPECT_EQ(SVGCursorToStr(Qt::ForbiddenCursor), "auto"); // no keyword gives it
}

} // namespace
