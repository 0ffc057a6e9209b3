// What a graphic element writes of its presentation properties, as attributes, "style"
// declarations and the declarations of a TSVGStyle.

#include "platform/xml/document.h"
#include "svg/document.h"
#include "svg/group.h"
#include "svg/length_syntax.h"
#include "tests/support/gui_application.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

using namespace velk;

namespace {

class GraphicElementWriting : public ::testing::Test {
protected:
    static void SetUpTestSuite() { velk::testing::EnsureGuiApplication(); }
};

// The attributes Element writes into a fresh node.
TXMLDocument Written(TSVGGraphicElement& Element)
{
    TXMLDocument xml = TXMLDocument::CreateDocument(u"g"_qs);
    Element.SaveToXML(xml.DocumentElement());
    return xml;
}

// The property leaves the inherit set and takes Setup's value.
void Own(TSVGGraphicElement& Element, TSVGStyleProperty Property)
{
    Element.Inherits().SetByIndex(Property, false);
}

struct Case {
    const char* Name;
    std::function<void(TSVGDocument&, TSVGGroup&)> Setup;
    // Attribute → expected value; nullptr: not written.
    std::vector<std::pair<const char16_t*, const char16_t*>> Attributes;
};

} // namespace

TEST_F(GraphicElementWriting, WritesTheOwnValues)
{
    const Case cases[] = {
        {"nothing of its own",
         [](TSVGDocument&, TSVGGroup&) {},
         {{u"fill", nullptr}, {u"stroke", nullptr}, {u"opacity", nullptr}, {u"display", nullptr},
          {u"visibility", nullptr}, {u"transform", nullptr}, {u"color", nullptr}, {u"style", nullptr}}},
        {"visible",
         [](TSVGDocument&, TSVGGroup& g) { Own(g, ipVisibility); },
         {{u"visibility", u"visible"}, {u"display", nullptr}}},
        {"hidden",
         [](TSVGDocument&, TSVGGroup& g) { g.SetVisible(false); },
         {{u"visibility", u"hidden"}, {u"display", nullptr}}},
        {"not displayed",
         [](TSVGDocument&, TSVGGroup& g) { g.SetDisplay(false); },
         {{u"visibility", nullptr}, {u"display", u"none"}}},
        {"color is never written",
         [](TSVGDocument&, TSVGGroup& g) {
             g.SetColor(0xFF00FF00);
             Own(g, ipColor);
         },
         {{u"color", nullptr}}},
        {"fill and stroke",
         [](TSVGDocument&, TSVGGroup& g) {
             Own(g, ipFill);
             Own(g, ipStroke);
             g.OwnBrush().SetColor(0xFF102030);
             g.OwnPen().SetURI(u"grad"_qs);
             g.OwnBrush().SetURI(u"grad"_qs);
         },
         // A reference without a fallback is kind none; one with a fallback keeps its colour.
         {{u"fill", u"url(#grad) #102030"}, {u"stroke", u"url(#grad)"}}},
        {"default fill of its own stops the parent's",
         [](TSVGDocument&, TSVGGroup& g) {
             Own(g, ipFill);
             Own(g, ipStroke);
         },
         {{u"fill", u"#000000"}, {u"stroke", u"none"}}},
        {"inherit for a property that does not inherit by default",
         [](TSVGDocument&, TSVGGroup& g) { g.Inherits().SetByIndex(ipOpacity, true); },
         {{u"opacity", u"inherit"}}},
        {"opacity default and percent",
         [](TSVGDocument&, TSVGGroup& g) {
             g.SetOpacity(0.25f);
             g.SetOpacityPreferredUnit(suPercent);
         },
         {{u"opacity", u"25%"}}},
        {"stroke width and dashes keep their units",
         [](TSVGDocument& d, TSVGGroup& g) {
             for (TSVGStyleProperty p : {ipStrokeWidth, ipStrokeDasharray, ipStrokeDashOffset})
                 Own(g, p);
             g.OwnPen().SetThickness(10 * d.GetUnitFactors()[suMillimeters]);
             g.OwnPen().SetThicknessPreferredUnit(suMillimeters);
             SVGParseLength(u"2pt", *g.OwnPen().SVGDashOffset(), 0, 1);
             g.OwnPen().SetCustomDashArray(u"4 50%"_qs);
         },
         {{u"stroke-width", u"10mm"}, {u"stroke-dasharray", u"4 50%"}, {u"stroke-dashoffset", u"2pt"}}},
        {"stroke width as a percentage",
         [](TSVGDocument&, TSVGGroup& g) {
             Own(g, ipStrokeWidth);
             g.OwnPen().SetThickness(0.5f);
             g.OwnPen().SetThicknessIsPercent(true);
             g.OwnPen().SetThicknessPreferredUnit(suPercent);
         },
         {{u"stroke-width", u"50%"}}},
        {"clip rectangle as top right bottom left",
         [](TSVGDocument&, TSVGGroup& g) { g.SetClipRect(TRectF{4, 1, 2, 3}); },
         {{u"clip", u"rect(1 2 3 4)"}}},
        {"clip-path naming an element",
         [](TSVGDocument& d, TSVGGroup& g) {
             d.Add(std::make_unique<TSVGGroup>(&d))->SetID(u"c"_qs);
             g.SetClipURI(u"c"_qs);
         },
         {{u"clip-path", u"url(#c)"}}},
        {"clip-path naming nothing",
         [](TSVGDocument&, TSVGGroup& g) { g.SetClipURI(u"missing"_qs); },
         {{u"clip-path", nullptr}}},
        {"font",
         [](TSVGDocument&, TSVGGroup& g) {
             for (TSVGStyleProperty p : {ipFontFamily, ipFontSize, ipFontWeight, ipFontStyle, ipTextDecoration})
                 Own(g, p);
             g.OwnFont().Families()->Add(u"Times New Roman"_qs);
             g.OwnFont().Families()->Add(u"serif"_qs);
             g.OwnFont().SetSize(24);
             g.OwnFont().SetSizePreferredUnit(suPoints);
             g.OwnFont().SetWeight(fw700);
             g.OwnFont().SetStyle({fsItalic, fsBold, fsStrikeOut});
         },
         {{u"font-family", u"'Times New Roman', serif"}, {u"font-size", u"18pt"}, {u"font-weight", u"700"},
          {u"font-style", u"italic"}, {u"text-decoration", u"line-through"}}},
        {"identity within 0.00001",
         [](TSVGDocument&, TSVGGroup& g) {
             TMatrix m = IdentityMatrix;
             m.m11 = 1.000005f;
             m.m32 = -0.000005f;
             g.SetMatrix(m);
         },
         {{u"transform", nullptr}}},
        {"transform",
         [](TSVGDocument&, TSVGGroup& g) { g.SetTransformMatrix(u"translate(5 0)"_qs); },
         {{u"transform", u"translate(5 0)"}}},
        {"preferred properties go into style, the transform never",
         [](TSVGDocument&, TSVGGroup& g) {
             Own(g, ipFill);
             g.OwnBrush().SetColor(0xFFFF0000);
             g.SetOpacity(0.5f);
             g.SetTransformMatrix(u"scale(2 2)"_qs);
             g.SetPreferredStyles(TSVGStylePropertiesSet({ipFill, ipOpacity, ipStroke}));
         },
         {{u"fill", nullptr}, {u"opacity", nullptr}, {u"style", u"fill:#ff0000; opacity:0.5"},
          {u"transform", u"scale(2 2)"}}},
    };
    for (const Case& c : cases) {
        TSVGDocument doc;
        TSVGGroup& g = *doc.Add(std::make_unique<TSVGGroup>(&doc));
        c.Setup(doc, g);
        const TXMLDocument xml = Written(g);
        const TXMLNode node = xml.DocumentElement();
        for (const auto& [name, value] : c.Attributes) {
            const QString attribute = QString::fromUtf16(name);
            EXPECT_EQ(node.HasAttribute(attribute), value != nullptr) << c.Name << ": " << attribute.toStdString();
            if (value) {
                EXPECT_EQ(node.Attribute(attribute), QString::fromUtf16(value)) << c.Name;
            }
        }
    }
}

