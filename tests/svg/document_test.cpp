#include "platform/exceptions.h"
#include "platform/xml/document.h"
#include "svg/document.h"
#include "svg/features.h"
#include "svg/xml_attributes.h"
#include "tests/support/test_support.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace velk;
using velk::testing::MessageOf;

namespace {

// Stand-ins for element classes the document keeps lists of, and for a path whose data
// makes long lines.
class TTestElement : public TSVGGraphicElement {
public:
    TTestElement(TSVGDocument* aOwner, TSVGElementType Type) : TSVGGraphicElement(aOwner), FType(Type) {}
    TSVGElementType SVGType() const override { return FType; }

private:
    TSVGElementType FType;
};

class TTestPath : public TTestElement {
public:
    TTestPath(TSVGDocument* aOwner, QString Data) : TTestElement(aOwner, etPath), FData(std::move(Data)) {}

protected:
    void WriteAttributes(TXMLNode Node) override
    {
        TTestElement::WriteAttributes(Node);
        SVGWriteAttribute(Node, QStringLiteral("d"), FData);
    }

private:
    QString FData;
};

QString Text(const char16_t* Value)
{
    return QString::fromUtf16(Value);
}

QByteArray SaveBytes(TSVGDocument& Document, int SplitPathLines = 0)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Document.SaveToStream(buffer, SplitPathLines);
    return buffer.data();
}

TXMLNode Root(const TXMLDocument& XML)
{
    return XML.DocumentElement();
}

const char16_t* const Drawing =
    u"<svg xmlns='http://www.w3.org/2000/svg' id='root' width='200' height='100' viewBox='0 0 20 10'>"
    u"<title>Drawing</title><desc>first line\nsecond line</desc>"
    u"<style>rect { fill: red }</style>"
    u"<g id='layer' class='a b' lang='en' systemLanguage='en,fr' x='1' y='2'>"
    u"<title>Layer</title><g id='inner'/></g>"
    u"<svg id='nested' width='5' height='5'><g id='deep'/></svg>"
    u"</svg>";

TEST(SVGDocument, StartsWithTheDefaults)
{
    TSVGDocument doc;
    EXPECT_EQ(doc.Options().Value(), 59u);
    EXPECT_EQ(doc.Options(), SVGDefaultOptions);
    EXPECT_EQ(doc.DPI(), 96);
    EXPECT_EQ(doc.FormatStr(), "0.###");
    EXPECT_EQ(doc.Width(), 100);
    EXPECT_EQ(doc.Height(), 100);
    EXPECT_EQ(doc.ViewBox(), MakeRectF(0, 0, 100, 100));
    EXPECT_EQ(doc.DefaultShapeRendering(), srnGeometricPrecision);
    EXPECT_EQ(doc.DefaultColorRendering(), clrnAuto);
    EXPECT_EQ(doc.DefaultTextRendering(), txrnAuto);
    EXPECT_EQ(doc.DefaultColorInterpolation(), sciSRGB);
    EXPECT_EQ(doc.DefaultAspectRatio().Align(), saNone);
    EXPECT_EQ(doc.PreferredLanguage(), QLocale::system().uiLanguages().join(u','));
    EXPECT_EQ(doc.SVGType(), etDoc);
    EXPECT_EQ(doc.Count(), 0);
}

TEST(SVGDocument, LoadBuildsTheTreeAndTheIDTable)
{
    TSVGDocument doc;
    doc.LoadFromText(Text(Drawing));
    ASSERT_EQ(doc.Count(), 2);
    EXPECT_EQ(doc.ID(), "root");
    EXPECT_EQ(doc.Title(), "Drawing");
    EXPECT_EQ(doc.Description().Text(), "first line\nsecond line\n");
    EXPECT_EQ(doc.Width(), 200);
    EXPECT_EQ(doc.ViewBox(), MakeRectF(0, 0, 20, 10));
    TSVGElement* layer = doc.AllItems().Get(QStringLiteral("layer"));
    EXPECT_EQ(layer, doc.Child(0));
    EXPECT_EQ(layer->Title(), "Layer");
    EXPECT_EQ(layer->Classes().CommaText(), "a,b");
    EXPECT_EQ(layer->SystemLanguages().CommaText(), "en,fr");
    EXPECT_EQ(doc.AllItems().Get(QStringLiteral("inner"))->Parent(), layer);
    EXPECT_EQ(doc.Styles().Get(QStringLiteral("rect"))->GetStyleProp(ipFill), "red");
}

TEST(SVGDocument, NestedSvgIsADocumentWithItsOwnIDTable)
{
    TSVGDocument doc;
    doc.LoadFromText(Text(Drawing));
    auto* nested = dynamic_cast<TSVGDocument*>(doc.Child(1));
    ASSERT_NE(nested, nullptr);
    EXPECT_EQ(nested->Owner(), &doc);
    EXPECT_EQ(doc.AllItems().Get(QStringLiteral("nested")), nested);
    EXPECT_FALSE(doc.AllItems().ContainsKey(QStringLiteral("deep")));
    EXPECT_EQ(nested->AllItems().Get(QStringLiteral("deep")), nested->Child(0));
    EXPECT_EQ(nested->Child(0)->Owner(), nested);
}

