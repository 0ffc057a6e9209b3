#include "svg/color.h"
#include "tests/support/test_support.h"

#include <QColor>
#include <QStringList>
#include <gtest/gtest.h>
#include <limits>

using namespace velk;

namespace {

constexpr TVelkGPColor Default = 0x12345678;
constexpr TVelkGPColor Current = 0xFF00FF00;

struct ColorCase {
    const char16_t* Text;
    TVelkGPColor Expected;
};

TVelkGPColor Parse(QStringView Text)
{
    bool isNone = false;
    bool inherit = false;
    return SVGParseColor(Text, Default, isNone, Current, inherit);
}

TEST(SVGParseColor, HexadecimalColours)
{
    const ColorCase cases[] = {
        {u"#F0A", 0xFFFF00AA},
        {u"#abc", 0xFFAABBCC},
        {u"#c0ffee", 0xFFC0FFEE},
        {u"  #C0FFEE\n", 0xFFC0FFEE},
        {u"#80FF0000", 0x80FF0000}, // eight digits: alpha first
        {u"#abcd", 0x00FFABCD},     // "FF" in front: alpha 00, red FF
        {u"#12345", 0x0FF12345},
        {u"#1234567890abc", 0x67890ABC}, // thirteen digits: the low 32 bits
        {u"# a-b c", 0xFFAABBCC},        // characters other than letters and digits are skipped
        {u"#", 0x000000FF},              // "FF" alone
        // Not colours: the default, never an error.
        {u"#ggg", Default},
        {u"#abz", Default},
        {u"#1234567890abcd", Default}, // fourteen digits
        {u"#ab\u0661", Default},       // a digit that is not hexadecimal (Arabic-Indic one)
    };
    for (const ColorCase& c : cases)
        EXPECT_EQ(Parse(c.Text), c.Expected) << QString::fromUtf16(c.Text).toStdString();
}

TEST(SVGParseColor, RGBFunction)
{
    const ColorCase cases[] = {
        {u"rgb(255,0,0)", 0xFFFF0000},
        {u"rgb( 1 , 2 ,3 )", 0xFF010203},
        {u"rgb(100%, 50%, 0%)", 0xFFFF7F00}, // integer part of 127.5, not rounded
        {u"rgb(33.3%,0%,100%)", 0xFF5400FF},
        {u"rgb(300, -5, 99999999999)", 0xFFFF00FF}, // clamped to 0..255
        {u"rgb(150%, -10%, 1e3%)", 0xFFFF00FF},     // clamped to 0..100 %
        {u"rgb(1,2,3,4)", 0xFF010203},              // parts after the third are ignored
        {u"rgb(1,2)", Default},
        {u"rgb()", Default},
        {u"rgb(,1,2)", Default},
        {u"rgb(1.5,2,3)", Default},
        {u"rgb(a,b,c)", Default},
        {u"rgb(nan%,0,0)", Default},
        {u"rgb(1e999%,0,0)", Default},
        {u"rgb(1,2,3", Default},
        {u"RGB(1,2,3)", 0xFF010203},      // the function name in any case
        {u"Rgb(0%, 50%, 0%)", 0xFF007F00},
    };
    for (const ColorCase& c : cases)
        EXPECT_EQ(Parse(c.Text), c.Expected) << QString::fromUtf16(c.Text).toStdString();
}

TEST(SVGParseColor, KeywordsWithoutCase)
{
    const ColorCase cases[] = {
        {u"red", 0xFFFF0000},
        {u"RED", 0xFFFF0000},
        {u" AliceBlue ", 0xFFF0F8FF},
        {u"yellowgreen", 0xFF9ACD32},
        {u"grey", 0xFF808080},
        {u"gray", 0xFF808080},
        {u"blac\u212A", Default}, // the Kelvin sign is no "k"
        {u"transparent", Default}, // not an SVG 1.1 keyword
        {u"light blue", Default},
        {u"bogus", Default},
    };
    for (const ColorCase& c : cases)
        EXPECT_EQ(Parse(c.Text), c.Expected) << QString::fromUtf16(c.Text).toStdString();
}

// The keyword table against Qt's own list of the SVG colour keywords.
TEST(SVGParseColor, EveryKeywordHasItsStandardValue)
{
    QStringList names = QColor::colorNames();
    names.removeAll(u"transparent"_qs);
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names)
        EXPECT_EQ(SVGFindColorKeyword(name), QColor::fromString(name).rgba()) << name.toStdString();
}

