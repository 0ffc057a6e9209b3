#include "platform/exceptions.h"
#include "platform/xml/document.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

using namespace velk;
using velk::testing::MessageOf;

namespace {

const QString SvgNS = QStringLiteral("http://www.w3.org/2000/svg");
const QString XLinkNS = QStringLiteral("http://www.w3.org/1999/xlink");

TXMLDocument Parse(const char* Text)
{
    return TXMLDocument::LoadFromBytes(QByteArray(Text));
}

std::vector<TNodeType> TypesOf(const std::vector<TXMLNode>& Nodes)
{
    std::vector<TNodeType> types;
    for (const TXMLNode& node : Nodes)
        types.push_back(node.NodeType());
    return types;
}

TEST(XMLNode, TypesAndNames)
{
    const TXMLDocument doc = Parse("<!DOCTYPE svg [<!ENTITY e \"<g/>\">]>"
                                   "<svg:svg xmlns:svg='http://www.w3.org/2000/svg'>"
                                   "t<![CDATA[c]]><!--k--><?pi data?>&e;<svg:rect/></svg:svg>");
    const TXMLNode root = doc.DocumentElement();
    const std::vector<TXMLNode> children = root.ChildNodes();
    ASSERT_EQ(children.size(), 6u);
    struct Case {
        TXMLNode Node;
        TNodeType Type;
        const char* TypeName;
        const char* LocalName;
        const char* NodeName;
    };
    const Case cases[] = {
        {root, ntElement, "ntElement", "svg", "svg:svg"},
        {children[0], ntText, "ntText", "", "#text"},
        {children[1], ntCData, "ntCData", "", "#cdata-section"},
        {children[2], ntComment, "ntComment", "", "#comment"},
        {children[3], ntProcessingInstr, "ntProcessingInstr", "", "pi"},
        {children[4], ntEntityRef, "ntEntityRef", "", "e"},
        {children[5], ntElement, "ntElement", "rect", "svg:rect"},
        {root.Parent(), ntDocument, "ntDocument", "", "#document"},
        {root.Parent().FirstChild(), ntDocType, "ntDocType", "", "svg"},
        {children[4].FirstChild().Parent(), ntEntity, "ntEntity", "", "e"},
        {TXMLNode(), ntReserved, "ntReserved", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.NodeName);
        EXPECT_EQ(c.Node.NodeType(), c.Type);
        EXPECT_EQ(EnumName(c.Node.NodeType()), c.TypeName);
        EXPECT_EQ(c.Node.LocalName(), c.LocalName);
        EXPECT_EQ(c.Node.NodeName(), c.NodeName);
    }
    EXPECT_EQ(EnumName(ntNotation), "ntNotation");
    EXPECT_EQ(children[5].Prefix(), "svg");
    EXPECT_EQ(children[5].NamespaceURI(), SvgNS);
    EXPECT_EQ(children[2].Text(), "k");
    EXPECT_EQ(children[3].Text(), "data");
}

TEST(XMLNode, ChildrenInOrderWithCharacterData)
{
    const TXMLDocument doc = Parse("<svg>\n  a<!--c--><![CDATA[x<y]]><g/> <title>T<b>i</b>tle</title></svg>");
    const TXMLNode root = doc.DocumentElement();
    EXPECT_EQ(TypesOf(root.ChildNodes()),
              (std::vector<TNodeType>{ntText, ntComment, ntCData, ntElement, ntText, ntElement}));
    EXPECT_EQ(root.FirstChild().Text(), "\n  a"); // whitespace is kept
    EXPECT_EQ(root.FirstChild().NextSibling().NextSibling().Text(), "x<y");
    EXPECT_EQ(root.FindChild("title").Text(), "Title");
    EXPECT_EQ(root.FindChild("#comment").Text(), "c");
    EXPECT_TRUE(root.FindChild("missing").IsNull());
    EXPECT_EQ(root.Text(), "\n  ax<y Title"); // comments do not count
    EXPECT_EQ(root.FindChild("g").Parent(), root);
}

TEST(XMLNode, NullNodeAnswersEmpty)
{
    TXMLNode node;
    EXPECT_TRUE(node.IsNull());
    EXPECT_EQ(node.Text(), "");
    EXPECT_FALSE(node.HasAttribute("a"));
    EXPECT_TRUE(node.ChildNodes().empty());
    EXPECT_TRUE(node.FirstChild().IsNull());
    EXPECT_TRUE(node.AddChild("g", SvgNS).IsNull());
    EXPECT_TRUE(node.EntityNodes().empty());
}

TEST(XMLNode, AttributesByNameAndNamespace)
{
    const TXMLDocument doc = Parse("<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink'>"
                                   "<use id='u' xlink:href='#a' href='plain' fill='' class='x &amp; y'/></svg>");
    const TXMLNode use = doc.DocumentElement().FindChild("use");
    EXPECT_EQ(use.FindNamespaceURI("xlink"), XLinkNS);
    EXPECT_EQ(use.FindNamespaceURI(""), SvgNS);
    EXPECT_EQ(use.FindNamespaceURI("other"), "");
    EXPECT_EQ(use.Attribute("href", XLinkNS), "#a");
    EXPECT_EQ(use.Attribute("href"), "plain");
    EXPECT_TRUE(use.HasAttribute("fill"));
    EXPECT_EQ(use.Attribute("fill"), "");
    EXPECT_FALSE(use.HasAttribute("stroke"));
    EXPECT_FALSE(use.HasAttribute("id", XLinkNS));
    EXPECT_EQ(use.Attribute("class"), "x & y");
    EXPECT_EQ(use.AttributeCount(), 5); // namespace declarations are not attributes
    EXPECT_EQ(doc.DocumentElement().AttributeCount(), 0);
    const std::vector<TXMLAttribute> attributes = use.Attributes();
    ASSERT_EQ(attributes.size(), 5u);
    EXPECT_EQ(attributes[0], (TXMLAttribute{"id", "id", "", "u"}));
    EXPECT_EQ(attributes[1], (TXMLAttribute{"xlink:href", "href", XLinkNS, "#a"}));
    EXPECT_EQ(attributes[4].Value, "x & y");
}

TEST(XMLNode, SetAndRemoveAttributes)
{
    TXMLDocument doc = Parse("<svg xmlns:xlink='http://www.w3.org/1999/xlink' a='1' b='2'/>");
    TXMLNode root = doc.DocumentElement();
    root.SetAttribute("a", "one");
    root.SetAttribute("c", "3");
    root.SetAttribute("xlink:href", "#x");
    root.SetAttribute("xmlns:ev", "http://www.w3.org/2001/xml-events");
    root.SetAttribute("xml:space", "preserve");
    EXPECT_EQ(root.Attribute("a"), "one");
    EXPECT_EQ(root.Attribute("href", XLinkNS), "#x");
    EXPECT_EQ(root.Attribute("space", "http://www.w3.org/XML/1998/namespace"), "preserve");
    EXPECT_EQ(root.FindNamespaceURI("ev"), "http://www.w3.org/2001/xml-events");
    root.RemoveAttribute("b");
    root.RemoveAttribute("href"); // no attribute "href" without namespace: nothing happens
    root.RemoveAttribute("missing");
    EXPECT_EQ(root.AttributeCount(), 4);
    root.RemoveAttribute("href", XLinkNS);
    EXPECT_FALSE(root.HasAttribute("href", XLinkNS));
    EXPECT_EQ(TXMLDocument::LoadFromBytes(doc.SaveToBytes()).DocumentElement().Attributes(),
              root.Attributes());

    EXPECT_EQ(MessageOf<EArgumentException>([&] { root.SetAttribute("foo:bar", "1"); }), "Namespace prefix foo is not declared");
    EXPECT_EQ(MessageOf<EArgumentException>([&] { root.SetAttribute("1a", "1"); }), "'1a' is not a valid XML name");
    EXPECT_EQ(MessageOf<EArgumentException>([&] { root.SetAttribute("", "1"); }), "'' is not a valid XML name");
    EXPECT_EQ(MessageOf<EArgumentException>([&] { root.SetAttribute("xmlns:xlink", "urn:other"); }),
              "xmlns:xlink is already declared for http://www.w3.org/1999/xlink");
}

TEST(XMLNode, SetTextIsLiteral)
{
    TXMLDocument doc = TXMLDocument::CreateDocument("svg", SvgNS);
    TXMLNode title = doc.DocumentElement().AddChild("title", SvgNS);
    title.AddChild("b", SvgNS);
    title.SetText("a < b && c > d &amp; \"q\" 'p' \x01");
    EXPECT_EQ(title.ChildNodes().size(), 1u);
    doc.DocumentElement().SetAttribute("data", "<&>\"'\t");
    const TXMLDocument copy = TXMLDocument::LoadFromBytes(doc.SaveToBytes());
    EXPECT_EQ(copy.DocumentElement().FindChild("title").Text(), "a < b && c > d &amp; \"q\" 'p' ");
    EXPECT_EQ(copy.DocumentElement().Attribute("data"), "<&>\"'\t");

    title.SetText("");
    EXPECT_TRUE(title.ChildNodes().empty());
    TXMLNode text = title.AddText("x&y;");
    text.SetText("z&w;");
    EXPECT_EQ(title.Text(), "z&w;");
}

TEST(XMLNode, RemoveChild)
{
    TXMLDocument doc = Parse("<svg><a/><b><c/></b>text</svg>");
    TXMLNode root = doc.DocumentElement();
    const TXMLNode b = root.FindChild("b");
    root.RemoveChild(b.FirstChild()); // not a child of root: nothing happens
    EXPECT_EQ(root.ChildNodes().size(), 3u);
    root.RemoveChild(b);
    root.RemoveChild(root.FirstChild().NextSibling()); // the text
    ASSERT_EQ(root.ChildNodes().size(), 1u);
    EXPECT_EQ(root.FirstChild().NodeName(), "a");
    EXPECT_EQ(doc.SaveToBytes(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg>\n  <a/>\n</svg>\n");
}

TEST(XMLNode, AddChildNamespaces)
{
    TXMLDocument doc = TXMLDocument::CreateDocument("svg", SvgNS);
    TXMLNode root = doc.DocumentElement();
    root.DeclareNamespace("xlink", XLinkNS);
    root.DeclareNamespace("", SvgNS); // already declared: nothing to do
    TXMLNode g = root.AddChild("g", SvgNS);
    g.AddChild("x", "urn:other");
    g.AddChild("plain", "");
    g.AddChild("xlink:thing", XLinkNS);
    g.AddChild("o:y", "urn:o");
    EXPECT_EQ(doc.SaveToBytes(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\">\n"
                                 "  <g>\n"
                                 "    <x xmlns=\"urn:other\"/>\n"
                                 "    <plain xmlns=\"\"/>\n"
                                 "    <xlink:thing/>\n"
                                 "    <o:y xmlns:o=\"urn:o\"/>\n"
                                 "  </g>\n"
                                 "</svg>\n");
    const TXMLDocument copy = TXMLDocument::LoadFromBytes(doc.SaveToBytes());
    std::vector<QString> namespaces;
    for (const TXMLNode& child : copy.DocumentElement().FirstChild().NextSibling().ChildNodes())
        if (child.NodeType() == ntElement)
            namespaces.push_back(child.LocalName() + u' ' + child.NamespaceURI());
    EXPECT_EQ(namespaces, (std::vector<QString>{"x urn:other", "plain ", "thing " + XLinkNS, "y urn:o"}));

    EXPECT_EQ(MessageOf<EArgumentException>([&] { root.AddChild("a b", SvgNS); }), "'a b' is not a valid XML name");
    EXPECT_EQ(MessageOf<EArgumentException>([&] { root.AddChild("p:a", ""); }), "Namespace prefix p is not declared");
    EXPECT_EQ(MessageOf<EArgumentException>([&] { root.DeclareNamespace("", "urn:other"); }),
              "xmlns is already declared for http://www.w3.org/2000/svg");
    EXPECT_EQ(MessageOf<EArgumentException>([&] { root.DeclareNamespace("xmlns", "urn:x"); }), "'xmlns' is not a valid XML name");
}

TEST(XMLNode, DeclaringTheDefaultNamespacePutsTheElementInIt)
{
    TXMLDocument doc = TXMLDocument::CreateDocument("svg");
    TXMLNode root = doc.DocumentElement();
    EXPECT_EQ(root.NamespaceURI(), "");
    root.DeclareNamespace("", SvgNS);
    EXPECT_EQ(root.NamespaceURI(), SvgNS);
    EXPECT_EQ(root.AddChild("rect", SvgNS).NamespaceURI(), SvgNS);
    EXPECT_EQ(doc.SaveToBytes(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<svg xmlns=\"http://www.w3.org/2000/svg\">\n  <rect/>\n</svg>\n");
}

TEST(XMLNode, EntityReferencesKeepTheirContent)
{
    const TXMLDocument doc = Parse("<!DOCTYPE svg [<!ENTITY shape \"<rect id='r'/><use xlink:href='#r'/>\">"
                                   "<!ENTITY name \"Velk\"><!ENTITY both \"&name;&shape;\">]>"
                                   "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink'"
                                   " title='by &name;'>&both;<g>&shape;</g></svg>");
    const TXMLNode root = doc.DocumentElement();
    const TXMLNode both = root.FirstChild();
    ASSERT_EQ(both.NodeType(), ntEntityRef);
    EXPECT_TRUE(both.IsInternalEntity());
    EXPECT_EQ(TypesOf(both.EntityNodes()), (std::vector<TNodeType>{ntEntityRef, ntEntityRef}));
    EXPECT_EQ(both.ChildNodes(), both.EntityNodes());
    const TXMLNode shape = both.EntityNodes()[1];
    EXPECT_EQ(shape.NodeName(), "shape");
    EXPECT_EQ(TypesOf(shape.EntityNodes()), (std::vector<TNodeType>{ntElement, ntElement}));
    EXPECT_EQ(shape.EntityNodes()[0].Attribute("id"), "r");
    // libxml2 resolves no namespaces inside entity content: the elements have none and a
    // prefixed attribute keeps its local name only.
    const TXMLNode use = shape.EntityNodes()[1];
    EXPECT_EQ(use.NamespaceURI(), "");
    EXPECT_EQ(use.FindNamespaceURI("xlink"), "");
    EXPECT_EQ(use.Attributes(), (std::vector<TXMLAttribute>{{"href", "href", "", "#r"}}));
    EXPECT_EQ(both.Text(), "Velk");
    EXPECT_EQ(root.Attribute("title"), "by Velk");
    // The content is shared by every reference to the entity.
    EXPECT_EQ(root.FindChild("g").FirstChild().EntityNodes(), shape.EntityNodes());
    EXPECT_FALSE(root.FindChild("g").IsInternalEntity());
}

} // namespace