TEST(SVGDocument, NestedSvgReadsUnderTheOuterDocumentsSettings)
{
    TSVGDocument doc;
    doc.SetOptions(doc.Options() - TSVGOptions{soSkipUnknownXML});
    doc.SetDPI(300);
    doc.SetFormatStr(QStringLiteral("0.0"));
    EXPECT_EQ(MessageOf<Exception>([&] { doc.LoadFromText(QStringLiteral("<svg><svg><foo/></svg></svg>")); }),
              "Unknown SVG element <ntElement> in document: foo");

    doc.SetOptions(SVGDefaultOptions);
    doc.LoadFromText(QStringLiteral("<svg><svg><foo/></svg></svg>"));
    const auto* nested = dynamic_cast<TSVGDocument*>(doc.Child(0));
    ASSERT_NE(nested, nullptr);
    EXPECT_EQ(nested->Options(), SVGDefaultOptions);
    EXPECT_EQ(nested->DPI(), 300);
    EXPECT_EQ(nested->UnitFactors(), doc.UnitFactors());
    EXPECT_EQ(nested->FormatStr(), "0.0");
}

TEST(SVGDocument, LoadFailuresRaiseTheirMessages)
{
    struct Case {
        const char* Name;
        const char16_t* Text;
        TSVGOptions Options;
        const char* Message;
    } cases[] = {
        {"html root", u"<html><body/></html>", SVGDefaultOptions, "Not a valid SVG document"},
        {"upper-case root", u"<SVG/>", SVGDefaultOptions, "Not a valid SVG document"},
        {"unknown element", u"<svg><foo/></svg>", SVGDefaultOptions - TSVGOptions{soSkipUnknownXML},
         "Unknown SVG element <ntElement> in document: foo"},
        {"unknown element in a group", u"<svg><g><foo/></g></svg>", SVGDefaultOptions - TSVGOptions{soSkipUnknownXML},
         "Unknown SVG element <ntElement> in document: foo"},
        {"repeated selector", u"<svg><style>rect{fill:red} rect{stroke:blue}</style></svg>", SVGDefaultOptions,
         "Duplicates not allowed"},
        {"repeated ID, unique IDs enforced", u"<svg><g id='a'/><g id='a'/></svg>",
         SVGDefaultOptions + TSVGOptions{soEnforceUniqueID}, "Duplicates not allowed"},
    };
    for (const Case& c : cases) {
        TSVGDocument doc;
        doc.SetOptions(c.Options);
        EXPECT_EQ(MessageOf<Exception>([&] { doc.LoadFromText(Text(c.Text)); }), c.Message) << c.Name;
    }
}

TEST(SVGDocument, DefaultOptionsSkipUnknownElementsAndLetTheFirstIDWin)
{
    TSVGDocument doc;
    doc.LoadFromText(QStringLiteral("<svg><foo>text<bar/></foo><g id='a'/><g><g id='a'/></g></svg>"));
    ASSERT_EQ(doc.Count(), 2);
    EXPECT_EQ(doc.AllItems().Get(QStringLiteral("a")), doc.Child(0));
    // The other carrier of the ID takes the entry over.
    doc.Items().Delete(0);
    EXPECT_EQ(doc.AllItems().Get(QStringLiteral("a")), doc.Child(0)->Child(0));
}

TEST(SVGDocument, ElementsInsideUnknownElementsAreKeptInADefsElement)
{
    TSVGDocument doc;
    doc.LoadFromText(QStringLiteral("<svg><foo id='f' fill='red'><rect id='r'/><bar><circle id='c'/></bar></foo>"
                                    "<switch><foo><rect id='s'/></foo></switch>"
                                    "<g><metadata><title>t</title><foo/></metadata></g></svg>"));
    ASSERT_EQ(doc.Count(), 3);
    // The unknown element itself (its ID, its attributes) is not kept.
    EXPECT_EQ(doc.Child(0)->SVGType(), etDefs);
    EXPECT_FALSE(doc.AllItems().ContainsKey(QStringLiteral("f")));
    EXPECT_EQ(doc.AllItems().Get(QStringLiteral("r"))->Parent(), doc.Child(0));
    EXPECT_EQ(doc.AllItems().Get(QStringLiteral("c"))->Parent()->Parent(), doc.Child(0));
    // A switch accepts no defs (it would count as a candidate); nothing to keep, no defs.
    EXPECT_FALSE(doc.AllItems().ContainsKey(QStringLiteral("s")));
    EXPECT_EQ(doc.Child(2)->Count(), 0);
}

