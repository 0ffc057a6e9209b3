#include "svg/number_lists.h"

#include "svg/trim.h"

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

} // namespace

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

} // namespace velk