TEST(SVGParseColor, NoneCurrentColorAndInherit)
{
    struct Case {
        const char16_t* Text;
        bool IsNoneBefore;
        bool InheritBefore;
        TVelkGPColor Expected;
        bool IsNoneAfter;
        bool InheritAfter;
    };
    const Case cases[] = {
        {u"none", false, false, Default, true, false},
        {u" none ", false, true, Default, true, false},
        {u"", true, false, Default, true, false},   // empty text keeps both flags
        {u"", false, true, Default, false, true},
        {u"inherit", true, false, Default, true, true},
        {u"currentColor", true, true, Current, false, false},
        {u"CURRENTCOLOR", true, false, Current, false, false}, // a keyword: any case
        {u"red", true, true, 0xFFFF0000, false, false},
        {u"bogus", true, false, Default, false, false}, // a value was given, so it is not "none"
    };
    for (const Case& c : cases) {
        const std::string context = QString::fromUtf16(c.Text).toStdString();
        bool isNone = c.IsNoneBefore;
        bool inherit = c.InheritBefore;
        EXPECT_EQ(SVGParseColor(c.Text, Default, isNone, Current, inherit), c.Expected) << context;
        EXPECT_EQ(isNone, c.IsNoneAfter) << context;
        EXPECT_EQ(inherit, c.InheritAfter) << context;
    }
}

TEST(SVGParsePaint, ReferencesFallbacksAndCurrentColor)
{
    struct Case {
        const char16_t* Text;
        TVelkGPBrushKind Kind;
        TVelkGPColor Color;
        bool CurrentColor;
        const char16_t* URI;
    };
    const Case cases[] = {
        {u"url(#g)", bkNone, Default, false, u"g"}, // no fallback: nothing until a server resolves it
        {u" URL(#g) ", bkNone, Default, false, u"g"},
        {u"url(#g) none", bkNone, Default, false, u"g"},
        {u"url(#g) green", bkSolid, 0xFF008000, false, u"g"},
        {u"url(#g)#0f0", bkSolid, 0xFF00FF00, false, u"g"},
        {u"url(#g) currentColor", bkSolid, Current, true, u"g"},
        {u"url(#g) bogus", bkSolid, Default, false, u"g"}, // as a colour that does not read
        {u"url(other.svg#g) red", bkSolid, 0xFFFF0000, false, u""}, // another file: fallback only
        {u"url(#g", bkNone, Default, false, u""},                   // unclosed
        {u"#qqq", bkSolid, Default, false, u""},                    // an invalid colour, not a reference
        {u"#abc", bkSolid, 0xFFAABBCC, false, u""},
        {u"none", bkNone, Default, false, u""},
        {u"currentColor", bkSolid, Current, true, u""},
        {u"red", bkSolid, 0xFFFF0000, false, u""},
        {u"bogus", bkSolid, Default, false, u""},
    };
    for (const Case& c : cases) {
        const std::string context = QString::fromUtf16(c.Text).toStdString();
        const TSVGPaint paint = SVGParsePaint(c.Text, Default, Current);
        EXPECT_EQ(paint.Kind, c.Kind) << context;
        EXPECT_EQ(paint.Color, c.Color) << context;
        EXPECT_EQ(paint.CurrentColor, c.CurrentColor) << context;
        EXPECT_EQ(paint.URI, QString::fromUtf16(c.URI)) << context;
    }
}

TEST(SVGColorToStr, SixLowerCaseDigitsWithoutAlpha)
{
    EXPECT_EQ(SVGColorToStr(0), "#000000");
    EXPECT_EQ(SVGColorToStr(0x80FF8000), "#ff8000");
    EXPECT_EQ(SVGColorToStr(0xFFABCDEF), "#abcdef");
    EXPECT_EQ(SVGColorToStr(0x00000001), "#000001");
    EXPECT_EQ(Parse(SVGColorToStr(0x00C0FFEE)), 0xFFC0FFEE);
}

TEST(SVGSetColorOpacity, ReplacesTheAlphaByte)
{
    struct Case {
        TVelkGPColor Color;
        float Opacity;
        TVelkGPColor Expected;
    };
    const Case cases[] = {
        {0xFFFF0000, 0.5f, 0x80FF0000}, // 127.5 rounds to 128
        {0x00123456, 1, 0xFF123456},
        {0xFF123456, 0, 0x00123456},
        {0xFF123456, 0.2f, 0x33123456},
        {0xFF123456, 1.5f, 0xFF123456}, // clamped to 0..1
        {0xFF123456, -2, 0x00123456},
        {0xFF123456, std::numeric_limits<float>::infinity(), 0xFF123456},
        {0x80123456, std::numeric_limits<float>::quiet_NaN(), 0x80123456}, // NaN: unchanged
    };
    for (const Case& c : cases)
        EXPECT_EQ(SVGSetColorOpacity(c.Color, c.Opacity), c.Expected) << c.Opacity;
}

} // namespace