TEST(SVGDocument, FailedLoadLeavesTheDocumentUnchanged)
{
    const char16_t* const failures[] = {
        u"<svg><g></svg>", // not well-formed
        u"<html/>",        // not SVG
        u"",
    };
    for (const char16_t* failure : failures) {
        TSVGDocument doc;
        doc.LoadFromText(Text(Drawing));
        int changes = 0;
        doc.OnChange = [&changes](TObject*) { ++changes; };
        EXPECT_ANY_THROW(doc.LoadFromText(Text(failure))) << QString::fromUtf16(failure).toStdString();
        EXPECT_EQ(doc.Count(), 2);
        EXPECT_TRUE(doc.AllItems().ContainsKey(QStringLiteral("inner")));
        EXPECT_EQ(doc.Styles().Count(), 1);
        EXPECT_EQ(changes, 0);
    }
}

TEST(SVGDocument, LoadsFromFileStreamAndTextAlike)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("drawing.svg"));
    QByteArray bytes = Text(Drawing).toUtf8();
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    TSVGDocument fromFile;
    fromFile.LoadFromFile(path);

    // A stream is read from its position.
    bytes.prepend("garbage");
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(7);
    TSVGDocument fromStream;
    fromStream.LoadFromStream(buffer);

    TSVGDocument fromText;
    fromText.LoadFromText(Text(Drawing));
    EXPECT_EQ(SaveBytes(fromFile), SaveBytes(fromText));
    EXPECT_EQ(SaveBytes(fromStream), SaveBytes(fromText));

    EXPECT_EQ(MessageOf<EFOpenError>([&] { fromFile.LoadFromFile(dir.filePath(QStringLiteral("missing.svg"))); })
                  .left(17),
              "Cannot open file ");
}

TEST(SVGDocument, TextIsReadAsItIsWhateverEncodingItsDeclarationNames)
{
    TSVGDocument doc;
    doc.LoadFromText(QStringLiteral("<?xml version='1.0' encoding='ISO-8859-1'?><svg><title>\u00E9\u4E2D</title></svg>"));
    EXPECT_EQ(doc.Title(), QStringLiteral("\u00E9\u4E2D"));
    doc.LoadFromText(QStringLiteral("<?xml version='1.0' encoding='UTF-8'?><svg><title>\u00E9</title></svg>"));
    EXPECT_EQ(doc.Title(), QStringLiteral("\u00E9"));
}

TEST(SVGDocument, IsValidSVGInEveryForm)
{
    struct Case {
        const char* Name;
        const char16_t* Text;
        bool Strict;
        bool Loose;
    } cases[] = {
        {"svg", u"<svg><g/></svg>", true, true},
        {"unknown element skipped", u"<svg><foo/></svg>", true, true},
        {"prefixed root", u"<s:svg xmlns:s='http://www.w3.org/2000/svg'/>", true, true},
        {"repeated selector", u"<svg><style>a{} a{}</style></svg>", false, true},
        {"html", u"<html/>", false, false},
        {"upper-case root", u"<SVG/>", false, false},
        {"not well-formed", u"<svg>", false, false},
        {"empty", u"", false, false},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const Case& c : cases) {
        const QString text = Text(c.Text);
        QByteArray bytes = text.toUtf8();
        const QString path = dir.filePath(QString::fromUtf8(c.Name) + QStringLiteral(".svg"));
        {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        for (const bool strict : {true, false}) {
            const bool expected = strict ? c.Strict : c.Loose;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::ReadOnly);
            EXPECT_EQ(TSVGDocument::IsValidSVG(strict, text), expected) << c.Name << " strict " << strict;
            EXPECT_EQ(TSVGDocument::IsValidSVG(buffer, strict), expected) << c.Name << " strict " << strict;
            EXPECT_EQ(TSVGDocument::IsValidSVG(path, strict), expected) << c.Name << " strict " << strict;
        }
    }
    const TXMLDocument xml = TXMLDocument::LoadFromBytes("<svg><style>a{} a{}</style></svg>");
    EXPECT_FALSE(TSVGDocument::IsValidSVG(xml, true));
    EXPECT_TRUE(TSVGDocument::IsValidSVG(xml, false));
    EXPECT_FALSE(TSVGDocument::IsValidSVG(TXMLDocument(), false));
    EXPECT_FALSE(TSVGDocument::IsValidSVG(dir.filePath(QStringLiteral("missing.svg")), false));
}

