#include "svg/font_family.h"

#include "platform/string_list.h"
#include "svg/trim.h"

#include <algorithm>

namespace velk {

namespace {

bool NeedsQuotes(const QString& Name)
{
    return Name.startsWith(u'"') || Name.startsWith(u'\'')
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
    QString result;
    for (int i = 0; i < Families.Count(); ++i) {
        if (i > 0)
            result += u", ";
        QString name = Families.Strings(i);
        if (NeedsQuotes(name))
            name = u'\'' + name.replace(u'\'', u"''"_qs) + u'\'';
        result += name;
    }
    return result;
}

} // namespace velk
