#include "platform/xml/document.h"
#include "svg/style_writer.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

using namespace velk;

namespace {

struct Case {
    TSVGStyleProperty Property;
    const char16_t* Value;
    bool SkipDefault;
    bool Inherited;
    const char16_t* Default;
    const char* Attribute; // the attribute form's value, nullptr when not written
    const char* Style;     // the style form's declaration, nullptr when not written
};

// opacity does not inherit; fill does.
const Case Cases[] = {
    {ipOpacity, u"0.5", true, false, u"1", "0.5", "opacity:0.5"},
    {ipOpacity, u"1", true, false, u"1", nullptr, nullptr},     // the default, skipped
    {ipOpacity, u"1", false, false, u"1", "1", "opacity:1"},
    {ipFill, u"black", true, false, u"black", "black", "fill:black"}, // an inheriting property keeps its default
    {ipFill, u"red", true, true, u"black", nullptr, nullptr},    // inherits anyway
    {ipOpacity, u"0.5", true, true, u"1", "inherit", "opacity:inherit"},
    {ipClipPath, u"", true, false, u"none", nullptr, nullptr},   // empty means "none", the default
    {ipClipPath, u"", false, false, u"none", "none", "clip-path:none"},
    {ipStrokeWidth, u"", false, false, u"1", nullptr, nullptr},  // nothing to write
    {ipNone, u"x", false, false, u"", nullptr, nullptr},
};

TEST(SVGWriteStyleProperty, AttributeForm)
{
    for (const Case& c : Cases) {
        TXMLDocument doc = TXMLDocument::CreateDocument(u"rect"_qs);
        TXMLNode node = doc.DocumentElement();
        const QString name = SVGStylePropertyName(c.Property);
        if (!name.isEmpty())
            node.SetAttribute(name, u"old"_qs); // replaced, or removed when nothing is written
        const bool written = SVGWriteStyleProperty(node, c.Property, QString::fromUtf16(c.Value), c.SkipDefault,
                                                   c.Inherited, false, QString::fromUtf16(c.Default));
        const std::string context = EnumName(c.Property).toStdString() + " " + QString::fromUtf16(c.Value).toStdString();
        EXPECT_EQ(written, c.Attribute != nullptr) << context;
        EXPECT_EQ(node.AttributeCount(), c.Attribute ? 1 : 0) << context;
        if (c.Attribute) {
            EXPECT_EQ(node.Attribute(name), c.Attribute) << context;
        }
    }
}

TEST(SVGWriteStyleProperty, StyleFormAppendsDeclarations)
{
    for (const Case& c : Cases) {
        TXMLDocument doc = TXMLDocument::CreateDocument(u"rect"_qs);
        TXMLNode node = doc.DocumentElement();
        node.SetAttribute(u"style"_qs, u"stroke:red"_qs);
        const bool written = SVGWriteStyleProperty(node, c.Property, QString::fromUtf16(c.Value), c.SkipDefault,
                                                   c.Inherited, true, QString::fromUtf16(c.Default));
        const std::string context = EnumName(c.Property).toStdString() + " " + QString::fromUtf16(c.Value).toStdString();
        EXPECT_EQ(written, c.Style != nullptr) << context;
        EXPECT_EQ(node.Attribute(u"style"_qs), c.Style ? "stroke:red; " + QString::fromUtf8(c.Style) : u"stroke:red"_qs)
            << context;
        EXPECT_EQ(node.AttributeCount(), 1) << context;
    }
}

TEST(SVGWriteStyleProperty, FirstDeclarationStartsTheStyle)
{
    TXMLDocument doc = TXMLDocument::CreateDocument(u"rect"_qs);
    TXMLNode node = doc.DocumentElement();
    EXPECT_TRUE(SVGWriteStyleProperty(node, ipFill, u"red"_qs, true, false, true, u"black"_qs));
    EXPECT_TRUE(SVGWriteStyleProperty(node, ipOpacity, u"0.5"_qs, true, false, true, u"1"_qs));
    EXPECT_EQ(node.Attribute(u"style"_qs), "fill:red; opacity:0.5");
}

} // namespace