TEST(SVGDocument, OnChangeIsRaisedOncePerLoadAndNotInsideAnOuterUpdate)
{
    TSVGDocument doc;
    int changes = 0;
    doc.OnChange = [&changes](TObject* Sender) {
        EXPECT_NE(dynamic_cast<TSVGDocument*>(Sender), nullptr);
        ++changes;
    };
    doc.LoadFromText(Text(Drawing));
    EXPECT_EQ(changes, 1);

    changes = 0;
    doc.BeginUpdate();
    doc.LoadFromText(Text(Drawing));
    doc.Child(0)->SetTitle(QStringLiteral("changed"));
    EXPECT_EQ(changes, 0);
    doc.EndUpdate();
    EXPECT_EQ(changes, 1);

    // A load that fails half-way closes its bracket.
    changes = 0;
    doc.SetOptions(doc.Options() - TSVGOptions{soSkipUnknownXML});
    changes = 0;
    EXPECT_ANY_THROW(doc.LoadFromText(QStringLiteral("<svg><g id='kept'/><foo/></svg>")));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(doc.Count(), 1);
    EXPECT_EQ(doc.UpdateCount(), 0);
}

TEST(SVGDocument, ParsingEventsSeeEveryElementAlsoInNestedDocuments)
{
    TSVGDocument doc;
    QStringList parsing;
    QStringList parsed;
    doc.OnParsingNode = [&](TSVGElement* Sender, TXMLNode Node) {
        EXPECT_TRUE(Sender->ElementState().Contains(esReading));
        parsing += Node.LocalName();
    };
    doc.OnParsedNode = [&](TObject* Sender, TSVGElement* Element) {
        EXPECT_EQ(Sender, &doc);
        parsed += Element->SVGTypeName();
    };
    doc.LoadFromText(QStringLiteral("<svg><g><g/></g><svg><g/></svg></svg>"));
    EXPECT_EQ(parsing.join(u' '), "svg g g svg g");
    EXPECT_EQ(parsed.join(u' '), "g g g svg svg");
    EXPECT_FALSE(doc.ElementState().Contains(esReading));
    EXPECT_FALSE(doc.Child(0)->ElementState().Contains(esReading));
}

TEST(SVGDocument, StyleElementsBecomeRulesOfTheirDocument)
{
    TSVGDocument doc;
    doc.LoadFromText(QStringLiteral("<svg>"
                                    "<style><![CDATA[ g, rect { fill: red } ]]></style>"
                                    "<g><style>/* c */ circle{stroke:blue}</style></g>"
                                    "<svg><style>line{fill:none}</style></svg>"
                                    "</svg>"));
    QStringList selectors;
    for (const auto& pair : doc.Styles())
        selectors += pair.Key;
    selectors.sort();
    EXPECT_EQ(selectors.join(u' '), "circle g rect");
    EXPECT_EQ(doc.Styles().Get(QStringLiteral("g"))->GetStyleProp(ipFill), "red");
    EXPECT_EQ(doc.Styles().Get(QStringLiteral("rect"))->GetStyleProp(ipFill), "red");
    const auto* nested = dynamic_cast<TSVGDocument*>(doc.Child(1));
    ASSERT_NE(nested, nullptr);
    EXPECT_EQ(nested->Styles().Count(), 1);
    EXPECT_TRUE(nested->Styles().ContainsKey(QStringLiteral("line")));
}

TEST(SVGDocument, RuleTableRaisesItsEvents)
{
    TSVGDocument doc;
    QStringList events;
    doc.OnAddStyle = [&](TObject* Sender, TSVGStyle* Style) {
        EXPECT_EQ(Sender, &doc);
        events += QStringLiteral("add ") + Style->Name();
    };
    doc.OnRemoveStyle = [&](TObject*, TSVGStyle* Style) { events += QStringLiteral("remove ") + Style->Name(); };
    doc.OnChange = [&](TObject*) { events += QStringLiteral("change"); };

    TSVGStyle* rect = doc.AddStyleRule(QStringLiteral("rect"), QStringLiteral("fill: red"));
    EXPECT_EQ(rect->ToString(), "rect { fill=red\n }");
    EXPECT_EQ(MessageOf<EListError>([&] { doc.AddStyleRule(QStringLiteral("rect"), {}); }), "Duplicates not allowed");
    doc.AddStyleSheet(QStringLiteral("g circle { stroke: blue }"));
    EXPECT_EQ(events.join(u", "), "add rect, change, add g, change, add circle, change");

    events.clear();
    doc.Styles().Remove(QStringLiteral("rect")); // freed after the event
    const std::unique_ptr<TSVGStyle> extracted(doc.Styles().ExtractPair(QStringLiteral("g")).Value);
    EXPECT_EQ(extracted->Name(), "g");
    doc.Clear();
    EXPECT_EQ(doc.Styles().Count(), 0);
    EXPECT_EQ(events.mid(0, 4).join(u", "), "remove rect, change, remove g, change");
    EXPECT_TRUE(events.contains(QStringLiteral("remove circle")));
    EXPECT_EQ(events.last(), "change");
}

