#pragma once
// Name tables of enumerations. Each enumeration that is streamed, published or printed
// in a message specialises EnumNames with its value names in ordinal order:
//
//   template <> struct EnumNames<TValueType> {
//       static constexpr std::array<std::u16string_view, 22> Names{u"vaNull", ...};
//   };

#include <QString>
#include <QStringView>
#include <array>
#include <optional>
#include <span>
#include <string_view>

namespace velk {

template <typename E>
struct EnumNames; // specialised per enumeration

template <typename E>
concept NamedEnum = requires { EnumNames<E>::Names; };

// An entry of a name table as a QString.
inline QString NameText(std::u16string_view Name)
{
    return QString::fromUtf16(Name.data(), static_cast<qsizetype>(Name.size()));
}

// The position of Name (exact case) in a name table, or nothing. Published properties
// keep their value names as such a table.
inline std::optional<std::size_t> FindName(std::span<const std::u16string_view> Names, QStringView Name)
{
    for (std::size_t i = 0; i < Names.size(); ++i)
        if (Name == QStringView(Names[i].data(), static_cast<qsizetype>(Names[i].size())))
            return i;
    return std::nullopt;
}

// The number of values of a named enumeration.
template <NamedEnum E>
constexpr int EnumCount()
{
    return static_cast<int>(EnumNames<E>::Names.size());
}

// The value's name; an ordinal outside the table gives its number in parentheses.
template <NamedEnum E>
QString EnumName(E value)
{
    const auto ordinal = static_cast<long long>(value);
    if (ordinal < 0 || ordinal >= EnumCount<E>())
        return QStringLiteral("(%1)").arg(ordinal);
    return NameText(EnumNames<E>::Names[static_cast<std::size_t>(ordinal)]);
}

// The value of the given name (exact case), or nothing.
template <NamedEnum E>
std::optional<E> EnumFromName(QStringView name)
{
    if (const std::optional<std::size_t> index = FindName(EnumNames<E>::Names, name))
        return static_cast<E>(*index);
    return std::nullopt;
}

} // namespace velk
