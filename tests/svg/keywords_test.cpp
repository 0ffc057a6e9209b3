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
    ExpectKeywordsRoundTrip<TSVGAlignmentBaseline>();
    ExpectKeywordsRoundTrip<TSVGBaselineShift>();
    ExpectKeywordsRoundTrip<TSVGDominantBaseline>();
    ExpectKeywordsRoundTrip<TSVGTextPathMethod>();
    ExpectKeywordsRoundTrip<TSVGTextPathSpacing>();
    ExpectKeywordsRoundTrip<TSVGDirection>();
    ExpectKeywordsRoundTrip<TSVGWritingMode>();
    ExpectKeywordsRoundTrip<TSVGFillRule>();
    ExpectKeywordsRoundTrip<TSVGVectorEffect>();
    ExpectKeywordsRoundTrip<TSVGMarkerUnit>();
    ExpectKeywordsRoundTrip<TSVGCoordinateSystemUnit>();
    ExpectKeywordsRoundTrip<TSVGGradientSpread>();
    ExpectKeywordsRoundTrip<TSVGFontWeight>();
    ExpectKeywordsRoundTrip<TSVGFontVariant>();
}

// The value of Keyword is the one named Name.
template <KeywordEnum E>
void ExpectKeyword(const char16_t* Keyword, const char* Name)
{
    EXPECT_EQ(EnumName(SVGParseKeyword<E>(Keyword)), Name) << QString::fromUtf16(Keyword).toStdString();
}

// Keywords whose value names do not follow from them, and the ends of the tables.
TEST(SVGKeywords, KeywordsAndValueNames)
{
    ExpectKeyword<TSVGAlignmentBaseline>(u"mathematical", "abMathematica");
    ExpectKeyword<TSVGAlignmentBaseline>(u"text-after-edge", "abTextAfterEdge");
    ExpectKeyword<TSVGBaselineShift>(u"super", "bsSuperscript");
    ExpectKeyword<TSVGDominantBaseline>(u"text-before-edge", "dbTextBeforeEdge");
    ExpectKeyword<TSVGTextPathMethod>(u"stretch", "tpmStretch");
    ExpectKeyword<TSVGTextPathSpacing>(u"auto", "tpsAuto");
    ExpectKeyword<TSVGDirection>(u"rtl", "dirRightToLeft");
    ExpectKeyword<TSVGWritingMode>(u"tb-rl", "wmTopBottom_RightLeft");
    ExpectKeyword<TSVGWritingMode>(u"tb", "wmTopBottom");
    ExpectKeyword<TSVGFillRule>(u"evenodd", "frEvenOdd");
    ExpectKeyword<TSVGVectorEffect>(u"non-scaling-stroke", "veNonScalingStroke");
    ExpectKeyword<TSVGMarkerUnit>(u"userSpaceOnUse", "muUserSpaceOnUse");
    ExpectKeyword<TSVGCoordinateSystemUnit>(u"objectBoundingBox", "csuObjectBoundingBox");
    ExpectKeyword<TSVGGradientSpread>(u"repeat", "gsRepeat");
    ExpectKeyword<TSVGFontWeight>(u"lighter", "fwLighter");
    ExpectKeyword<TSVGFontWeight>(u"100", "fw100");
    ExpectKeyword<TSVGFontWeight>(u"900", "fw900");
    ExpectKeyword<TSVGFontVariant>(u"small-caps", "fvSmallCaps");
    ExpectKeyword<TSVGFontVariant>(u"titlecase", "fvTitleCase");
    EXPECT_EQ(SVGParseKeyword<TSVGFontWeight>(u"950"), fwNone);
    EXPECT_EQ(SVGParseKeyword<TSVGFillRule>(u"EvenOdd"), frNone);
    EXPECT_EQ(EnumNames<TSVGGlyphOrientationVertical>::Names,
              (std::array<std::u16string_view, 6>{u"ovNone", u"ovAuto", u"ov0Deg", u"ov90Deg", u"ov180Deg",
                                                  u"ov270Deg"}));
    EXPECT_EQ(EnumNames<TSVGGlyphOrientationHorizontal>::Names,
              (std::array<std::u16string_view, 5>{u"ohNone", u"oh0Deg", u"oh90Deg", u"oh180Deg", u"oh270Deg"}));
}

TEST(SVGSameTextASCII, LettersWithoutCaseOthersExactly)
{
    EXPECT_TRUE(SVGSameTextASCII(u"INFINITY", u"Infinity"));
    EXPECT_TRUE(SVGSameTextASCII(u"-infinity", u"-Infinity"));
    EXPECT_FALSE(SVGSameTextASCII(u"Infinit", u"Infinity"));
    EXPECT_FALSE(SVGSameTextASCII(u"blac\u212A", u"black")); // the Kelvin sign folds to "k" in Unicode
    EXPECT_FALSE(SVGSameTextASCII(u"\u0130nfinity", u"infinity"));
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
