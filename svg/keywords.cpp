#include "svg/keywords.h"

#include "svg/trim.h"

namespace velk {

int SVGKeywordIndex(std::span<const std::u16string_view> Keywords, QStringView Text)
{
    if (Keywords.empty())
        return 0;
    const std::optional<std::size_t> index = FindName(Keywords.subspan(1), SVGTrim(Text));
    return index ? static_cast<int>(*index) + 1 : 0;
}

} // namespace velk
