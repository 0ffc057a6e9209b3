#include "svg/exceptions.h"
#include "svg/selector_tokens.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

using namespace velk;
using velk::testing::MessageOf;

namespace {

// The tokens as their ToString texts, one line each.
QString Describe(const TSVGSelectorTokens& Tokens)
{
    QStringList lines;
    for (const TSVGSelectorToken& token : Tokens)
        lines.append(token.ToString());
    return lines.join(u'\n');
}

TEST(SVGTokenizeSelector, TokensOfSelectors)
{
    struct Case {
        const char16_t* Selector;
        const char* Tokens;
    } cases[] = {
        {u"", ""},
        {u"   ", ""},
        {u"rect", "sttString() = \"rect\""},
        {u"rect.warn", "sttString() = \"rect\"\nsttClassChar(.) = \"warn\""},
        {u"#logo", "sttIDHashChar(#) = \"logo\""},
        {u"# logo", "sttIDHashChar(#) = \"logo\""},
        {u"g rect", "sttString() = \"g\"\nsttHasDescendant( ) = \"rect\""},
        {u"a b c", "sttString() = \"a\"\nsttHasDescendant( ) = \"b\"\nsttHasDescendant( ) = \"c\""},
        {u"g > rect", "sttString() = \"g\"\nsttHasChild(>) = \"rect\""},
        {u"g>rect c", "sttString() = \"g\"\nsttHasChild(>) = \"rect\"\nsttHasDescendant( ) = \"c\""},
        {u"g + rect", "sttString() = \"g\"\nsttHasFollower(+) = \"rect\""},
        {u"* rect", "sttUniversalChar(*) = \"rect\""},
        {u"circle:first-child", "sttString() = \"circle\"\nsttColonChar(:) = \"first-child\""},
        {u"text:lang(en)", "sttString() = \"text\"\nsttColonChar(:) = \"lang\"\nsttLanguage(lang) = \"en\""},
        {u"text:lang(en", "sttString() = \"text\"\nsttColonChar(:) = \"lang\"\nsttLanguage(lang) = \"en\""},
        {u"[fill]", "sttHasAttribute([) = \"fill\""},
        {u"[ fill ]", "sttHasAttribute([) = \"fill\""},
        {u"[fill=\"red\"]", "sttHasAttribute([) = \"fill\"\nsttExactMatch(=) = \"red\""},
        {u"rect[fill='red'].a", "sttString() = \"rect\"\nsttHasAttribute([) = \"fill\"\nsttExactMatch(=) = \"red\"\n"
                                 "sttClassChar(.) = \"a\""},
        {u"[class~=big]", "sttHasAttribute([) = \"class\"\nsttContainsWord(~=) = \"big\""},
        {u"[a^=b]", "sttHasAttribute([) = \"a\"\nsttPrefixMatch(^=) = \"b\""},
        {u"[a$=b]", "sttHasAttribute([) = \"a\"\nsttSuffixMatch($=) = \"b\""},
        {u"[a*=b]", "sttHasAttribute([) = \"a\"\nsttSubstringMatch(*=) = \"b\""},
        {u"[lang|=en]", "sttHasAttribute([) = \"lang\"\nsttDashMatch(|=) = \"en\""},
        {u"[a==b]", "sttHasAttribute([) = \"a\"\nsttExactMatch(=) = \"=b\""},
        {u"rect.", "sttString() = \"rect\"\nsttClassChar(.) = \"\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Describe(SVGTokenizeSelector(c.Selector)), c.Tokens) << QString::fromUtf16(c.Selector).toStdString();
}

TEST(SVGTokenizeSelector, MalformedAttributeSelectorsRaise)
{
    for (const char16_t* selector : {u"[fill^red]", u"[fill", u"[", u"rect [fill=red", u"[fill~", u"[a|b]"})
        EXPECT_EQ(MessageOf<ESVGException>([&] { SVGTokenizeSelector(selector); }),
                  u"Invalid selector: "_qs + QString::fromUtf16(selector));
}

TEST(SVGTokenizeSelector, LongSelectorsAreReadInOnePass)
{
    QString selector;
    for (int i = 0; i < 20000; ++i)
        selector += u"g > x [a=b] (y) ";
    EXPECT_EQ(SVGTokenizeSelector(selector).size(), 5 * 20000);
}

TEST(SVGSelectorTokenTexts, LookUpExactly)
{
    struct Case {
        const char16_t* Text;
        TSVGSelectorTokenType Type;
    } cases[] = {
        {u"[", sttHasAttribute}, {u"|=", sttDashMatch}, {u"~=", sttContainsWord}, {u" ", sttHasDescendant},
        {u"lang", sttLanguage},  {u"Lang", sttNone},    {u"", sttNone},          {u"==", sttNone},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SVGStrToSelectorTokenType(c.Text), c.Type) << QString::fromUtf16(c.Text).toStdString();
    EXPECT_EQ(TSVGSelectorToken::Create(sttClassChar, u"warn"_qs).ToString(), "sttClassChar(.) = \"warn\"");
}

} // namespace
