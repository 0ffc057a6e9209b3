#include "platform/exceptions.h"
#include "platform/xml/document.h"
#include "svg/points.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

using namespace velk;
using velk::testing::MessageOf;

namespace {

TEST(SVGParsePoints, PairsOfTheNumberList)
{
    struct Case {
        const char16_t* Text;
        TVelkPoints Expected;
    } cases[] = {
        {u"1,2 3,4 5", {{1, 2}, {3, 4}}}, // an odd last number is ignored
        {u" 10 20\n30\t40 ", {{10, 20}, {30, 40}}},
        {u"0,0-5-5", {{0, 0}, {-5, -5}}},
        {u"1e1,2.5E-1", {{10, 0.25f}}},
        {u"1,2 3,4 x", {{1, 2}, {3, 4}}}, // the ignored number is not read
        {u"7", {}},
        {u"", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SVGParsePoints(c.Text), c.Expected) << QString::fromUtf16(c.Text).toStdString();
}

TEST(SVGParsePoints, NumbersAreReadStrictly)
{
    struct Case {
        const char16_t* Text;
        const char* Message;
    } cases[] = {
        {u"1,2 3px,4", "'3px' is not a valid floating point value"},
        {u"NaN 1", "'NaN' is not a valid floating point value"},
        {u"1 Infinity", "'Infinity' is not a valid floating point value"},
        {u"1e39 0", "'1e39' is not a valid floating point value"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MessageOf<EConvertError>([&] { SVGParsePoints(c.Text); }), c.Message)
            << QString::fromUtf16(c.Text).toStdString();
}

TEST(SVGPointsToStr, PointsWithTheFormatSeparatedByBlanks)
{
    const TVelkPoints points{{1, 2}, {3.25f, -4}};
    EXPECT_EQ(SVGPointsToStr(points, u"0.###"), "1,2 3.25,-4");
    EXPECT_EQ(SVGPointsToStr(points, u"0.0"), "1.0,2.0 3.3,-4.0");
    EXPECT_EQ(SVGPointsToStr({}, u"0.###"), "");
    EXPECT_EQ(SVGParsePoints(SVGPointsToStr(points, u"0.###")), points);
}

TEST(SVGReadPoints, ReadsTheAttribute)
{
    const TXMLDocument doc = TXMLDocument::LoadFromBytes("<polygon points='1,2 3,4'/>");
    const TXMLNode node = doc.DocumentElement();
    EXPECT_EQ(SVGReadPoints(node, u"points"_qs), (TVelkPoints{{1, 2}, {3, 4}}));
    EXPECT_EQ(SVGReadPoints(node, u"other"_qs), TVelkPoints());
}

} // namespace
