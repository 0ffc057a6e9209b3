#include "platform/xml/document.h"
#include "svg/length_syntax.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

using namespace velk;

namespace {

const TSVGUnitFactors Factors96 = SVGUnitFactorsForDPI(96);

TEST(SVGStrToUnit, SuffixesInAnyCaseAndPercentSigns)
{
    struct Case {
        const char16_t* Suffix;
        TSVGUnit Unit;
    };
    const Case cases[] = {
        {u"", suNone},        {u"px", suPixels},     {u"PX", suPixels},      {u"pT", suPoints},
        {u"pc", suPicas},     {u"mm", suMillimeters}, {u"CM", suCentimeters}, {u"in", suInches},
        {u"em", suFontSize},  {u"Ex", suFontXHeight}, {u"0%", suPercent},     {u"%", suPercent},
        {u"%x", suPercent},   {u"E5", suNone},       {u"-3", suNone},        {u"x", suNone},
        {u"\u0130n", suNone}, {u"pxx", suNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.Suffix).toStdString());
        EXPECT_EQ(SVGStrToUnit(QString::fromUtf16(c.Suffix)), c.Unit);
    }
}

TEST(SVGParseLength, NumberUnitAndPercentage)
{
    struct Case {
        const char16_t* Text;
        float Raw;
        TSVGUnit Unit;
        bool IsPercent;
        const char16_t* Written;
    };
    // Every length starts as 3 without unit.
    const Case cases[] = {
        {u"10mm", 10, suMillimeters, false, u"10mm"},
        {u"50%", 0.5f, suPercent, true, u"50%"},
        {u"1E5", 100000, suNone, false, u"100000"},
        {u"2.5e-3", 0.0025f, suNone, false, u"0.003"},
        {u"12PX", 12, suPixels, false, u"12"},
        {u" 7.5pt ", 7.5f, suPoints, false, u"7.5pt"},
        {u"Infinity", 100000000, suNone, false, u"100000000"},
        {u"-INFINITY", -100000000, suNone, false, u"-100000000"},
        {u"1e39", 3, suNone, false, u"3"},
        {u"nan", 3, suNone, false, u"3"},
        {u"abc", 3, suNone, false, u"3"},
        {u"", 3, suNone, false, u"3"},
        {u"x%", 3, suNone, false, u"3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.Text).toStdString());
        TSVGLength length(3, false, suNone);
        EXPECT_EQ(&SVGParseLength(QString::fromUtf16(c.Text), length, 0, 1), &length);
        EXPECT_FLOAT_EQ(length.Raw(), c.Raw);
        EXPECT_EQ(length.aUnit(), c.Unit);
        EXPECT_EQ(length.IsPercent(), c.IsPercent);
        EXPECT_EQ(SVGLengthToStr(length, u"0.###"), QString::fromUtf16(c.Written));
    }
}

TEST(SVGParseLength, PercentagesMapIntoTheRange)
{
    TSVGLength length;
    SVGStrToLength(u"50%", length);
    EXPECT_EQ(length.Raw(), 50);
    EXPECT_TRUE(length.IsPercent());
    SVGParseLength(u"50%", length, 10, 20);
    EXPECT_EQ(length.Raw(), 15);

    // Read as an element attribute, resolved by the owner's range, written back.
    TSVGLength width;
    width.OnRange = [](const TSVGLength*, float&, float& Max, bool&) { Max = 200; };
    SVGParseLength(u"50%", width, 0, 1);
    EXPECT_EQ(width.Value(), 100);
    EXPECT_EQ(SVGLengthToStr(width, u"0.###"), "50%");
}

TEST(SVGParseLength, AnUnparsableNumberLeavesTheLength)
{
    // An svg element's initial 100% survives width="NaN" or "wide px".
    for (const char16_t* text : {u"wide px", u"NaN", u"inf%"}) {
        TSVGLength length(1, true, suPercent);
        SVGParseLength(text, length, 0, 1);
        EXPECT_EQ(length.aUnit(), suPercent);
        EXPECT_TRUE(length.IsPercent());
        EXPECT_EQ(length.Raw(), 1);
    }
}

TEST(SVGParseStyleLength, InheritLeavesTheLength)
{
    struct Case {
        const char16_t* Text;
        bool InheritBefore;
        bool InheritAfter;
        float Raw;
    };
    const Case cases[] = {
        {u"inherit", false, true, 3},  {u" inherit ", false, true, 3}, {u"", true, true, 3},
        {u"", false, false, 3},        {u"5", true, false, 5},         {u"Inherit", false, false, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.Text).toStdString());
        TSVGLength length(3, false, suNone);
        bool inherit = c.InheritBefore;
        SVGParseStyleLength(QString::fromUtf16(c.Text), length, inherit, 0, 1);
        EXPECT_EQ(inherit, c.InheritAfter);
        EXPECT_EQ(length.Raw(), c.Raw);
    }
}

