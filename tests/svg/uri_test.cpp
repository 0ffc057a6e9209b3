#include "platform/xml/document.h"
#include "svg/uri.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

using namespace velk;

namespace {

struct TextCase {
    const char16_t* Text;
    const char16_t* Expected;
};

TEST(SVGParsePaintURI, ReferencesButNotColours)
{
    const TextCase cases[] = {
        {u"url(#grad)", u"grad"},
        {u"  URL(#grad) ", u"grad"},
        {u"uri(#grad)", u"grad"},
        {u"#grad", u"grad"},
        {u"#abcde", u"abcde"},
        // Hexadecimal colours, with and without alpha.
        {u"#abc", u""},
        {u"#F0A", u""},
        {u"#abcd", u""},
        {u"#c0ffee", u""},
        {u"#80FF0000", u""},
        {u"#", u""},
        {u"url(#grad) red", u""},
        {u"url(grad)", u""},
        {u"url(#grad", u""},
        {u"red", u""},
        {u"none", u""},
        {u"", u""},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(SVGParsePaintURI(c.Text), QString::fromUtf16(c.Expected)) << QString::fromUtf16(c.Text).toStdString();
}

TEST(SVGParseURI, FragmentsGiveTheIDAndOtherTextStays)
{
    const TextCase cases[] = {
        {u"#abc", u"abc"}, // an element ID that happens to be hexadecimal
        {u"#shape", u"shape"},
        {u"url(#shape)", u"shape"},
        {u"Uri(#shape)", u"shape"},
        {u" image file.png ", u"image file.png"},
        {u"data:image/png;base64,AAAA", u"data:image/png;base64,AAAA"},
        {u"other.svg#shape", u"other.svg#shape"},
        {u"", u""},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(SVGParseURI(c.Text), QString::fromUtf16(c.Expected)) << QString::fromUtf16(c.Text).toStdString();
}

TEST(SVGParseStyleURI, InheritAndEmptyResultsKeepTheCurrentReference)
{
    struct Case {
        const char16_t* Text;
        bool InheritBefore;
        const char* Paint;
        const char* Link;
        bool InheritAfter;
    } cases[] = {
        {u"url(#g)", true, "g", "g", false},
        {u" inherit ", false, "current", "current", true},
        {u"", true, "current", "current", true},     // empty text keeps the flag
        {u"", false, "current", "current", false},
        {u"red", true, "current", "red", false},     // no paint reference: the current one stays
        {u"#", false, "current", "current", false},
    };
    for (const Case& c : cases) {
        const std::string context = QString::fromUtf16(c.Text).toStdString();
        bool inherit = c.InheritBefore;
        EXPECT_EQ(SVGParseStylePaintURI(c.Text, u"current"_qs, inherit), c.Paint) << context;
        EXPECT_EQ(inherit, c.InheritAfter) << context;
        inherit = c.InheritBefore;
        EXPECT_EQ(SVGParseStyleURI(c.Text, u"current"_qs, inherit), c.Link) << context;
        EXPECT_EQ(inherit, c.InheritAfter) << context;
    }
}

TEST(SVGReadURIAttribute, ReadsTheAttributeOrGivesTheDefault)
{
    const TXMLDocument doc = TXMLDocument::LoadFromBytes(
        "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink'>"
        "<use xlink:href='#abc'/><use href='url(#plain)'/><use xlink:href=''/></svg>");
    const std::vector<TXMLNode> uses = doc.DocumentElement().ChildNodes();
    ASSERT_EQ(uses.size(), 3u);
    const QString href = u"href"_qs, xlink = u"xlink"_qs, fallback = u"fallback"_qs;
    EXPECT_EQ(SVGReadURIAttribute(uses[0], href, fallback, xlink), "abc");
    EXPECT_EQ(SVGReadURIAttribute(uses[0], href, fallback), "fallback"); // no href without namespace
    EXPECT_EQ(SVGReadURIAttribute(uses[1], href, fallback), "plain");
    EXPECT_EQ(SVGReadURIAttribute(uses[1], href, fallback, xlink), "fallback");
    EXPECT_EQ(SVGReadURIAttribute(uses[2], href, fallback, xlink), "");
}

} // namespace
