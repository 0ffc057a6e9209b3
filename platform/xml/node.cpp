#include "platform/xml/node.h"

#include "platform/exceptions.h"
#include "platform/xml/libxml_support.h"

#include <libxml/entities.h>
#include <libxml/tree.h>

namespace velk {

using namespace xml;

namespace {

bool IsElement(const xmlNode* Node)
{
    return Node && Node->type == XML_ELEMENT_NODE;
}

// Character data nodes hold their text in `content`.
bool IsCharacterData(const xmlNode* Node)
{
    switch (Node->type) {
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_COMMENT_NODE:
    case XML_PI_NODE:
        return true;
    default:
        return false;
    }
}

QString QualifiedName(const xmlNs* Ns, const xmlChar* Name)
{
    if (Ns && Ns->prefix)
        return FromXml(Ns->prefix) + u':' + FromXml(Name);
    return FromXml(Name);
}

// The prefix ("" when none) and local part of a qualified name; raises for a name that
// is not a valid qualified XML name.
std::pair<QByteArray, QByteArray> SplitQualifiedName(const QString& Name)
{
    const QByteArray utf8 = Name.toUtf8();
    if (Name.isEmpty() || xmlValidateQName(XmlChars(utf8), 0) != 0)
        throw EArgumentException(messages::XMLInvalidName, Name);
    const qsizetype colon = utf8.indexOf(':');
    if (colon < 0)
        return {QByteArray(), utf8};
    return {utf8.left(colon), utf8.mid(colon + 1)};
}

// Compares without converting: attribute look-ups run for every attribute an element
// reader asks for, present or not.
bool SameText(const xmlChar* Utf8, const QString& Text)
{
    return QAnyStringView::equal(QUtf8StringView(reinterpret_cast<const char*>(Utf8)), Text);
}

xmlAttr* FindAttribute(const xmlNode* Node, const QString& Name, const QString& NamespaceURI)
{
    if (!IsElement(Node))
        return nullptr;
    for (xmlAttr* attr = Node->properties; attr; attr = attr->next) {
        if (!SameText(attr->name, Name))
            continue;
        const bool sameNamespace =
            NamespaceURI.isEmpty() ? attr->ns == nullptr : attr->ns && SameText(attr->ns->href, NamespaceURI);
        if (sameNamespace)
            return attr;
    }
    return nullptr;
}

// Appends a text node holding Text literally; xmlAddChild may merge it into a text node
// before it and returns the node that holds it.
xmlNode* AppendText(xmlNode* Element, const QByteArray& Text)
{
    return xmlAddChild(Element, xmlNewDocTextLen(Element->doc, XmlChars(Text), static_cast<int>(Text.size())));
}

xmlNode* FirstChildOf(const xmlNode* Node)
{
    if (!Node)
        return nullptr;
    if (Node->type == XML_ENTITY_REF_NODE) {
        const xmlEntity* entity = EntityOf(Node);
        return entity ? entity->children : nullptr;
    }
    return Node->children;
}

} // namespace

TNodeType TXMLNode::NodeType() const
{
    if (!FNode)
        return ntReserved;
    switch (FNode->type) {
    case XML_ELEMENT_NODE:
        return ntElement;
    case XML_ATTRIBUTE_NODE:
        return ntAttribute;
    case XML_TEXT_NODE:
        return ntText;
    case XML_CDATA_SECTION_NODE:
        return ntCData;
    case XML_ENTITY_REF_NODE:
        return ntEntityRef;
    case XML_ENTITY_NODE:
    case XML_ENTITY_DECL:
        return ntEntity;
    case XML_PI_NODE:
        return ntProcessingInstr;
    case XML_COMMENT_NODE:
        return ntComment;
    case XML_DOCUMENT_NODE:
    case XML_HTML_DOCUMENT_NODE:
        return ntDocument;
    case XML_DOCUMENT_TYPE_NODE:
    case XML_DTD_NODE:
        return ntDocType;
    case XML_DOCUMENT_FRAG_NODE:
        return ntDocFragment;
    case XML_NOTATION_NODE:
        return ntNotation;
    default:
        return ntReserved;
    }
}

QString TXMLNode::LocalName() const
{
    return IsElement(FNode) ? FromXml(FNode->name) : QString();
}

QString TXMLNode::NodeName() const
{
    switch (NodeType()) {
    case ntElement:
        return QualifiedName(FNode->ns, FNode->name);
    case ntText:
        return QStringLiteral("#text");
    case ntCData:
        return QStringLiteral("#cdata-section");
    case ntComment:
        return QStringLiteral("#comment");
    case ntDocument:
        return QStringLiteral("#document");
    case ntDocFragment:
        return QStringLiteral("#document-fragment");
    case ntReserved:
        return QString();
    default:
        return FromXml(FNode->name);
    }
}

QString TXMLNode::NamespaceURI() const
{
    return IsElement(FNode) && FNode->ns ? FromXml(FNode->ns->href) : QString();
}

QString TXMLNode::Prefix() const
{
    return IsElement(FNode) && FNode->ns ? FromXml(FNode->ns->prefix) : QString();
}

QString TXMLNode::Text() const
{
    return FNode ? TakeXml(xmlNodeGetContent(FNode)) : QString();
}

void TXMLNode::SetText(const QString& Value)
{
    if (!FNode)
        return;
    const QByteArray text = ToXmlText(Value);
    if (IsElement(FNode)) {
        // A text node, not xmlNodeSetContent: that one would parse "&...;" as references.
        xmlFreeNodeList(FNode->children);
        FNode->children = FNode->last = nullptr;
        if (!text.isEmpty())
            AppendText(FNode, text);
    } else if (IsCharacterData(FNode)) {
        xmlNodeSetContent(FNode, XmlChars(text)); // stored literally for these node types
    }
}

bool TXMLNode::HasAttribute(const QString& Name, const QString& NamespaceURI) const
{
    return FindAttribute(FNode, Name, NamespaceURI) != nullptr;
}

QString TXMLNode::Attribute(const QString& Name, const QString& NamespaceURI) const
{
    const xmlAttr* attr = FindAttribute(FNode, Name, NamespaceURI);
    if (!attr)
        return QString();
    // The usual value is one text node: read it in place rather than through a copy.
    if (const xmlNode* text = attr->children; text && !text->next && text->type == XML_TEXT_NODE)
        return FromXml(text->content);
    return TakeXml(xmlNodeGetContent(reinterpret_cast<const xmlNode*>(attr)));
}

void TXMLNode::SetAttribute(const QString& QualifiedName, const QString& Value)
{
    if (!IsElement(FNode))
        return;
    const auto [prefix, local] = SplitQualifiedName(QualifiedName);
    if (prefix.isEmpty() && local == "xmlns")
        return DeclareNamespace(QString(), Value);
    if (prefix == "xmlns")
        return DeclareNamespace(QString::fromUtf8(local), Value);
    xmlNs* ns = nullptr;
    if (!prefix.isEmpty()) {
        ns = xmlSearchNs(FNode->doc, FNode, XmlChars(prefix));
        if (!ns)
            throw EArgumentException(messages::XMLUndeclaredPrefix, QString::fromUtf8(prefix));
    }
    xmlSetNsProp(FNode, ns, XmlChars(local), XmlChars(ToXmlText(Value)));
}

void TXMLNode::RemoveAttribute(const QString& Name, const QString& NamespaceURI)
{
    if (xmlAttr* attr = FindAttribute(FNode, Name, NamespaceURI))
        xmlRemoveProp(attr);
}

int TXMLNode::AttributeCount() const
{
    int count = 0;
    if (IsElement(FNode))
        for (const xmlAttr* attr = FNode->properties; attr; attr = attr->next)
            ++count;
    return count;
}

std::vector<TXMLAttribute> TXMLNode::Attributes() const
{
    std::vector<TXMLAttribute> result;
    if (!IsElement(FNode))
        return result;
    for (xmlAttr* attr = FNode->properties; attr; attr = attr->next)
        result.push_back({QualifiedName(attr->ns, attr->name), FromXml(attr->name),
                          attr->ns ? FromXml(attr->ns->href) : QString(),
                          TakeXml(xmlNodeGetContent(reinterpret_cast<xmlNode*>(attr)))});
    return result;
}

QString TXMLNode::FindNamespaceURI(const QString& Prefix) const
{
    if (!FNode || FNode->type == XML_DOCUMENT_NODE)
        return QString();
    const QByteArray prefix = Prefix.toUtf8();
    const xmlNs* ns = xmlSearchNs(FNode->doc, FNode, Prefix.isEmpty() ? nullptr : XmlChars(prefix));
    return ns ? FromXml(ns->href) : QString();
}

void TXMLNode::DeclareNamespace(const QString& Prefix, const QString& URI)
{
    if (!IsElement(FNode))
        return;
    const QByteArray prefix = Prefix.toUtf8();
    const QByteArray uri = URI.toUtf8();
    // "xml" and "xmlns" are bound by the Namespaces recommendation and cannot be declared.
    if (!Prefix.isEmpty() &&
        (xmlValidateNCName(XmlChars(prefix), 0) != 0 || prefix == "xml" || prefix == "xmlns"))
        throw EArgumentException(messages::XMLInvalidName, Prefix);
    const xmlChar* key = Prefix.isEmpty() ? nullptr : XmlChars(prefix);
    for (const xmlNs* ns = FNode->nsDef; ns; ns = ns->next) {
        if (!xmlStrEqual(ns->prefix, key))
            continue;
        if (!xmlStrEqual(ns->href, XmlChars(uri)))
            throw EArgumentException(messages::XMLPrefixRedeclared,
                                     Prefix.isEmpty() ? QStringLiteral("xmlns") : QStringLiteral("xmlns:") + Prefix,
                                     FromXml(ns->href));
        return;
    }
    xmlNs* ns = xmlNewNs(FNode, XmlChars(uri), key);
    if (Prefix.isEmpty() && !FNode->ns && !URI.isEmpty())
        xmlSetNs(FNode, ns);
}

TXMLNode TXMLNode::FirstChild() const
{
    return TXMLNode(FirstChildOf(FNode));
}

TXMLNode TXMLNode::NextSibling() const
{
    return TXMLNode(FNode ? FNode->next : nullptr);
}

TXMLNode TXMLNode::Parent() const
{
    return TXMLNode(FNode ? FNode->parent : nullptr);
}

std::vector<TXMLNode> TXMLNode::ChildNodes() const
{
    std::vector<TXMLNode> result;
    for (xmlNode* child = FirstChildOf(FNode); child; child = child->next)
        result.emplace_back(child);
    return result;
}

TXMLNode TXMLNode::FindChild(const QString& Name) const
{
    for (xmlNode* child = FirstChildOf(FNode); child; child = child->next)
        if (TXMLNode(child).NodeName() == Name)
            return TXMLNode(child);
    return {};
}

TXMLNode TXMLNode::AddChild(const QString& Name, const QString& NamespaceURI)
{
    if (!IsElement(FNode))
        return {};
    const auto [prefix, local] = SplitQualifiedName(Name);
    if (!prefix.isEmpty() && NamespaceURI.isEmpty())
        throw EArgumentException(messages::XMLUndeclaredPrefix, QString::fromUtf8(prefix));
    const QByteArray uri = NamespaceURI.toUtf8();
    xmlNode* child = xmlNewDocNode(FNode->doc, nullptr, XmlChars(local), nullptr);
    xmlAddChild(FNode, child);
    xmlNs* ns = nullptr;
    if (!prefix.isEmpty()) {
        ns = xmlSearchNs(FNode->doc, child, XmlChars(prefix));
        if (!ns || !xmlStrEqual(ns->href, XmlChars(uri)))
            ns = xmlNewNs(child, XmlChars(uri), XmlChars(prefix));
    } else {
        // An unprefixed name takes the default namespace in scope; where that is not the
        // wanted one (or the wanted one is none), the child declares its own.
        xmlNs* inScope = xmlSearchNs(FNode->doc, FNode, nullptr);
        const xmlChar* inScopeURI = inScope && inScope->href ? inScope->href : reinterpret_cast<const xmlChar*>("");
        if (xmlStrEqual(inScopeURI, XmlChars(uri)))
            ns = NamespaceURI.isEmpty() ? nullptr : inScope;
        else {
            ns = xmlNewNs(child, XmlChars(uri), nullptr);
            if (NamespaceURI.isEmpty())
                ns = nullptr; // xmlns="" undeclares the default namespace
        }
    }
    xmlSetNs(child, ns);
    return TXMLNode(child);
}

TXMLNode TXMLNode::AddText(const QString& Value)
{
    if (!IsElement(FNode))
        return {};
    return TXMLNode(AppendText(FNode, ToXmlText(Value)));
}

void TXMLNode::RemoveChild(TXMLNode Child)
{
    if (!FNode || Child.IsNull() || Child.FNode->parent != FNode || FNode->type == XML_ENTITY_REF_NODE)
        return;
    xmlUnlinkNode(Child.FNode);
    xmlFreeNode(Child.FNode);
}

bool TXMLNode::IsInternalEntity() const
{
    if (!FNode || FNode->type != XML_ENTITY_REF_NODE)
        return false;
    const xmlEntity* entity = EntityOf(FNode);
    return entity && entity->etype == XML_INTERNAL_GENERAL_ENTITY;
}

std::vector<TXMLNode> TXMLNode::EntityNodes() const
{
    return IsInternalEntity() ? ChildNodes() : std::vector<TXMLNode>();
}

} // namespace velk
