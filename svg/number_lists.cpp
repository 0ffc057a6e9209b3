#include "svg/number_lists.h"

#include "platform/float_format.h"
#include "svg/trim.h"
#include "svg/xml_attributes.h"

namespace velk {

namespace {

void AppendTrimmed(QStringList& Items, QStringView Item)
{
    const QStringView text = SVGTrim(Item);
    if (!text.isEmpty())
        Items.append(text.toString());
}

bool IsSign(QChar C)
{
    return C == u'+' || C == u'-';
}

// Cuts Item before every sign that starts a new number: "10-5-3" is three numbers,
// while the sign of an exponent ("1e-5") stays.
void AppendNumbers(QStringList& Items, QStringView Item)
{
    qsizetype start = 0;
    for (qsizetype i = 1; i < Item.size(); ++i) {
        if (IsSign(Item[i]) && Item[i - 1] != u'e' && Item[i - 1] != u'E') {
            AppendTrimmed(Items, Item.sliced(start, i - start));
            start = i;
        }
    }
    AppendTrimmed(Items, Item.sliced(start));
}

float ParseNumber(QStringView Text, bool& Inherit, float Default, bool AcceptInfinity)
{
    const QStringView text = SVGTrim(Text);
    if (!SVGTakesStyleText(text, Inherit))
        return Default;
    float value = 0;
    const bool ok = AcceptInfinity ? SVGTryParseNumber(text, value) : TryStrToFloat(text, value);
    return ok ? value : Default;
}

} // namespace

bool SVGTryParseNumber(QStringView Text, float& Value)
{
    const QStringView text = SVGTrim(Text);
    if (SVGSameTextASCII(text, u"Infinity")) {
        Value = SVGInfinity;
        return true;
    }
    if (SVGSameTextASCII(text, u"-Infinity")) {
        Value = -SVGInfinity;
        return true;
    }
    return TryStrToFloat(text, Value);
}

QStringList SVGSplitNumbers(QStringView Text, QStringView Separators)
{
    QStringList items;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= Text.size(); ++i) {
        if (i == Text.size() || Separators.contains(Text[i])) {
            AppendNumbers(items, Text.sliced(start, i - start));
            start = i + 1;
        }
    }
    return items;
}

QString SVGNormalizeSpaces(QStringView Text)
{
    if (Text.isEmpty())
        return QString();
    QString result;
    result.reserve(Text.size());
    if (SVGIsBlank(Text.front()))
        result += u' ';
    qsizetype i = 0;
    bool firstWord = true;
    while (i < Text.size()) {
        while (i < Text.size() && SVGIsBlank(Text[i]))
            ++i;
        const qsizetype start = i;
        while (i < Text.size() && !SVGIsBlank(Text[i]))
            ++i;
        if (i > start) {
            if (!firstWord)
                result += u' ';
            result += Text.sliced(start, i - start);
            firstWord = false;
        }
    }
    // A text of blanks only already holds its one space.
    if (SVGIsBlank(Text.back()) && !firstWord)
        result += u' ';
    return result;
}

float SVGParseNumber(QStringView Text, bool& Inherit, float Default)
{
    return ParseNumber(Text, Inherit, Default, true);
}

float SVGParseMiterLimit(QStringView Text, bool& Inherit, float Default)
{
    return ParseNumber(Text, Inherit, Default, false);
}

QList<float> SVGParseNumbers(QStringView Text, const QList<float>& Defaults)
{
    const QStringList items = SVGSplitNumbers(Text);
    QList<float> numbers;
    numbers.reserve(items.size());
    for (qsizetype i = 0; i < items.size(); ++i) {
        bool inherit = false;
        numbers.append(SVGParseNumber(items[i], inherit, Defaults.value(i, 0)));
    }
    return numbers;
}

QList<float> SVGReadNumbers(TXMLNode Node, const QString& Name, const QList<float>& Defaults)
{
    const std::optional<QString> value = SVGFindAttribute(Node, Name);
    return value ? SVGParseNumbers(*value, Defaults) : QList<float>();
}

} // namespace velk
