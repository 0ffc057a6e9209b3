#include "svg/style_property.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace velk {

namespace {

// FNV-1a over the UTF-16 code units.
constexpr std::uint32_t HashName(const char16_t* Chars, std::size_t Count) noexcept
{
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < Count; ++i) {
        hash ^= Chars[i];
        hash *= 16777619u;
    }
    return hash;
}

// Open addressing with linear probing; a slot holds a property's ordinal, 0 when empty.
// 128 slots for 51 names keep probe runs short.
constexpr std::size_t SlotCount = 128;
using TNameTable = std::array<std::uint8_t, SlotCount>;

constexpr TNameTable BuildNameTable()
{
    TNameTable table{};
    for (std::size_t p = 1; p < SVGStylePropertyNames.size(); ++p) {
        const std::u16string_view name = SVGStylePropertyNames[p];
        std::size_t slot = HashName(name.data(), name.size()) % SlotCount;
        while (table[slot] != 0)
            slot = (slot + 1) % SlotCount;
        table[slot] = static_cast<std::uint8_t>(p);
    }
    return table;
}

constexpr TNameTable NameTable = BuildNameTable();

constexpr auto NameLengths = [] {
    std::pair<std::size_t, std::size_t> range{SVGStylePropertyNames[1].size(), 0};
    for (std::size_t p = 1; p < SVGStylePropertyNames.size(); ++p) {
        range.first = std::min(range.first, SVGStylePropertyNames[p].size());
        range.second = std::max(range.second, SVGStylePropertyNames[p].size());
    }
    return range;
}();

} // namespace

QString SVGStylePropertyName(TSVGStyleProperty Property)
{
    const auto ordinal = static_cast<std::size_t>(Property);
    return ordinal < SVGStylePropertyNames.size() ? NameText(SVGStylePropertyNames[ordinal]) : QString();
}

QString SVGStylePropertyDefault(TSVGStyleProperty Property)
{
    const auto ordinal = static_cast<std::size_t>(Property);
    return ordinal < SVGStylePropertyDefaults.size() ? NameText(SVGStylePropertyDefaults[ordinal]) : QString();
}

TSVGStyleProperty SVGNameToStyleProperty(QStringView Name) noexcept
{
    const auto length = static_cast<std::size_t>(Name.size());
    if (length < NameLengths.first || length > NameLengths.second)
        return ipNone;
    const std::u16string_view name(Name.utf16(), length);
    for (std::size_t slot = HashName(name.data(), length) % SlotCount; NameTable[slot] != 0;
         slot = (slot + 1) % SlotCount) {
        if (SVGStylePropertyNames[NameTable[slot]] == name)
            return static_cast<TSVGStyleProperty>(NameTable[slot]);
    }
    return ipNone;
}

} // namespace velk
