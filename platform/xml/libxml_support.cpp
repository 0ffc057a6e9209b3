#include "platform/xml/libxml_support.h"

#include <libxml/entities.h>

namespace velk::xml {

QString TakeXml(xmlChar* Text)
{
    QString result = FromXml(Text);
    xmlFree(Text);
    return result;
}

QByteArray ToXmlText(const QString& Text)
{
    QString clean;
    clean.reserve(Text.size());
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const QChar c = Text[i];
        if (c.isHighSurrogate() && i + 1 < Text.size() && Text[i + 1].isLowSurrogate()) {
            clean += c;
            clean += Text[++i];
            continue;
        }
        const char16_t u = c.unicode();
        const bool allowed = !c.isSurrogate() && (u >= 0x20 || u == u'\t' || u == u'\n' || u == u'\r') &&
                             u != 0xFFFE && u != 0xFFFF;
        if (allowed)
            clean += c;
    }
    return clean.toUtf8();
}

xmlEntityPtr EntityOf(const xmlNode* Reference)
{
    return xmlGetDocEntity(Reference->doc, Reference->name);
}

} // namespace velk::xml