TEST(SVGDocument, SetStylesAndAssignCopyTheRules)
{
    TSVGDocument source;
    source.AddStyleSheet(QStringLiteral("a, b { fill: red }"));
    source.Styles().Get(QStringLiteral("b"))->SetEnabled(false);
    TSVGDocument doc;
    doc.AddStyleRule(QStringLiteral("old"), {});
    doc.SetStyles(source.Styles());
    ASSERT_EQ(doc.Styles().Count(), 2);
    EXPECT_FALSE(doc.Styles().ContainsKey(QStringLiteral("old")));
    EXPECT_NE(doc.Styles().Get(QStringLiteral("a")), source.Styles().Get(QStringLiteral("a")));
    EXPECT_EQ(doc.Styles().Get(QStringLiteral("a"))->GetStyleProp(ipFill), "red");
    EXPECT_FALSE(doc.Styles().Get(QStringLiteral("b"))->Enabled());

    source.SetDPI(200);
    source.SetFormatStr(QStringLiteral("0.0"));
    source.LoadFromText(Text(Drawing));
    const std::unique_ptr<TSVGElement> clone = source.Clone(nullptr);
    auto& copy = dynamic_cast<TSVGDocument&>(*clone);
    EXPECT_EQ(copy.DPI(), 200);
    EXPECT_EQ(copy.FormatStr(), "0.0");
    EXPECT_TRUE(copy.Styles().ContainsKey(QStringLiteral("rect")));
    EXPECT_EQ(copy.AllItems().Get(QStringLiteral("inner"))->Owner(), &copy);
    EXPECT_EQ(SaveBytes(copy), SaveBytes(source));
}

TEST(SVGDocument, ClearKeepsTheSettings)
{
    TSVGDocument doc;
    const TSVGOptions options = SVGDefaultOptions + TSVGOptions{soExportDisabled};
    doc.SetDPI(200);
    doc.SetOptions(options);
    doc.SetFormatStr(QStringLiteral("0.0"));
    doc.SetPreferredLanguage(QStringLiteral("de,fr"));
    doc.DefaultAspectRatio().SetAlign(saXMidYMid);
    doc.LoadFromText(Text(Drawing));
    doc.Clear();
    EXPECT_EQ(doc.Count(), 0);
    EXPECT_TRUE(doc.AllItems().Empty());
    EXPECT_EQ(doc.Styles().Count(), 0);
    EXPECT_EQ(doc.Title(), "");
    EXPECT_EQ(doc.DPI(), 200);
    EXPECT_EQ(doc.Options(), options);
    EXPECT_EQ(doc.FormatStr(), "0.0");
    EXPECT_EQ(doc.PreferredLanguage(), "de,fr");
    EXPECT_EQ(doc.DefaultAspectRatio().Align(), saXMidYMid);
}

