#pragma once
// References to other elements: paint references (fill="url(#grad)") and links
// (xlink:href="#id" or a file name).

#include "platform/xml/node.h"

#include <QString>
#include <QStringView>

namespace velk {

// The ID a paint value refers to: "#" and an ID that is not a hexadecimal colour (three
// or six hexadecimal digits, so "#abc" is a colour), or "url(#ID)" / "uri(#ID)" (the
// function name in any case). Anything else gives "". The text is trimmed first.
QString SVGParsePaintURI(QStringView Text);

// The ID of "#ID", "url(#ID)" or "uri(#ID)"; anything else gives the trimmed text itself
// (a file name or other URI). Unlike a paint value, "#" is always followed by an ID here,
// so "#abc" gives "abc".
QString SVGParseURI(QStringView Text);

// The style forms: Inherit := (Text is "inherit") or (Inherit and Text is empty). When
// Inherit is set, the text is empty, or the parser above gives "", the result is
// Current.
QString SVGParseStylePaintURI(QStringView Text, const QString& Current, bool& Inherit);
QString SVGParseStyleURI(QStringView Text, const QString& Current, bool& Inherit);

// SVGParseURI of the attribute Name (Namespace as for SVGReadAttribute, a prefix such as
// "xlink"), or Default when the node has no such attribute.
QString SVGReadURIAttribute(TXMLNode Node, const QString& Name, const QString& Default = {},
                            const QString& Namespace = {});

} // namespace velk