TEST(SVGParsePixels, NumberTimesFactorWithDefaults)
{
    struct Case {
        const char16_t* Text;
        float Expected;
        TSVGUnit Unit;
    };
    // Min 0, Max 200, Default -1.
    const Case cases[] = {
        {u"1in", 96, suInches},     {u"3", 3, suNone},          {u"12pt", 16, suPoints},
        {u"50%", 100, suPercent},   {u"x%", -1, suPercent},     {u"abc", -1, suNone},
        {u"", -1, suNone},          {u"infinity", 100000000, suNone},
        {u"3e38in", -1, suInches},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.Text).toStdString());
        TSVGUnit unit = suFontSize;
        EXPECT_FLOAT_EQ(SVGParsePixels(QString::fromUtf16(c.Text), unit, Factors96, 0, 200, -1), c.Expected);
        EXPECT_EQ(unit, c.Unit);
    }
    TSVGUnit unit = suNone;
    EXPECT_EQ(SVGStrToPixels(u"50%", unit, Factors96, -1), 50);
    EXPECT_EQ(SVGStrToPixels(u"10mm", unit, DefaultUnitFactors, -1), 37.8f);
    EXPECT_EQ(unit, suMillimeters);

    bool inherit = false;
    EXPECT_EQ(SVGParseStylePixels(u"inherit", inherit, unit, 0, 1, Factors96, 7), 7);
    EXPECT_TRUE(inherit);
    EXPECT_EQ(SVGParseStylePixels(u"", inherit, unit, 0, 1, Factors96, 7), 7);
    EXPECT_TRUE(inherit);
    EXPECT_EQ(SVGParseStylePixels(u"2in", inherit, unit, 0, 1, Factors96, 7), 192);
    EXPECT_FALSE(inherit);
}

TEST(SVGParseFontSize, KeywordsRelativeSizesAndUnits)
{
    struct Case {
        const char16_t* Text;
        float Expected;
    };
    // The parent's font size is 10, the default -1.
    const Case cases[] = {
        {u"xx-small", 6.9444447f}, {u"x-small", 8.333333f}, {u"small", 10}, {u"medium", 12},
        {u"large", 14.4f},         {u"x-large", 17.28f},    {u"xx-large", 20.736f},
        {u"larger", 12},           {u"smaller", 8.333333f}, {u"Medium", -1},
        {u"2em", 20},              {u"1ex", 5},             {u"150%", 15},
        {u"12pt", 16},             {u"20", 20},             {u"1in", 96},
        {u"abc", -1},              {u"inherit", -1},        {u"", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.Text).toStdString());
        bool inherit = false;
        TSVGUnit unit = suNone;
        EXPECT_FLOAT_EQ(SVGParseFontSize(QString::fromUtf16(c.Text), inherit, unit, 10, Factors96, -1), c.Expected);
    }
    bool inherit = false;
    TSVGUnit unit = suNone;
    SVGParseFontSize(u"2em", inherit, unit, 10, Factors96, -1);
    EXPECT_EQ(unit, suFontSize);
    SVGParseFontSize(u"large", inherit, unit, 10, Factors96, -1);
    EXPECT_EQ(unit, suNone);
}