TEST(SVGDocument, DPIGivesTheUnitFactors)
{
    TSVGDocument doc;
    int changes = 0;
    doc.OnChange = [&changes](TObject*) { ++changes; };
    struct Case {
        TSVGUnit Unit;
        double Factor;
    } cases[] = {
        {suNone, 1},         {suPixels, 1},           {suPoints, 96.0 / 72},
        {suPicas, 96.0 / 6}, {suMillimeters, 96 / 25.4}, {suCentimeters, 96 / 2.54},
        {suInches, 96},      {suFontSize, 1},         {suFontXHeight, 1},
        {suPercent, 1},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(doc.UnitFactors()[c.Unit], static_cast<float>(c.Factor)) << EnumName(c.Unit).toStdString();

    doc.SetDPI(5);
    EXPECT_EQ(doc.DPI(), 10);
    EXPECT_FLOAT_EQ(doc.UnitFactors()[suInches], 10);
    EXPECT_FLOAT_EQ(doc.UnitFactors()[suPoints], 10.0f / 72);
    EXPECT_EQ(doc.GetUnitFactors(), doc.UnitFactors());
    EXPECT_EQ(changes, 0);
}

TEST(SVGDocument, FormatStrIsCheckedBeforeItIsStored)
{
    TSVGDocument doc;
    doc.SetFormatStr(QStringLiteral("0.0"));
    EXPECT_EQ(doc.FormatStr(), "0.0");
    EXPECT_EQ(MessageOf<EConvertError>([&] { doc.SetFormatStr(QStringLiteral("0;0;0;0")); }),
              "Format '0;0;0;0' invalid or incompatible with argument");
    EXPECT_EQ(doc.FormatStr(), "0.0");

    doc.SetWidth(12.345f);
    const TXMLDocument xml = TXMLDocument::LoadFromBytes(SaveBytes(doc));
    EXPECT_EQ(Root(xml).Attribute(QStringLiteral("width")), "12.3");
}

TEST(SVGDocument, OptionsChangeRaisesOnChange)
{
    TSVGDocument doc;
    int changes = 0;
    doc.OnChange = [&changes](TObject*) { ++changes; };
    doc.SetOptions(SVGDefaultOptions);
    EXPECT_EQ(changes, 0);
    doc.SetOptions(SVGDefaultOptions + TSVGOptions{soUseFillText});
    EXPECT_EQ(changes, 1);
    doc.SetDefaultShapeRendering(srnCrispEdges);
    EXPECT_EQ(doc.DefaultShapeRendering(), srnCrispEdges);
    EXPECT_EQ(changes, 2);
}

TEST(SVGDocument, SavedDocumentDeclaresTheNamespacesAndVersion)
{
    TSVGDocument doc;
    const TXMLDocument xml = TXMLDocument::LoadFromBytes(SaveBytes(doc));
    const TXMLNode root = Root(xml);
    EXPECT_EQ(root.LocalName(), "svg");
    EXPECT_EQ(root.NamespaceURI(), SVGNamespaceURI);
    EXPECT_EQ(root.FindNamespaceURI(QStringLiteral("xlink")), XLinkNamespaceURI);
    EXPECT_EQ(root.Attribute(QStringLiteral("version")), "1.1");
    EXPECT_EQ(root.Attribute(QStringLiteral("viewBox")), "0 0 100 100");
    EXPECT_EQ(root.Attribute(QStringLiteral("width")), "100");
}

TEST(SVGDocument, CompactExportOmitsZeroPositions)
{
    struct Case {
        bool Compact;
        bool XWritten;
    } cases[] = {{true, false}, {false, true}};
    for (const Case& c : cases) {
        TSVGDocument doc;
        doc.SetOptions(c.Compact ? SVGDefaultOptions : SVGDefaultOptions - TSVGOptions{soCompactExport});
        doc.SetY(3);
        const TXMLDocument xml = TXMLDocument::LoadFromBytes(SaveBytes(doc));
        EXPECT_EQ(Root(xml).HasAttribute(QStringLiteral("x")), c.XWritten) << c.Compact;
        EXPECT_EQ(Root(xml).Attribute(QStringLiteral("y")), "3") << c.Compact;
    }
}

TEST(SVGDocument, SavingSkipsDisabledElementsAndAsksOnSavingElement)
{
    struct Case {
        bool ExportDisabled;
        bool Veto;
        const char* Written;
    } cases[] = {
        {false, false, "a"},
        {true, false, "a b"},
        {true, true, "b"},
    };
    for (const Case& c : cases) {
        TSVGDocument doc;
        doc.LoadFromText(QStringLiteral("<svg><g id='a'/><g id='b'/></svg>"));
        doc.AllItems().Get(QStringLiteral("b"))->SetEnabled(false);
        if (c.ExportDisabled)
            doc.SetOptions(doc.Options() + TSVGOptions{soExportDisabled});
        QStringList saved;
        doc.OnSavingElement = [&](TObject*, TSVGElement* Element, TXMLNode, bool& DoSave) {
            EXPECT_TRUE(DoSave);
            DoSave = !(c.Veto && Element->ID() == u"a");
        };
        doc.OnSavedElement = [&](TObject*, TSVGElement* Element, TXMLNode) {
            EXPECT_TRUE(Element->ElementState().Contains(esWriting));
            if (Element != &doc)
                saved += Element->ID();
        };
        SaveBytes(doc);
        EXPECT_EQ(saved.join(u' '), c.Written) << c.ExportDisabled << c.Veto;
        EXPECT_FALSE(doc.Child(0)->ElementState().Contains(esWriting));
    }
}

TEST(SVGDocument, SaveAndLoadRoundTrip)
{
    TSVGDocument doc;
    doc.LoadFromText(Text(Drawing));
    doc.AddStyleSheet(QStringLiteral("g { stroke: blue; stroke-width: 2 } circle { fill: none }"));
    doc.Styles().Get(QStringLiteral("circle"))->SetEnabled(false);
    // Rules added after a load take effect once the cascade runs again; saving writes
    // the values it gave.
    doc.ApplyStyles();
    const QByteArray saved = SaveBytes(doc);

    TSVGDocument copy;
    copy.LoadFromText(QString::fromUtf8(saved));
    EXPECT_EQ(SaveBytes(copy), saved);
    EXPECT_EQ(copy.ID(), "root");
    EXPECT_EQ(copy.Title(), "Drawing");
    EXPECT_EQ(copy.Description().Text(), "first line\nsecond line\n");
    ASSERT_EQ(copy.Count(), 2);
    const TSVGElement* layer = copy.AllItems().Get(QStringLiteral("layer"));
    EXPECT_EQ(layer->Title(), "Layer");
    EXPECT_EQ(layer->Language(), "en");
    EXPECT_EQ(layer->Classes().CommaText(), "a,b");
    EXPECT_EQ(layer->SystemLanguages().CommaText(), "en,fr");
    EXPECT_EQ(dynamic_cast<const TSVGGraphicElement*>(layer)->X(), 1);
    EXPECT_EQ(copy.AllItems().Get(QStringLiteral("inner"))->Parent(), layer);
    const auto* nested = dynamic_cast<const TSVGDocument*>(copy.Child(1));
    ASSERT_NE(nested, nullptr);
    EXPECT_TRUE(nested->AllItems().ContainsKey(QStringLiteral("deep")));
    EXPECT_EQ(nested->Width(), 5);
    // The enabled rules are kept.
    EXPECT_EQ(copy.Styles().Count(), 2);
    EXPECT_EQ(copy.Styles().Get(QStringLiteral("rect"))->GetStyleProp(ipFill), "red");
    EXPECT_EQ(copy.Styles().Get(QStringLiteral("g"))->StyleValues()->Text(), "stroke=blue\nstroke-width=2\n");
    // Provisional IDs are not written.
    EXPECT_FALSE(saved.contains("ID#"));
}

TEST(SVGDocument, SavedStyleSheetsAlwaysLoadAgain)
{
    // Rules that would read back as other rules, and then as a duplicate of "a", are
    // left out; the others are kept.
    TSVGDocument doc;
    doc.AddStyleRule(QStringLiteral("a"), QStringLiteral("fill: red"));
    doc.AddStyleRule(QStringLiteral("a b"), QStringLiteral("fill: blue"));
    doc.AddStyleRule(QStringLiteral("c"), QStringLiteral("fill: x} a { stroke: red"));
    doc.AddStyleRule(QStringLiteral("d"), QStringLiteral("fill: /* green"));
    doc.AddStyleRule(QStringLiteral("e"), QStringLiteral("fill: green"));

    TSVGDocument copy;
    copy.LoadFromText(QString::fromUtf8(SaveBytes(doc)));
    QStringList selectors;
    for (const auto& pair : copy.Styles())
        selectors += pair.Key + u'=' + pair.Value->GetStyleProp(ipFill);
    EXPECT_EQ(selectors.join(u' '), "a=red e=green");
}

TEST(SVGDocument, SaveToFileReplacesTheFileOnlyOnSuccess)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("out.svg"));
    TSVGDocument doc;
    doc.LoadFromText(Text(Drawing));
    doc.SaveToFile(path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    file.close();
    EXPECT_EQ(written, SaveBytes(doc));

    doc.OnSavingElement = [](TObject*, TSVGElement* Element, TXMLNode, bool&) {
        if (Element->ID() == u"inner")
            throw EInvalidOperation(QStringLiteral("stop"));
    };
    doc.SetTitle(QStringLiteral("other"));
    EXPECT_EQ(MessageOf<EInvalidOperation>([&] { doc.SaveToFile(path); }), "stop");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), written);
    file.close();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).join(u' '), "out.svg");

    EXPECT_EQ(MessageOf<EFCreateError>([&] { doc.SaveToFile(dir.filePath(QStringLiteral("no/such.svg"))); }).left(19),
              "Cannot create file ");
}

