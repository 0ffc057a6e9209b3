#include "svg/style_sheet.h"

#include "svg/comments.h"
#include "svg/trim.h"

namespace velk {

namespace {

// Calls Rule for every item of a selector list: items end at commas and blanks (a tab
// or line break separates selectors just as a space does).
void SplitSelectors(QStringView Selectors, const QString& Declarations, const TSVGStyleRuleProc& Rule)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i <= Selectors.size(); ++i) {
        if (i < Selectors.size() && Selectors[i] != u',' && !SVGIsBlank(Selectors[i]))
            continue;
        if (i > start)
            Rule(Selectors.sliced(start, i - start).toString(), Declarations);
        start = i + 1;
    }
}

} // namespace

void SVGSplitStyleSheet(QStringView Text, const TSVGStyleRuleProc& Rule)
{
    const QString sheet = SVGRemoveComments(Text);
    qsizetype pos = 0;
    for (;;) {
        const qsizetype open = sheet.indexOf(u'{', pos);
        if (open < 0)
            break;
        const qsizetype close = sheet.indexOf(u'}', open + 1);
        if (close < 0)
            break;
        SplitSelectors(QStringView(sheet).sliced(pos, open - pos), sheet.sliced(open + 1, close - open - 1), Rule);
        pos = close + 1;
    }
}

} // namespace velk
