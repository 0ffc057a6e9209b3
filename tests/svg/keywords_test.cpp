#include "svg/keywords.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

using namespace velk;

namespace {

// Every value but ordinal 0 writes a keyword that reads back as the value, and the
// keyword and value-name tables have one entry per value.
template <KeywordEnum E>
void ExpectKeywordsRoundTrip()
{
    ASSERT_EQ(SVGKeywords<E>::Keywords.size(), EnumNames<E>::Names.size());
    EXPECT_EQ(SVGKeywordToStr(static_cast<E>(0)), "");
    for (int i = 1; i < EnumCount<E>(); ++i) {
        const E value = static_cast<E>(i);
        EXPECT_EQ(SVGParseKeyword<E>(SVGKeywordToStr(value)), value) << EnumName(value).toStdString();
    }
}

TEST(SVGKeywords, EveryValueRoundTrips)
{
    ExpectKeywordsRoundTrip<TSVGAlign>();
    ExpectKeywordsRoundTrip<TSVGShapeRendering>();
    ExpectKeywordsRoundTrip<TSVGColorRendering>();
    ExpectKeywordsRoundTrip<TSVGTextRendering>();
    ExpectKeywordsRoundTrip<TSVGColorInterpolation>();
}

TEST(SVGKeywords, LookupIsExactAfterTrimming)
{
    struct Case {
        const char16_t* Text;
        TSVGShapeRendering Expected;
    } cases[] = {
        {u"crispEdges", srnCrispEdges},
        {u" \t geometricPrecision \n", srnGeometricPrecision},
        {u"CrispEdges", srnNone}, // keywords compare with case
        {u"crisp Edges", srnNone},
        {u"none", srnNone},
        {u"", srnNone},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SVGParseKeyword<TSVGShapeRendering>(c.Text), c.Expected) << QString::fromUtf16(c.Text).toStdString();
}

TEST(SVGKeywords, UnknownTextGivesTheDefault)
{
    EXPECT_EQ(SVGParseKeyword(u"bogus", srnAuto), srnAuto);
    EXPECT_EQ(SVGParseKeyword(u"", clrnOptimizeQuality), clrnOptimizeQuality);
    EXPECT_EQ(SVGParseKeyword(u"sRGB", sciAuto), sciSRGB);
    EXPECT_EQ(SVGParseKeyword<TSVGAlign>(u"xMaxYMid"), saXMaxYMid);
    EXPECT_EQ(SVGKeywordToStr(static_cast<TSVGTextRendering>(99)), "");
    EXPECT_EQ(EnumName(txrnOptimizeLegibility), "txrnOptimizeLegibility");
}

} // namespace