TEST(SVGDocument, SplitPathLinesBreaksLongPathDataOnce)
{
    QString data = QStringLiteral("M0 0");
    for (int i = 1; i < 60; ++i)
        data += QStringLiteral(" L%1 %2").arg(i * 10).arg(i * 7);
    TSVGDocument doc;
    doc.Add(std::make_unique<TTestPath>(&doc, data));
    const QByteArray plain = SaveBytes(doc);
    ASSERT_TRUE(plain.contains("<path d=\"M0 0 L10 7"));

    EXPECT_EQ(SaveBytes(doc, 32), plain);
    const QByteArray split = SaveBytes(doc, 80);
    EXPECT_GT(split.count('\n'), plain.count('\n') + 5);
    EXPECT_EQ(QByteArray(split).replace('\n', ""), QByteArray(plain).replace('\n', ""));
    for (const QByteArray& line : split.split('\n')) {
        if (!line.contains("<svg")) {
            EXPECT_LE(line.size(), 100) << line.toStdString();
        }
    }

    // Written at the stream's position, once.
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    buffer.write("prefix");
    doc.SaveToStream(buffer, 80);
    EXPECT_EQ(buffer.data(), "prefix" + split);
}

TEST(SVGDocument, ProvisionalIDsNeverTakeAnIDInUse)
{
    TSVGDocument doc;
    auto first = std::make_unique<TSVGGroup>(&doc);
    auto second = std::make_unique<TSVGGroup>(&doc);
    EXPECT_EQ(first->ID(), "ID#0");
    EXPECT_EQ(second->ID(), "ID#1");

    for (const TSVGOptions options : {SVGDefaultOptions, SVGDefaultOptions + TSVGOptions{soEnforceUniqueID}}) {
        doc.SetOptions(options);
        doc.LoadFromText(QStringLiteral("<svg><g id='ID#2'/><g/><g id='ID#4'/></svg>"));
        const TSVGElement* taken = doc.AllItems().Get(QStringLiteral("ID#2"));
        std::vector<std::unique_ptr<TSVGGroup>> fresh;
        for (int i = 0; i < 4; ++i)
            fresh.push_back(std::make_unique<TSVGGroup>(&doc));
        EXPECT_EQ(doc.AllItems().Get(QStringLiteral("ID#2")), taken);
        EXPECT_EQ(doc.AllItems().Get(QStringLiteral("ID#4")), doc.Child(2));
        QStringList ids;
        for (const auto& group : fresh)
            ids += group->ID();
        EXPECT_EQ(ids.join(u' '), "ID#5 ID#6 ID#7 ID#8");
    }
}

