#include "platform/string_list.h"
#include "platform/xml/document.h"
#include "svg/xml_attributes.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

using namespace velk;
using velk::testing::Lines;

namespace {

TXMLDocument Parse(const char* Text)
{
    return TXMLDocument::LoadFromBytes(QByteArray(Text));
}

TEST(SVGCleanStrings, TrimsAndDropsEmptyItemsInOrder)
{
    EXPECT_EQ(SVGCleanStrings({u" a "_qs, u""_qs, u"\t\n"_qs, u"b"_qs, u"c d"_qs}),
              QStringList({u"a"_qs, u"b"_qs, u"c d"_qs}));
    EXPECT_EQ(SVGCleanStrings({}), QStringList());
}

TEST(SVGReadAttribute, ResolvesPrefixesAndKeepsEmptyValues)
{
    const TXMLDocument doc = Parse("<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink'>"
                                   "<use xlink:href='#linked' href='#plain' fill=''/></svg>");
    const TXMLNode use = doc.DocumentElement().FirstChild();
    // Prefixes that the parser could not resolve stay part of the attribute's name.
    const TXMLDocument undeclared = Parse("<svg><use xlink:href='#recovered'/></svg>");
    struct Case {
        TXMLNode Node;
        const char16_t* Name;
        const char16_t* Namespace;
        const char16_t* Expected;
    };
    const Case cases[] = {
        {use, u"href", u"xlink", u"#linked"},
        {use, u"href", u"http://www.w3.org/1999/xlink", u"#linked"},
        {use, u"href", u"", u"#plain"},
        {use, u"fill", u"", u""},
        {use, u"stroke", u"", u"default"},
        {use, u"fill", u"xlink", u"default"},
        {undeclared.DocumentElement().FirstChild(), u"href", u"xlink", u"#recovered"},
        {undeclared.DocumentElement().FirstChild(), u"href", u"", u"default"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.Name).toStdString() + " " + QString::fromUtf16(c.Namespace).toStdString());
        EXPECT_EQ(SVGReadAttribute(c.Node, QString::fromUtf16(c.Name), u"default"_qs, QString::fromUtf16(c.Namespace)),
                  QString::fromUtf16(c.Expected));
    }
}

TEST(SVGReadChildText, FirstChildOfThatNameOrDefault)
{
    const TXMLDocument doc = Parse("<g><title>one</title><title>two</title><desc/></g>");
    const TXMLNode g = doc.DocumentElement();
    EXPECT_EQ(SVGReadChildText(g, u"title"_qs, u"none"_qs), "one");
    EXPECT_EQ(SVGReadChildText(g, u"desc"_qs, u"none"_qs), "");
    EXPECT_EQ(SVGReadChildText(g, u"metadata"_qs, u"none"_qs), "none");
}

TEST(SVGReadStrings, SplitsCleansOrLeavesTheListAlone)
{
    const TXMLDocument doc = Parse("<g systemLanguage='en,  fr' requiredFeatures='' class=' , '/>");
    const TXMLNode g = doc.DocumentElement();
    struct Case {
        const char16_t* Name;
        QStringList Expected;
    };
    const Case cases[] = {
        {u"systemLanguage", {u"en"_qs, u"fr"_qs}},
        {u"requiredFeatures", {u""_qs}},
        {u"class", {u""_qs}},
        {u"requiredExtensions", {u"untouched"_qs}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.Name).toStdString());
        TStringList list;
        list.Add(u"untouched"_qs);
        SVGReadStrings(g, QString::fromUtf16(c.Name), list);
        EXPECT_EQ(Lines(list), c.Expected);
    }
}

