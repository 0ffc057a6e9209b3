#pragma once
// A node of an XML document (see document.h): a cheap, copyable, non-owning handle over
// a libxml2 node. A handle is valid while its document lives and the node has not been
// removed; a null handle (IsNull) answers every query with an empty value.
// Strings cross as QString; the tree holds them as UTF-8.

#include "platform/enum_names.h"

#include <QString>
#include <vector>

struct _xmlNode;

namespace velk {

// The DOM node types, in the platform's ordinal order.
enum TNodeType {
    ntReserved,
    ntElement,
    ntAttribute,
    ntText,
    ntCData,
    ntEntityRef,
    ntEntity,
    ntProcessingInstr,
    ntComment,
    ntDocument,
    ntDocType,
    ntDocFragment,
    ntNotation
};

template <>
struct EnumNames<TNodeType> {
    static constexpr std::array<std::u16string_view, 13> Names{
        u"ntReserved", u"ntElement", u"ntAttribute",       u"ntText",    u"ntCData",
        u"ntEntityRef", u"ntEntity", u"ntProcessingInstr", u"ntComment", u"ntDocument",
        u"ntDocType",  u"ntDocFragment", u"ntNotation"};
};

// One attribute of an element, as listed by TXMLNode::Attributes.
struct TXMLAttribute {
    QString Name;         // qualified name as written, "xlink:href"
    QString LocalName;    // "href"
    QString NamespaceURI; // empty for an attribute without namespace
    QString Value;        // entity references expanded

    bool operator==(const TXMLAttribute&) const = default;
};

class TXMLNode {
public:
    TXMLNode() = default;
    explicit TXMLNode(_xmlNode* Node) : FNode(Node) {}

    bool IsNull() const { return FNode == nullptr; }
    bool operator==(const TXMLNode&) const = default;

    TNodeType NodeType() const;
    // The element's name without prefix; empty for every node that is not an element.
    QString LocalName() const;
    // The DOM node name: the qualified name of an element, the entity name of an entity
    // reference, "#text", "#cdata-section", "#comment", "#document" and so on.
    QString NodeName() const;
    QString NamespaceURI() const;
    QString Prefix() const;

    // The text content: for an element (or an entity reference) the text of all its
    // descendants in order, entity references expanded; for text, CDATA, comment and
    // processing-instruction nodes their own text.
    QString Text() const;
    // For an element: the children are replaced by one text node holding Value literally.
    // For a text, CDATA, comment or processing-instruction node: its text becomes Value.
    // Other nodes are left as they are.
    void SetText(const QString& Value);

    // Attributes. An empty NamespaceURI means an attribute without namespace; only the
    // attributes written in the document count (no DTD defaults); namespace declarations
    // (xmlns, xmlns:p) are not attributes.
    bool HasAttribute(const QString& Name, const QString& NamespaceURI = {}) const;
    // The value, or an empty string when the attribute is missing.
    QString Attribute(const QString& Name, const QString& NamespaceURI = {}) const;
    // Sets or creates the attribute. A "prefix:name" is placed in the namespace the prefix
    // is declared for; "xmlns" and "xmlns:prefix" declare a namespace (DeclareNamespace).
    // Raises EArgumentException for an invalid name or an undeclared prefix.
    void SetAttribute(const QString& QualifiedName, const QString& Value);
    // Removes the attribute when it is there.
    void RemoveAttribute(const QString& Name, const QString& NamespaceURI = {});
    int AttributeCount() const;
    std::vector<TXMLAttribute> Attributes() const;

    // The namespace URI declared for Prefix on this element or an ancestor ("" asks for
    // the default namespace); empty when none is declared.
    QString FindNamespaceURI(const QString& Prefix) const;
    // Declares Prefix ("" for the default namespace) for URI on this element. Declaring the
    // default namespace on an element that has no namespace of its own puts the element in
    // it, as it reads once written. Raises EArgumentException when the prefix is already
    // declared here for another URI.
    void DeclareNamespace(const QString& Prefix, const QString& URI);

    // Children in document order. The children of an entity reference are the
    // replacement content of its entity (EntityNodes).
    TXMLNode FirstChild() const;
    TXMLNode NextSibling() const;
    TXMLNode Parent() const;
    std::vector<TXMLNode> ChildNodes() const;
    // The first child whose NodeName equals Name, or a null node.
    TXMLNode FindChild(const QString& Name) const;

    // Appends an element Name ("name" or "prefix:name") in NamespaceURI (empty: no
    // namespace). An in-scope declaration is reused; otherwise the new element declares
    // its namespace itself. Raises EArgumentException for an invalid name.
    TXMLNode AddChild(const QString& Name, const QString& NamespaceURI);
    // Appends a text node holding Value literally.
    TXMLNode AddText(const QString& Value);
    // Unlinks Child from this node and frees it with its subtree; handles to it and to
    // its descendants become invalid. Nothing happens when Child is not a child here.
    void RemoveChild(TXMLNode Child);

    // Entity references: whether the referenced entity is an internal general entity
    // (declared with a literal value in the document's own DTD subset).
    bool IsInternalEntity() const;
    // The replacement content of an internal entity; empty for an external or undeclared
    // entity, whose content is never loaded, and for nodes that are not entity references.
    // The content is shared by every reference to the entity.
    std::vector<TXMLNode> EntityNodes() const;

private:
    _xmlNode* FNode = nullptr;
};

} // namespace velk
