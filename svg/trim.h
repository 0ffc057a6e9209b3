#pragma once
// Blank handling shared by the attribute value parsers: a blank is any character up to
// and including the space (control characters count as blanks, as in the attribute
// syntaxes this library reads); and the inherit rule of their style forms.

#include <QChar>
#include <QStringView>
#include <cstddef>
#include <string_view>

namespace velk {

constexpr bool SVGIsBlank(QChar C) noexcept
{
    return C.unicode() <= u' ';
}

// Text without the leading and trailing characters for which Strip holds.
template <typename Predicate>
constexpr QStringView SVGTrimIf(QStringView Text, Predicate Strip)
{
    qsizetype first = 0;
    qsizetype last = Text.size();
    while (first < last && Strip(Text[first]))
        ++first;
    while (last > first && Strip(Text[last - 1]))
        --last;
    return Text.sliced(first, last - first);
}

// Text without its leading and trailing blanks.
constexpr QStringView SVGTrim(QStringView Text) noexcept
{
    return SVGTrimIf(Text, SVGIsBlank);
}

// The style forms of the value readers: Inherit := (Text is "inherit") or (Inherit and
// Text is empty). True when Text is a value to parse, false when the reader keeps its
// current value or default.
inline bool SVGTakesStyleText(QStringView Text, bool& Inherit) noexcept
{
    Inherit = Text == u"inherit" || (Inherit && Text.isEmpty());
    return !Inherit && !Text.isEmpty();
}

// The ASCII lower case of C; other characters unchanged.
constexpr char16_t SVGLowerASCII(char16_t C) noexcept
{
    return C >= u'A' && C <= u'Z' ? static_cast<char16_t>(C + (u'a' - u'A')) : C;
}

// Text equals Word with ASCII letters compared without case. The forms that take a
// keyword in any case ("RED", "Infinity", "GRAD") use this rather than Unicode case
// folding, which would let other characters match (the Kelvin sign folds to "k").
constexpr bool SVGSameTextASCII(QStringView Text, std::u16string_view Word) noexcept
{
    if (static_cast<std::size_t>(Text.size()) != Word.size())
        return false;
    for (std::size_t i = 0; i < Word.size(); ++i)
        if (SVGLowerASCII(Text[static_cast<qsizetype>(i)].unicode()) != SVGLowerASCII(Word[i]))
            return false;
    return true;
}

// Text begins with Word, ASCII letters compared without case.
constexpr bool SVGStartsWithASCII(QStringView Text, std::u16string_view Word) noexcept
{
    const auto size = static_cast<qsizetype>(Word.size());
    return Text.size() >= size && SVGSameTextASCII(Text.first(size), Word);
}

} // namespace velk
