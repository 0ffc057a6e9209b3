#pragma once
// Internal to platform/xml: strings between QString and libxml2's UTF-8 xmlChar, and
// the entity behind an entity reference.

#include <QByteArray>
#include <QString>
#include <libxml/tree.h>

namespace velk::xml {

inline QString FromXml(const xmlChar* Text)
{
    return Text ? QString::fromUtf8(reinterpret_cast<const char*>(Text)) : QString();
}

// Takes a string that libxml2 allocated for the caller and frees it.
QString TakeXml(xmlChar* Text);

inline const xmlChar* XmlChars(const QByteArray& Utf8)
{
    return reinterpret_cast<const xmlChar*>(Utf8.constData());
}

// Character data as UTF-8, without the characters XML 1.0 cannot hold (C0 controls other
// than tab, line feed and carriage return, U+FFFE, U+FFFF, lone surrogates): written,
// they would make the document unreadable.
QByteArray ToXmlText(const QString& Text);

// The entity an entity-reference node refers to; null for an undeclared entity.
xmlEntityPtr EntityOf(const xmlNode* Reference);

} // namespace velk::xml
