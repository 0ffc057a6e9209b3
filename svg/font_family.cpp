#include "svg/font_family.h"

#include "platform/string_list.h"
#include "svg/trim.h"

#include <algorithm>

namespace velk {

namespace {

// Names that would not read back as themselves unquoted: empty ones, "inherit" (the
// keyword when alone), and those holding a separator or beginning with a quote.
bool NeedsQuotes(const QString& Name)
{
    return Name.isEmpty() || Name == u"inherit" || Name.startsWith(u'"') || Name.startsWith(u'\'')
        || std::any_of(Name.begin(), Name.end(), [](QChar C) { return SVGIsBlank(C) || C == u','; });
}

} // namespace

void SVGParseFontFamily(QStringView Text, TStrings& Families, bool& Inherit)
{
    const QStringView text = SVGTrim(Text);
    if (!SVGTakesStyleText(text, Inherit))
        return;
    if (text.contains(u'"') || !text.contains(u'\'')) {
        Families.SetCommaText(text);
        return;
    }
    TStringList names;
    names.SetQuoteChar(u'\'');
    names.SetDelimitedText(text);
    Families.Assign(&names);
}

QString SVGFontFamiliesToStr(const TStrings& Families)
{
    // A double quote anywhere makes the reader take the double quote as the quote
    // character, so the writer must quote with it too.
    QChar quote = u'\'';
    for (int i = 0; i < Families.Count(); ++i)
        if (Families.Strings(i).contains(u'"'))
            quote = u'"';
    QString result;
    for (int i = 0; i < Families.Count(); ++i) {
        if (i > 0)
            result += u", ";
        QString name = Families.Strings(i);
        if (NeedsQuotes(name))
            name = quote + name.replace(quote, QString(2, quote)) + quote;
        result += name;
    }
    return result;
}

} // namespace velk