TEST_F(GraphicElementWriting, CurrentColorIsWrittenAsTheResolvedColour)
{
    TSVGDocument doc;
    doc.LoadFromText(u"<svg xmlns='http://www.w3.org/2000/svg'>"
                     "<g id='a' color='#00ff00' fill='currentColor' stroke='currentColor'/></svg>"_qs);
    auto& g = dynamic_cast<TSVGGraphicElement&>(*doc.AllItems().Get(u"a"_qs));
    const TXMLDocument xml = Written(g);
    const TXMLNode node = xml.DocumentElement();
    EXPECT_EQ(node.Attribute(u"fill"_qs), u"#00ff00"_qs);
    EXPECT_EQ(node.Attribute(u"stroke"_qs), u"#00ff00"_qs);
    EXPECT_FALSE(node.HasAttribute(u"color"_qs));
}

TEST_F(GraphicElementWriting, FontSizeInEmIsRelativeToTheParent)
{
    TSVGDocument doc;
    TSVGGroup& parent = *doc.Add(std::make_unique<TSVGGroup>(&doc));
    TSVGGroup& child = *parent.Add(std::make_unique<TSVGGroup>(&doc));
    Own(parent, ipFontSize);
    parent.OwnFont().SetSize(20);
    Own(child, ipFontSize);
    child.OwnFont().SetSize(30);
    child.OwnFont().SetSizePreferredUnit(suFontSize);
    EXPECT_EQ(Written(child).DocumentElement().Attribute(u"font-size"_qs), u"1.5em"_qs);
    child.OwnFont().SetSizePreferredUnit(suPercent);
    EXPECT_EQ(Written(child).DocumentElement().Attribute(u"font-size"_qs), u"150%"_qs);
}

