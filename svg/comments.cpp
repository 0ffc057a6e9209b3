#include "svg/comments.h"

namespace velk {

QString SVGRemoveComments(QStringView Text)
{
    static constexpr QStringView Open = u"/*";
    static constexpr QStringView Close = u"*/";

    // Result holds the text before Pos with its comments removed; it contains no "/*",
    // so the first "/*" of what is left is either its last "/" followed by a "*" at
    // Pos, or the first "/*" from Pos on.
    QString result;
    result.reserve(Text.size());
    qsizetype pos = 0;
    while (pos < Text.size()) {
        if (result.endsWith(u'/') && Text[pos] == u'*') {
            const qsizetype close = Text.indexOf(Close, pos + 1);
            if (close < 0)
                break;
            result.chop(1);
            pos = close + Close.size();
            continue;
        }
        const qsizetype open = Text.indexOf(Open, pos);
        if (open < 0)
            break;
        const qsizetype close = Text.indexOf(Close, open + Open.size());
        if (close < 0)
            break;
        result += Text.sliced(pos, open - pos);
        pos = close + Close.size();
    }
    result += Text.sliced(pos);
    return result;
}

} // namespace velk
