#include "platform/binary_reader.h"
#include "platform/binary_writer.h"
#include "platform/exceptions.h"
#include "platform/xml/document.h"
#include "svg/aspect_ratio.h"
#include "svg/style.h"
#include "tests/support/test_support.h"

#include <QBuffer>
#include <gtest/gtest.h>

using namespace velk;
using velk::testing::MessageOf;

namespace {

TEST(SVGStyle, AddStyleReadsDeclarationBlocks)
{
    struct Case {
        const char16_t* Block;
        const char* Entries;
        TSVGStyleProperties Met;
    } cases[] = {
        {u"fill:red; stroke : blue ;;", "fill=red\nstroke=blue\n", {ipFill, ipStroke}},
        {u"fill:red;fill:green", "fill=green\n", {ipFill}},
        {u"foo:1", "foo=1\n", {ipNone}},
        {u"FILL:red", "FILL=red\n", {ipNone}}, // property names compare with case
        {u"fill: red !important", "fill=red !important\n", {ipFill}},
        {u"/* c */ fill: /* x */ red", "fill=red\n", {ipFill}},
        // A ";" always ends a declaration, also inside url( ).
        {u"fill:url(data:a;b);stroke:red", "fill=url(data:a\nstroke=red\n", {ipFill, ipStroke}},
        {u"fill-opacity:0.5;stroke-width:2px", "fill-opacity=0.5\nstroke-width=2px\n", {ipFillOpacity, ipStrokeWidth}},
        {u"no colon; ; :", "", {}},
        {u"fill:", "", {ipFill}},
        {u" \t\n", "", {}},
    };
    for (const Case& c : cases) {
        TSVGStyle style;
        EXPECT_EQ(style.AddStyle(c.Block), c.Met) << QString::fromUtf16(c.Block).toStdString();
        EXPECT_EQ(style.StyleValues()->Text(), c.Entries) << QString::fromUtf16(c.Block).toStdString();
    }
}

TEST(SVGStyle, LaterDeclarationsReplaceInPlaceAndEmptyValuesRemove)
{
    TSVGStyle style(QString(), u"fill:red; stroke:blue; opacity:1");
    EXPECT_EQ(style.AddStyle(u"Fill:green; opacity:"), TSVGStyleProperties({ipNone, ipOpacity}));
    EXPECT_EQ(style.StyleValues()->Text(), "Fill=green\nstroke=blue\n");
    EXPECT_EQ(style.GetStyleProp(ipFill), "green"); // entries are found without regard to case

    style.SetStyleProp(ipStrokeWidth, u"2"_qs);
    style.SetStyleProp(ipStroke, QString());
    style.SetStyleProp(ipNone, u"x"_qs);
    EXPECT_EQ(style.StyleValues()->Text(), "Fill=green\nstroke-width=2\n");
    EXPECT_EQ(style.GetStyleProp(ipStroke), "");
    EXPECT_EQ(style.GetStyleProp(ipNone), "");

    style.SetStyle(u"stroke:red");
    EXPECT_EQ(style.StyleValues()->Text(), "stroke=red\n");
}

TEST(SVGStyle, ElementAttributesThenItsStyleAttribute)
{
    const TXMLDocument doc = TXMLDocument::LoadFromBytes(
        "<rect xmlns:xlink='http://www.w3.org/1999/xlink' id='r' fill='red' marker='url(#m)'"
        " marker-start='url(#s)' xlink:href='#x' style='fill:blue'/>");
    const TXMLNode node = doc.DocumentElement();
    TSVGStyle style(QString(), u"stroke:black");
    int changes = 0;
    style.OnChange = [&](TObject*) { ++changes; };

    style.LoadFromXML(node);
    EXPECT_EQ(changes, 1);
    // Every attribute by its local name, except the marker shorthand.
    EXPECT_EQ(style.StyleValues()->Text(), "id=r\nfill=red\nmarker-start=url(#s)\nhref=#x\nstyle=fill:blue\n");
    EXPECT_EQ(style.AddStyle(node), TSVGStyleProperties({ipNone, ipFill, ipMarkerStart}));
    EXPECT_EQ(style.StyleValues()->Count(), 10); // AddStyle(Node) appends

    style.LoadFromXML(node);
    style.AddStyle(node.Attribute(u"style"_qs));
    EXPECT_EQ(style.StyleValues()->Text(), "id=r\nfill=blue\nmarker-start=url(#s)\nhref=#x\nstyle=fill:blue\n");
    EXPECT_TRUE(style.IsIgnoredAttribute(u"marker"));
    EXPECT_FALSE(style.IsIgnoredAttribute(u"marker-start"));
}

TEST(SVGStyle, ChangeEvents)
{
    TSVGStyle style;
    int changes = 0;
    style.OnChange = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &style);
        ++changes;
    };
    style.SetEnabled(true);
    style.SetName(QString());
    style.AddStyle(u"  ");
    EXPECT_EQ(changes, 0);
    style.SetEnabled(false);
    style.SetName(u"rect"_qs);
    EXPECT_EQ(changes, 2);
    style.AddStyle(u"fill:red;stroke:blue;opacity:0.5");
    EXPECT_EQ(changes, 3);
    style.SetStyle(u"fill:green");
    EXPECT_EQ(changes, 4);
    style.SetStyleProp(ipFill, u"green"_qs); // unchanged text
    EXPECT_EQ(changes, 4);
    WithinUpdate(*style.StyleValues(), [&] {
        style.SetStyleProp(ipFill, u"red"_qs);
        style.SetStyleProp(ipStroke, u"red"_qs);
    });
    EXPECT_EQ(changes, 5);
}