TEST_F(GraphicElementWriting, AssignToAStyleWritesEveryPropertyNotInherited)
{
    TSVGDocument doc;
    TSVGGroup& g = *doc.Add(std::make_unique<TSVGGroup>(&doc));
    g.Inherits().SetValue({ipFill, ipStroke});
    g.SetColor(0xFF00FF00);
    g.SetClipRect(TRectF{4, 1.5f, 2, 3});
    g.SetClipURI(u"nowhere"_qs);
    g.SetOpacity(1.0f / 3);
    g.OwnPen().SetThickness(3);
    TSVGStyle style;
    style.SetStyleProp(ipStopColor, u"red"_qs);
    g.AssignTo(&style);
    const std::pair<TSVGStyleProperty, const char16_t*> expected[] = {
        {ipColor, u"#00ff00"},        {ipClip, u"rect(1.5 2 3 4)"}, {ipClipPath, u"url(#nowhere)"},
        {ipOpacity, u"0.33333334"},   {ipDisplay, u"inline"},       {ipVisibility, u"visible"},
        {ipFill, u""},                {ipStroke, u""},              {ipStrokeWidth, u"3"},
        {ipKerning, u"auto"},         {ipStopColor, u"red"},        {ipFont, u""},
        {ipVectorEffect, u"none"},    {ipFontWeight, u"normal"},
    };
    for (const auto& [property, text] : expected)
        EXPECT_EQ(style.GetStyleProp(property), QString::fromUtf16(text)) << EnumName(property).toStdString();

    // Other destinations: the element's rules.
    TPersistent other;
    EXPECT_THROW(g.AssignTo(&other), EConvertError);
}
