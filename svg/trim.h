#pragma once
// Blank handling shared by the attribute value parsers: a blank is any character up to
// and including the space (control characters count as blanks, as in the attribute
// syntaxes this library reads); and the inherit rule of their style forms.

#include <QChar>
#include <QStringView>

namespace velk {

constexpr bool SVGIsBlank(QChar C) noexcept
{
    return C.unicode() <= u' ';
}

// Text without its leading and trailing blanks.
constexpr QStringView SVGTrim(QStringView Text) noexcept
{
    qsizetype first = 0;
    qsizetype last = Text.size();
    while (first < last && SVGIsBlank(Text[first]))
        ++first;
    while (last > first && SVGIsBlank(Text[last - 1]))
        --last;
    return Text.sliced(first, last - first);
}

// The style forms of the value readers: Inherit := (Text is "inherit") or (Inherit and
// Text is empty). True when Text is a value to parse, false when the reader keeps its
// current value or default.
inline bool SVGTakesStyleText(QStringView Text, bool& Inherit) noexcept
{
    Inherit = Text == u"inherit" || (Inherit && Text.isEmpty());
    return !Inherit && !Text.isEmpty();
}

} // namespace velk