TEST(SVGParseLengths, ReusesTrimsAndGrowsTheList)
{
    TSVGLengths lengths;
    for (int i = 0; i < 3; ++i)
        lengths.Add(std::make_unique<TSVGLength>(9, true, suInches));
    const TSVGLength* first = lengths[0];
    SVGParseLengths(u"1mm,50%", lengths, 0, 1);
    ASSERT_EQ(lengths.Count(), 2);
    EXPECT_EQ(lengths[0], first);
    EXPECT_EQ(lengths[0]->aUnit(), suMillimeters);
    EXPECT_FALSE(lengths[0]->IsPercent());
    EXPECT_EQ(lengths[1]->Raw(), 0.5f);

    SVGParseLengths(u" 1 2-3\n4px ", lengths, 0, 1);
    ASSERT_EQ(lengths.Count(), 4);
    EXPECT_EQ(lengths[2]->Raw(), -3);
    EXPECT_FALSE(lengths[3]->DefaultIsPercent());
    EXPECT_EQ(SVGLengthsToStr(lengths, u"0.#"), "1 2 -3 4");
    EXPECT_EQ(SVGLengthsToStr(lengths, u"0", u", "), "1, 2, -3, 4");

    SVGParseLengths(u"", lengths, 0, 1);
    EXPECT_EQ(lengths.Count(), 0);
    EXPECT_EQ(SVGLengthsToStr(lengths, u"0"), "");
}

TEST(SVGReadLength, ReadsNamedAttributes)
{
    const TXMLDocument doc = TXMLDocument::LoadFromBytes("<text x='5 10mm' width='25%' stroke-width='inherit'/>");
    const TXMLNode node = doc.DocumentElement();

    TSVGLength width(3, false, suNone);
    SVGReadLength(node, u"width"_qs, width);
    EXPECT_EQ(width.Raw(), 0.25f);
    TSVGLength height(3, false, suNone);
    SVGReadLength(node, u"height"_qs, height);
    EXPECT_EQ(height.Raw(), 3);

    TSVGLength stroke(3, false, suNone);
    bool inherit = false;
    SVGReadStyleLength(node, u"stroke-width"_qs, stroke, inherit);
    EXPECT_TRUE(inherit);
    EXPECT_EQ(stroke.Raw(), 3);
    SVGReadStyleLength(node, u"stroke-dashoffset"_qs, stroke, inherit);
    EXPECT_TRUE(inherit);

    TSVGLengths xs;
    SVGReadLengths(node, u"x"_qs, xs);
    ASSERT_EQ(xs.Count(), 2);
    EXPECT_EQ(xs[1]->aUnit(), suMillimeters);
    SVGReadLengths(node, u"y"_qs, xs);
    EXPECT_EQ(xs.Count(), 0);
}

TEST(SVGFormatValue, NumberAndSuffix)
{
    struct Case {
        float Value;
        TSVGUnit Unit;
        const char16_t* Format;
        const char16_t* Expected;
    };
    const Case cases[] = {
        {2.0005f, suNone, u"0.###", u"2.001"}, {12, suPixels, u"0.###", u"12"},   {10, suMillimeters, u"0.###", u"10mm"},
        {1.5f, suFontSize, u"0.00", u"1.50em"}, {0.5f, suPercent, u"0.###", u"50%"}, {0.123f, suPercent, u"0.#", u"12.3%"},
        {-0.0001f, suInches, u"0.###", u"0in"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.Expected).toStdString());
        EXPECT_EQ(SVGFormatValue(c.Value, c.Unit, QString::fromUtf16(c.Format)), QString::fromUtf16(c.Expected));
    }
    EXPECT_EQ(TSVGLength(0.25f, true, suNone).ToString(u"0.###", 0, 100), "25");
}

} // namespace
