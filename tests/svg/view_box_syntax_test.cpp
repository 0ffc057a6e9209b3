#include "svg/view_box_syntax.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

using namespace velk;

namespace {

TEST(SVGParseViewBox, FourNumbersGiveTheRectangle)
{
    struct Case {
        const char16_t* Text;
        TRectF Expected;
    } cases[] = {
        {u"0 0 100 50", {0, 0, 100, 50}},
        {u" 10,20, 30 ,40 ", {10, 20, 40, 60}},
        {u"10\n20\r\n30\t40", {10, 20, 40, 60}},
        {u"-5-5 10 10", {-5, -5, 5, 5}},
        {u"0 0 1in 96px", {0, 0, 96, 96}},
        {u"1e1 0 1E2 0", {10, 0, 110, 0}},
        {u"x 0 100 50", {0, 0, 100, 50}},            // an item that does not parse counts 0
        // No view box: another count, or a corner beyond the float range.
        {u"0 0 100", {}},
        {u"0 0 100 50 7", {}},
        {u"", {}},
        {u"3e38 0 3e38 1", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SVGParseViewBox(c.Text, DefaultUnitFactors), c.Expected) << QString::fromUtf16(c.Text).toStdString();
}

TEST(SVGRectToStr, WritesXYWidthHeightWithTheFormat)
{
    EXPECT_EQ(SVGRectToStr(MakeRectF(10.5f, 0, 110.5f, 50.25f), u"0.###"), "10.5 0 100 50.25");
    EXPECT_EQ(SVGRectToStr(MakeRectF(-1, -2, 2, 2), u"0.00"), "-1.00 -2.00 3.00 4.00");
    EXPECT_EQ(SVGRectToStr(SVGParseViewBox(u"0 0 1in 10", DefaultUnitFactors), u"0.###"), "0 0 96 10");
}

} // namespace