TEST(SVGWriteAttribute, WritesOrRemovesWhenOmitted)
{
    TXMLDocument doc = Parse("<svg xmlns:xlink='http://www.w3.org/1999/xlink'><use id='a' xlink:href='#b'/></svg>");
    TXMLNode use = doc.DocumentElement().FirstChild();

    EXPECT_TRUE(SVGWriteAttribute(use, u"x"_qs, u"10"_qs));
    EXPECT_EQ(use.Attribute(u"x"_qs), "10");
    EXPECT_TRUE(SVGWriteAttribute(use, u"x"_qs, u"20"_qs, false, true));
    EXPECT_EQ(use.Attribute(u"x"_qs), "20");

    EXPECT_FALSE(SVGWriteAttribute(use, u"id"_qs, u"ignored"_qs, true, false));
    EXPECT_EQ(use.Attribute(u"id"_qs), "a");
    EXPECT_FALSE(SVGWriteAttribute(use, u"id"_qs, u"ignored"_qs, true, true));
    EXPECT_FALSE(use.HasAttribute(u"id"_qs));
    EXPECT_FALSE(SVGWriteAttribute(use, u"missing"_qs, u""_qs, true, true));

    EXPECT_FALSE(SVGWriteAttribute(use, u"xlink:href"_qs, u""_qs, true, true));
    EXPECT_FALSE(use.HasAttribute(u"href"_qs, XLinkNamespaceURI));
    EXPECT_TRUE(SVGWriteAttribute(use, u"xlink:href"_qs, u"#c"_qs));
    EXPECT_EQ(SVGReadAttribute(use, u"href"_qs, {}, u"xlink"_qs), "#c");
    EXPECT_EQ(use.AttributeCount(), 2);
}

TEST(SVGWriteStrings, JoinsAsDelimitedText)
{
    TXMLDocument doc = Parse("<g class='old'/>");
    TXMLNode g = doc.DocumentElement();
    TStringList items;
    for (const char16_t* item : {u"en", u"fr ca", u"say \"hi\""})
        items.Add(QString::fromUtf16(item));
    EXPECT_TRUE(SVGWriteStrings(g, u"systemLanguage"_qs, items, u' '));
    EXPECT_EQ(g.Attribute(u"systemLanguage"_qs), R"(en "fr ca" "say ""hi""")");
    EXPECT_TRUE(SVGWriteStrings(g, u"requiredFeatures"_qs, items, u','));
    EXPECT_EQ(g.Attribute(u"requiredFeatures"_qs), R"(en,"fr ca","say ""hi""")");
    EXPECT_FALSE(SVGWriteStrings(g, u"class"_qs, TStringList(), u' ', true));
    EXPECT_FALSE(g.HasAttribute(u"class"_qs));
}

TEST(SVGWriteChildText, ReplacesCreatesAndRemovesTheChild)
{
    TXMLDocument doc = Parse("<svg xmlns='http://www.w3.org/2000/svg'><title>old</title><rect/></svg>");
    TXMLNode svg = doc.DocumentElement();

    EXPECT_TRUE(SVGWriteChildText(svg, u"title"_qs, u"new <&>"_qs));
    EXPECT_EQ(svg.ChildNodes().size(), 2u);
    EXPECT_EQ(SVGReadChildText(svg, u"title"_qs), "new <&>");

    EXPECT_TRUE(SVGWriteChildText(svg, u"desc"_qs, u"about"_qs));
    const TXMLNode desc = svg.FindChild(u"desc"_qs);
    ASSERT_FALSE(desc.IsNull());
    EXPECT_EQ(desc.NamespaceURI(), SVGNamespaceURI);
    EXPECT_EQ(desc.Text(), "about");

    EXPECT_FALSE(SVGWriteChildText(svg, u"title"_qs, {}, true, false));
    EXPECT_FALSE(svg.FindChild(u"title"_qs).IsNull());
    EXPECT_FALSE(SVGWriteChildText(svg, u"title"_qs, {}, true, true));
    EXPECT_TRUE(svg.FindChild(u"title"_qs).IsNull());
    EXPECT_FALSE(SVGWriteChildText(svg, u"title"_qs, {}, true, true));
    EXPECT_EQ(svg.ChildNodes().size(), 2u);
}

} // namespace
