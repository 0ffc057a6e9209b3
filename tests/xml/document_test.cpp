#include "platform/exceptions.h"
#include "platform/xml/document.h"
#include "tests/support/test_support.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QStringEncoder>
#include <QTemporaryFile>
#include <cstdio>
#include <gtest/gtest.h>
#include <libxml/globals.h>
#include <unistd.h>

using namespace velk;

namespace {

const QString SvgNS = QStringLiteral("http://www.w3.org/2000/svg");
const QString XLinkNS = QStringLiteral("http://www.w3.org/1999/xlink");
const QString DataDir = QStringLiteral(VELK_TEST_DATA_DIR "/xml/");

TXMLDocument Parse(const QByteArray& Text)
{
    return TXMLDocument::LoadFromBytes(Text);
}

QString ParseError(const QByteArray& Text)
{
    try {
        Parse(Text);
    } catch (const EXMLParseError& e) {
        return e.Message();
    }
    return QStringLiteral("no error");
}

QString FileURL(const QString& Name)
{
    return QStringLiteral("file://") + DataDir + Name;
}

// Everything written to the process's stderr while it lives.
class TStderrCapture {
public:
    TStderrCapture()
    {
        FFile.open();
        std::fflush(stderr);
        FSaved = dup(STDERR_FILENO);
        dup2(FFile.handle(), STDERR_FILENO);
    }
    QByteArray Take()
    {
        std::fflush(stderr);
        dup2(FSaved, STDERR_FILENO);
        close(FSaved);
        FFile.seek(0);
        return FFile.readAll();
    }

private:
    QTemporaryFile FFile;
    int FSaved = -1;
};

TEST(XMLDocument, EncodingsAreDetected)
{
    struct Case {
        const char* Name;
        QStringConverter::Encoding Encoding;
        QByteArray Bom;
        const char* Declaration;
        QString Text;
    };
    const QString unicode = QStringLiteral("Grüße – 日本 😀");
    const Case cases[] = {
        {"UTF-8", QStringConverter::Utf8, "", "", unicode},
        {"UTF-8 with BOM", QStringConverter::Utf8, "\xEF\xBB\xBF", "", unicode},
        {"UTF-8 declared", QStringConverter::Utf8, "", "<?xml version='1.0' encoding='UTF-8'?>", unicode},
        {"UTF-16LE with BOM", QStringConverter::Utf16LE, "\xFF\xFE", "", unicode},
        {"UTF-16BE with BOM", QStringConverter::Utf16BE, "\xFE\xFF", "", unicode},
        {"UTF-16LE with BOM, declared", QStringConverter::Utf16LE, "\xFF\xFE",
         "<?xml version='1.0' encoding='UTF-16'?>", unicode},
        {"UTF-16BE declared, no BOM", QStringConverter::Utf16BE, "", "<?xml version='1.0' encoding='UTF-16BE'?>",
         unicode},
        {"ISO-8859-1 declared", QStringConverter::Latin1, "", "<?xml version='1.0' encoding='ISO-8859-1'?>",
         QStringLiteral("Grüße ½")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString source = QStringLiteral("%1\n<svg title='%2'>%2<!--%2--></svg>")
                                   .arg(QString::fromUtf8(c.Declaration), c.Text);
        QTemporaryFile file;
        ASSERT_TRUE(file.open());
        file.write(c.Bom + QStringEncoder(c.Encoding).encode(source));
        file.close();
        const TXMLDocument doc = TXMLDocument::LoadFromFile(file.fileName());
        const TXMLNode root = doc.DocumentElement();
        EXPECT_EQ(root.LocalName(), "svg");
        EXPECT_EQ(root.Attribute("title"), c.Text);
        EXPECT_EQ(root.Text(), c.Text);
        EXPECT_EQ(root.FirstChild().NextSibling().Text(), c.Text);
        // Written back as UTF-8 whatever it was read from.
        const QByteArray saved = doc.SaveToBytes();
        EXPECT_TRUE(saved.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n")) << saved.constData();
        EXPECT_EQ(Parse(saved).DocumentElement().Text(), c.Text);
    }
}

TEST(XMLDocument, LoadFromDeviceReadsFromItsPosition)
{
    QByteArray bytes("junk<svg/>");
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(4);
    EXPECT_EQ(TXMLDocument::LoadFromDevice(buffer).DocumentElement().LocalName(), "svg");

    QBuffer closed;
    try {
        TXMLDocument::LoadFromDevice(closed);
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Stream read error");
    }
    try {
        TXMLDocument::LoadFromFile(DataDir + "missing.svg");
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_TRUE(e.Message().startsWith("Cannot open file \"" + DataDir + "missing.svg\". ")) << e.what();
    }
}

TEST(XMLDocument, ParseErrorsNameTheProblemAndPosition)
{
    struct Case {
        QByteArray Input;
        const char* Message;
    };
    const Case cases[] = {
        {"<svg>\n  <g>\n  </x>\n</svg>\n", "Opening and ending tag mismatch: g line 2 and x (line 3, column 7)"},
        {"", "Document is empty (line 1, column 1)"},
        {"<svg>", "Premature end of data in tag svg line 1 (line 1, column 6)"},
        {"<svg/><g/>", "Extra content at the end of the document (line 1, column 7)"},
        {"<svg a='1' a='2'/>", "Attribute a redefined (line 1, column 17)"},
        {"<svg>&nbsp;</svg>", "Entity 'nbsp' not defined (line 1, column 12)"},
        {"<svg>\xC3</svg>", "Input is not proper UTF-8, indicate encoding ! Bytes: 0xC3 0x3C 0x2F 0x73 (line 1, column 6)"},
        {QByteArray("\xFF\xFE<\0s\0v\0g\0>\0\0\xD8<\0/\0s\0v\0g\0>\0", 22),
         "input conversion failed due to input error, bytes 0x00 0xD8 0x3C 0x00 (line 1, column 6)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseError(c.Input), c.Message);
}

void OnHostError(void* Calls, xmlErrorPtr)
{
    ++*static_cast<int*>(Calls);
}

TEST(XMLDocument, ErrorsNeverReachStderrNorTheHostsHandler)
{
    int hostCalls = 0;
    xmlSetStructuredErrorFunc(&hostCalls, &OnHostError);
    TStderrCapture capture;
    const QByteArray inputs[] = {
        "<svg>\xC3</svg>",
        QByteArray("\xFF\xFE<\0s\0v\0g\0>\0\0\xD8<\0/\0s\0v\0g\0>\0", 22),
        "<?xml version='1.0' encoding='Shift_JIS'?><svg>\x81</svg>",
        "<?xml version='1.0' encoding='bogus'?><svg/>",
        "<svg xmlns:a='urn:a'><b:c d:e='1'/></svg>",
        "<!DOCTYPE svg [<!ENTITY e \"<g>\">]><svg>&e;</svg>",
    };
    for (const QByteArray& input : inputs) {
        try {
            Parse(input).SaveToBytes();
        } catch (const EXMLParseError&) {
        }
    }
    const QByteArray written = capture.Take();
    EXPECT_EQ(written, "");
    EXPECT_EQ(hostCalls, 0);
    EXPECT_EQ(xmlStructuredErrorContext, &hostCalls); // restored after every parse
    xmlSetStructuredErrorFunc(nullptr, nullptr);
}

TEST(XMLDocument, UndeclaredPrefixesAreTolerated)
{
    const TXMLDocument doc = Parse("<svg><use xlink:href='#a'/><p:g/></svg>");
    const TXMLNode use = doc.DocumentElement().FirstChild();
    EXPECT_EQ(use.Attributes(), (std::vector<TXMLAttribute>{{"xlink:href", "xlink:href", "", "#a"}}));
    EXPECT_EQ(use.NextSibling().LocalName(), "p:g");
}

QByteArray BillionLaughs()
{
    QByteArray text = "<?xml version='1.0'?>\n<!DOCTYPE svg [\n<!ENTITY lol0 'lol'>\n";
    for (int level = 1; level <= 9; ++level) {
        text += "<!ENTITY lol" + QByteArray::number(level) + " '";
        for (int i = 0; i < 10; ++i)
            text += "&lol" + QByteArray::number(level - 1) + ";";
        text += "'>\n";
    }
    return text + "]>\n<svg>&lol9;</svg>\n";
}

// An entity of 10 000 characters, and one holding it five times, referenced Count times,
// each reference in Pattern.
QByteArray QuadraticBlowup(const QByteArray& Pattern, int Count)
{
    QByteArray text = "<!DOCTYPE svg [<!ENTITY a '" + QByteArray(10'000, 'x') + "'>" +
                      "<!ENTITY five '&a;&a;&a;&a;&a;'>]>\n<svg>\n";
    for (int i = 0; i < Count; ++i)
        text += Pattern;
    return text + "</svg>\n";
}

QByteArray DeepNesting(int Depth)
{
    return "<svg>" + QByteArray("<g>").repeated(Depth) + QByteArray("</g>").repeated(Depth) + "</svg>";
}

// Real drawings carry megabytes of path data; libxml2's limits must not refuse a large
// document that is well-formed (a memory input would fail past 10 MB).
TEST(XMLDocument, LargeDocumentsLoadWithTheDefaultLimits)
{
    const QByteArray path = "M0 0" + QByteArray(" L1.5 2.25").repeated(600);
    QByteArray text = "<svg xmlns=\"http://www.w3.org/2000/svg\">";
    constexpr int Count = 2000; // 2000 paths of 6 KB: 12 MB
    for (int i = 0; i < Count; ++i)
        text += "<path d=\"" + path + "\"/>\n";
    text += "</svg>";
    ASSERT_GT(text.size(), 10'500'000);
    const TXMLDocument document = Parse(text);
    EXPECT_EQ(document.DocumentElement().ChildNodes().size(), 2u * Count);
    EXPECT_EQ(document.DocumentElement().ChildNodes().back().NodeType(), ntText);
}

TEST(XMLDocument, HostileInputFailsFast)
{
    struct Case {
        const char* Name;
        QByteArray Input;
        const char* Message;
    };
    const Case cases[] = {
        {"billion laughs", BillionLaughs(), "Detected an entity reference loop"},
        {"quadratic blowup in content", QuadraticBlowup("&a;", 1500), "Entity expansion limit exceeded by &a; in <svg> on line 2"},
        {"quadratic blowup in attributes", QuadraticBlowup("<g a='&a;'/>", 1500),
         "Entity expansion limit exceeded by &a; in <g> on line 3"},
        {"nested quadratic blowup", QuadraticBlowup("<g>&five;</g>", 300),
         "Entity expansion limit exceeded by &five; in <g> on line 3"},
        {"deep nesting", DeepNesting(100'000), "Excessive depth in document: 256 use XML_PARSE_HUGE option"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        QElapsedTimer timer;
        timer.start();
        EXPECT_TRUE(ParseError(c.Input).startsWith(c.Message)) << ParseError(c.Input).toStdString();
        EXPECT_LT(timer.elapsed(), 5000);
    }
    // Just below the budget is fine.
    EXPECT_EQ(ParseError(QuadraticBlowup("&a;", 900)), "no error");
    EXPECT_EQ(ParseError(DeepNesting(200)), "no error");
}

TEST(XMLDocument, ExternalEntitiesAreNeverRead)
{
    const QByteArray inputs[] = {
        "<!DOCTYPE svg [<!ENTITY x SYSTEM 'file:///etc/passwd'>]><svg>&x;</svg>",
        "<!DOCTYPE svg [<!ENTITY x SYSTEM '" + FileURL("leak.txt").toUtf8() + "'>]><svg>&x;</svg>",
    };
    for (const QByteArray& input : inputs) {
        SCOPED_TRACE(input.constData());
        const TXMLDocument doc = Parse(input);
        const TXMLNode reference = doc.DocumentElement().FirstChild();
        EXPECT_EQ(reference.NodeType(), ntEntityRef);
        EXPECT_FALSE(reference.IsInternalEntity());
        EXPECT_TRUE(reference.EntityNodes().empty());
        EXPECT_TRUE(reference.ChildNodes().empty());
        EXPECT_EQ(doc.DocumentElement().Text(), "");
        EXPECT_FALSE(doc.SaveToBytes().contains("root:"));
    }
}

TEST(XMLDocument, ExternalDTDsAreNeverRead)
{
    const QByteArray inputs[] = {
        // Would need the network: must neither be fetched nor wait for it.
        "<!DOCTYPE svg PUBLIC '-//W3C//DTD SVG 1.1//EN' 'http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd'>"
        "<svg>&leak;</svg>",
        "<!DOCTYPE svg SYSTEM '" + FileURL("external.dtd").toUtf8() + "'><svg>&leak;</svg>",
    };
    for (const QByteArray& input : inputs) {
        SCOPED_TRACE(input.constData());
        QElapsedTimer timer;
        timer.start();
        const TXMLDocument doc = Parse(input);
        EXPECT_LT(timer.elapsed(), 5000);
        const TXMLNode root = doc.DocumentElement();
        EXPECT_FALSE(root.HasAttribute("leaked")); // the DTD's default attribute
        EXPECT_EQ(root.FirstChild().NodeType(), ntEntityRef);
        EXPECT_FALSE(root.FirstChild().IsInternalEntity());
        EXPECT_EQ(root.Text(), "");
    }
    // Had the parameter entity been read, it would have declared the entity.
    const QByteArray parameterEntity =
        "<!DOCTYPE svg [<!ENTITY % p SYSTEM '" + FileURL("external.dtd").toUtf8() + "'>%p;]><svg>&leak;</svg>";
    EXPECT_TRUE(ParseError(parameterEntity).startsWith("Entity 'leak' not defined"));
}

TEST(XMLDocument, CreatedDocumentIsWrittenIndentedAndReadsBack)
{
    TXMLDocument doc = TXMLDocument::CreateDocument("svg", SvgNS);
    TXMLNode root = doc.DocumentElement();
    root.DeclareNamespace("xlink", XLinkNS);
    root.SetAttribute("version", "1.1");
    TXMLNode g = root.AddChild("g", SvgNS);
    g.SetAttribute("id", "a");
    g.AddChild("rect", SvgNS).SetAttribute("width", "10");
    TXMLNode text = root.AddChild("text", SvgNS);
    text.AddText("Hello ");
    text.AddChild("tspan", SvgNS).SetText("big");
    text.AddText(" world");
    root.AddChild("use", SvgNS).SetAttribute("xlink:href", "#a");

    const QByteArray expected = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                "<svg xmlns=\"http://www.w3.org/2000/svg\" "
                                "xmlns:xlink=\"http://www.w3.org/1999/xlink\" version=\"1.1\">\n"
                                "  <g id=\"a\">\n"
                                "    <rect width=\"10\"/>\n"
                                "  </g>\n"
                                "  <text>Hello <tspan>big</tspan> world</text>\n"
                                "  <use xlink:href=\"#a\"/>\n"
                                "</svg>\n";
    EXPECT_EQ(doc.SaveToBytes(), expected);
    QBuffer device;
    device.open(QIODevice::WriteOnly);
    doc.SaveToDevice(device);
    EXPECT_EQ(device.data(), expected);

    const TXMLDocument copy = Parse(expected);
    const TXMLNode copyRoot = copy.DocumentElement();
    EXPECT_EQ(copyRoot.NamespaceURI(), SvgNS);
    EXPECT_EQ(copyRoot.FindNamespaceURI("xlink"), XLinkNS);
    EXPECT_EQ(copyRoot.FindChild("use").Attribute("href", XLinkNS), "#a");
    EXPECT_EQ(copyRoot.FindChild("text").Text(), "Hello big world");
    EXPECT_EQ(copyRoot.FindChild("g").FindChild("rect").NamespaceURI(), SvgNS);
}

TEST(XMLDocument, EntityReferencesAreWrittenBack)
{
    const QByteArray source = "<!DOCTYPE svg [<!ENTITY name \"Velk\">]>\n<svg><title>by &name;</title></svg>";
    const QByteArray saved = Parse(source).SaveToBytes();
    EXPECT_TRUE(saved.contains("<!ENTITY name \"Velk\">")) << saved.constData();
    EXPECT_TRUE(saved.contains("<title>by &name;</title>")) << saved.constData();
    EXPECT_EQ(Parse(saved).DocumentElement().FindChild("title").Text(), "by Velk");
}

TEST(XMLDocument, EmptyHandle)
{
    TXMLDocument doc;
    EXPECT_TRUE(doc.IsNull());
    EXPECT_TRUE(doc.DocumentElement().IsNull());
    EXPECT_EQ(doc.SaveToBytes(), "");
    TXMLDocument moved = TXMLDocument::CreateDocument("svg");
    doc = std::move(moved);
    EXPECT_EQ(doc.DocumentElement().LocalName(), "svg");
    try {
        TXMLDocument::CreateDocument("s v g");
        FAIL();
    } catch (const EArgumentException& e) {
        EXPECT_EQ(e.Message(), "'s v g' is not a valid XML name");
    }
}

} // namespace