TEST(SVGStyle, AssignAndToString)
{
    TSVGStyle rule(u"rect"_qs, u"fill:red");
    EXPECT_EQ(rule.ToString(), "rect { fill=red\n }");
    rule.SetEnabled(false);

    TSVGStyle copy;
    int changes = 0;
    copy.OnChange = [&](TObject*) { ++changes; };
    copy.Assign(&rule);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(copy.ToString(), "rect { fill=red\n }");
    EXPECT_TRUE(copy.Enabled()); // not copied

    TStringList lines;
    lines.SetText(u"stroke=blue\nfill=none");
    copy.Assign(&lines);
    EXPECT_EQ(copy.ToString(), "rect { stroke=blue\nfill=none\n }");
    TStringList out;
    out.Assign(&rule); // through TSVGStyle::AssignTo
    EXPECT_EQ(out.Text(), "fill=red\n");

    TPersistent other;
    EXPECT_EQ(MessageOf<EConvertError>([&] { copy.Assign(&other); }), "Cannot assign a TPersistent to a TSVGStyle");
    TSVGPreserveAspectRatio ratio;
    EXPECT_EQ(MessageOf<EConvertError>([&] { ratio.Assign(&rule); }),
              "Cannot assign a TSVGStyle to a TSVGPreserveAspectRatio");
}

TEST(SVGStyle, BinaryStreamRoundTrip)
{
    TSVGStyle rule(u"g > rect"_qs, u"fill:red; stroke-width:2");
    rule.SetEnabled(false);
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    {
        TWriter writer(buffer);
        writer.WriteRoot(rule);
    }
    buffer.seek(0);
    TSVGStyle read(QString(), u"opacity:0");
    TReader reader(buffer);
    reader.ReadRoot(read);
    EXPECT_EQ(read.ToString(), rule.ToString());
    EXPECT_FALSE(read.Enabled());
}

TEST(SVGStyle, NamedPropertiesReadAndWriteTheDeclarations)
{
    struct Case {
        QString (TSVGStyle::*Get)() const;
        void (TSVGStyle::*Set)(const QString&);
        TSVGStyleProperty Property;
        const char16_t* Published;
    };
    const Case cases[] = {
        {&TSVGStyle::Fill, &TSVGStyle::SetFill, ipFill, u"Fill"},
        {&TSVGStyle::Stroke_Width, &TSVGStyle::SetStroke_Width, ipStrokeWidth, u"Stroke_Width"},
        {&TSVGStyle::Glyph_Orientation_horizontal, &TSVGStyle::SetGlyph_Orientation_horizontal,
         ipGlyphOrientationHorizontal, u"Glyph_Orientation_horizontal"},
        {&TSVGStyle::Letter_spacing, &TSVGStyle::SetLetter_spacing, ipLetterSpacing, u"Letter_spacing"},
        {&TSVGStyle::Writing_Mode, &TSVGStyle::SetWriting_Mode, ipWritingMode, u"Writing_Mode"},
    };
    for (const Case& c : cases) {
        const QString name = QString::fromUtf16(c.Published);
        TSVGStyle style;
        (style.*c.Set)(u"v1"_qs);
        EXPECT_EQ(style.GetStyleProp(c.Property), u"v1"_qs) << name.toStdString();
        style.SetStyleProp(c.Property, u"v2"_qs);
        EXPECT_EQ((style.*c.Get)(), u"v2"_qs) << name.toStdString();
        const TPropertyInfo* published = style.ClassInfo().FindProperty(name);
        ASSERT_NE(published, nullptr) << name.toStdString();
        published->Set(style, u"v3"_qs);
        EXPECT_EQ(std::get<QString>(published->Get(style)), u"v3"_qs) << name.toStdString();
        EXPECT_FALSE(published->IsStored(style)) << name.toStdString(); // StyleValues streams it
        (style.*c.Set)(QString());
        EXPECT_EQ(style.StyleValues()->Count(), 0) << name.toStdString();
    }
    // flood-color and flood-opacity only through GetStyleProp.
    EXPECT_EQ(TSVGStyle::StaticClass().FindProperty(u"Flood_Color"), nullptr);
    EXPECT_EQ(TSVGStyle::StaticClass().FindProperty(u"Flood_Opacity"), nullptr);
}

} // namespace
