#pragma once
// How element readers and writers touch an XML node: attributes with defaults, the text
// of a named child element, delimited attributes as string lists, and writing or
// removing each of them.

#include "platform/xml/node.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

namespace velk {

class TStrings;

// The namespaces of SVG documents.
inline const QString SVGNamespaceURI = QStringLiteral("http://www.w3.org/2000/svg");
inline const QString XLinkNamespaceURI = QStringLiteral("http://www.w3.org/1999/xlink");

// The items trimmed (SVGTrim), empty ones dropped, order kept.
QStringList SVGCleanStrings(QStringList Items);
// Text split at every character of Separators, then cleaned (SVGCleanStrings).
QStringList SVGSplitStrings(QStringView Text, QStringView Separators = u", ");

// The value of the attribute Name, or Default when the node has no such attribute (a
// present but empty attribute gives ""). A non-empty Namespace is a prefix ("xlink")
// that the node resolves to its namespace URI, or a namespace URI itself (it has a
// colon, XLinkNamespaceURI); an empty one asks for an attribute without namespace. A
// prefix that no ancestor declares names the attribute as written ("xlink:href"), which
// is how the XML parser keeps such attributes.
QString SVGReadAttribute(TXMLNode Node, const QString& Name, const QString& Default = {},
                         const QString& Namespace = {});
// As SVGReadAttribute, with nothing for a missing attribute.
std::optional<QString> SVGFindAttribute(TXMLNode Node, const QString& Name, const QString& Namespace = {});
// The link of use and a elements: xlink:href, else an href without namespace (SVG 2's
// form, and what the XML parser leaves of xlink:href inside the content of an entity,
// which it reads where no ancestor declares the prefix).
std::optional<QString> SVGFindHref(TXMLNode Node);

// The text of the first child node named Name, or Default when there is none.
QString SVGReadChildText(TXMLNode Node, const QString& Name, const QString& Default = {});

// When the node has the attribute Name, Strings is emptied and receives the attribute's
// text split by SVGSplitStrings; an empty or
// blank attribute gives one empty string. Without the attribute Strings is left as it is.
void SVGReadStrings(TXMLNode Node, const QString& Name, TStrings& Strings, QStringView Separators = u", ");

// Omit false: sets the attribute Name ("name" or "prefix:name") to Value and returns true.
// Omit true: removes an existing attribute Name when RemoveExisting is set; returns false.
bool SVGWriteAttribute(TXMLNode Node, const QString& Name, const QString& Value, bool Omit = false,
                       bool RemoveExisting = true);

// Sets the attribute "xlink:Name" to Value, declaring the xlink prefix on Node when
// the node does not resolve it yet (an element written on its own has no document
// element that declares it).
void SVGWriteXLinkAttribute(TXMLNode Node, const QString& Name, const QString& Value);

// As SVGWriteAttribute, the value being Strings joined by Delimiter in the string list's
// delimited-text form (items holding the delimiter, a double quote or a blank are quoted).
bool SVGWriteStrings(TXMLNode Node, const QString& Name, const TStrings& Strings, QChar Delimiter = u' ',
                     bool Omit = false, bool RemoveExisting = true);

// Omit false: sets the text of the first child named Name, creating the child in the SVG
// namespace when there is none; returns true. Omit true: removes that child when
// RemoveExisting is set; returns false.
bool SVGWriteChildText(TXMLNode Node, const QString& Name, const QString& Text, bool Omit = false,
                       bool RemoveExisting = true);

} // namespace velk
