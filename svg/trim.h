#pragma once
// Blank handling shared by the attribute value parsers: a blank is any character up to
// and including the space (control characters count as blanks, as in the attribute
// syntaxes this library reads).

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

} // namespace velk
