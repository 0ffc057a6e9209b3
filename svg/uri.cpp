#include "svg/uri.h"

#include "svg/trim.h"
#include "svg/xml_attributes.h"

#include <optional>

namespace velk {

namespace {

// The ID inside "url(#ID)" or "uri(#ID)" (function name in any case), or nothing.
std::optional<QStringView> FunctionalReference(QStringView Text)
{
    if (Text.size() < 6 || !Text.endsWith(u')'))
        return std::nullopt;
    if (!Text.startsWith(u"url(#", Qt::CaseInsensitive) && !Text.startsWith(u"uri(#", Qt::CaseInsensitive))
        return std::nullopt;
    return Text.sliced(5, Text.size() - 6);
}

bool IsHexDigits(QStringView Text)
{
    for (const QChar c : Text) {
        const char16_t u = c.unicode();
        if (!((u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F')))
            return false;
    }
    return true;
}

// "#" and these digits is a colour, not a reference: #rgb and #rrggbb, and the forms
// with alpha (#rgba, #aarrggbb) that the colour reader also takes.
bool IsHexColor(QStringView Digits)
{
    const qsizetype n = Digits.size();
    return (n == 3 || n == 4 || n == 6 || n == 8) && IsHexDigits(Digits);
}

} // namespace

QString SVGParsePaintURI(QStringView Text)
{
    const QStringView text = SVGTrim(Text);
    if (text.startsWith(u'#')) {
        const QStringView id = text.sliced(1);
        return IsHexColor(id) ? QString() : id.toString();
    }
    if (const std::optional<QStringView> id = FunctionalReference(text))
        return id->toString();
    return {};
}

QString SVGParseURI(QStringView Text)
{
    const QStringView text = SVGTrim(Text);
    if (text.startsWith(u'#'))
        return text.sliced(1).toString();
    if (const std::optional<QStringView> id = FunctionalReference(text))
        return id->toString();
    return text.toString();
}

QString SVGParseStylePaintURI(QStringView Text, const QString& Current, bool& Inherit)
{
    const QStringView text = SVGTrim(Text);
    if (!SVGTakesStyleText(text, Inherit))
        return Current;
    const QString id = SVGParsePaintURI(text);
    return id.isEmpty() ? Current : id;
}

QString SVGParseStyleURI(QStringView Text, const QString& Current, bool& Inherit)
{
    const QStringView text = SVGTrim(Text);
    if (!SVGTakesStyleText(text, Inherit))
        return Current;
    const QString id = SVGParseURI(text);
    return id.isEmpty() ? Current : id;
}

QString SVGReadURIAttribute(TXMLNode Node, const QString& Name, const QString& Default, const QString& Namespace)
{
    const std::optional<QString> value = SVGFindAttribute(Node, Name, Namespace);
    return value ? SVGParseURI(*value) : Default;
}

} // namespace velk