TEST(SVGDocument, GradientMarkerAndPatternListsFollowTheIDTable)
{
    TSVGDocument doc;
    auto gradient = std::make_unique<TTestElement>(&doc, etLinearGradient);
    auto radial = std::make_unique<TTestElement>(&doc, etRadialGradient);
    auto marker = std::make_unique<TTestElement>(&doc, etMarker);
    auto pattern = std::make_unique<TTestElement>(&doc, etPattern);
    gradient->SetID(QStringLiteral("g1"));
    radial->SetID(QStringLiteral("g2"));
    marker->SetID(QStringLiteral("m"));
    pattern->SetID(QStringLiteral("p"));
    const auto list = [](const TList<TSVGElement*>& Elements) {
        QStringList ids;
        for (const TSVGElement* element : Elements)
            ids += element->ID();
        return ids.join(u' ');
    };
    EXPECT_EQ(list(doc.Gradients()), "g1 g2");
    EXPECT_EQ(list(doc.Markers()), "m");
    EXPECT_EQ(list(doc.Patterns()), "p");

    gradient->SetID(QStringLiteral("renamed")); // stays, once
    EXPECT_EQ(list(doc.Gradients()), "renamed g2");

    radial->SetID(QStringLiteral("renamed")); // waits behind the first carrier
    EXPECT_EQ(doc.Gradients().Count(), 1);
    EXPECT_EQ(doc.Gradients()[0], gradient.get());
    gradient.reset(); // the waiting carrier takes the entry over
    EXPECT_EQ(doc.Gradients().Count(), 1);
    EXPECT_EQ(doc.Gradients()[0], radial.get());

    radial.reset();
    marker.reset();
    EXPECT_EQ(doc.Gradients().Count(), 0);
    EXPECT_EQ(doc.Markers().Count(), 0);

    doc.Clear();
    EXPECT_EQ(doc.Patterns().Count(), 0);
    pattern->SetID(QStringLiteral("again"));
    EXPECT_EQ(list(doc.Patterns()), "again");
}

TEST(SVGDocument, SupportsFeatureAnswersFromTheFeatureTable)
{
    const QString prefix = QString::fromUtf16(SVGFeaturePrefix.data(), static_cast<qsizetype>(SVGFeaturePrefix.size()));
    struct Case {
        QString Feature;
        bool Supported;
    } cases[] = {
        {prefix + QStringLiteral("Shape"), true},
        {prefix + QStringLiteral("Gradient"), true},
        {prefix + QStringLiteral("Text"), false},
        {prefix + QStringLiteral("Filter"), false},
        {prefix + QStringLiteral("shape"), false},
        {QStringLiteral("Shape"), false},
        {prefix, false},
        {{}, false},
    };
    TSVGDocument doc;
    for (const Case& c : cases)
        EXPECT_EQ(doc.SupportsFeature(c.Feature), c.Supported) << c.Feature.toStdString();
}

TEST(SVGDocument, SupportsLanguageComparesWithThePreferredLanguages)
{
    struct Case {
        const char16_t* Language;
        bool Supported;
    } cases[] = {
        {u"en", true},   {u"EN", true},      {u"fr, de", true}, {u"de en-US", true},
        {u"en-GB", false}, {u"de", false},   {u"", false},      {u" , ", false},
        {u"fr-CA", true},  {u"FR-ca", true}, {u"frx", false},
    };
    TSVGDocument doc;
    doc.SetOptions(doc.Options() - TSVGOptions{soUseLocaleForLanguage});
    doc.SetPreferredLanguage(QStringLiteral("en-US,fr"));
    for (const Case& c : cases)
        EXPECT_EQ(doc.SupportsLanguage(Text(c.Language)), c.Supported) << QString::fromUtf16(c.Language).toStdString();

    // With soUseLocaleForLanguage the user's interface languages count, not PreferredLanguage.
    doc.SetOptions(SVGDefaultOptions);
    const QStringList user = QLocale::system().uiLanguages();
    ASSERT_FALSE(user.isEmpty());
    EXPECT_TRUE(doc.SupportsLanguage(user.first()));
    doc.SetPreferredLanguage(QStringLiteral("zz"));
    EXPECT_FALSE(doc.SupportsLanguage(QStringLiteral("zz")));
}

} // namespace
