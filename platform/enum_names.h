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
#include <string_view>

namespace velk {

template <typename E>
struct EnumNames; // specialised per enumeration

template <typename E>
concept NamedEnum = requires { EnumNames<E>::Names; };

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
    const std::u16string_view name = EnumNames<E>::Names[static_cast<std::size_t>(ordinal)];
    return QString::fromUtf16(name.data(), static_cast<qsizetype>(name.size()));
}

// The value of the given name (exact case), or nothing.
template <NamedEnum E>
std::optional<E> EnumFromName(QStringView name)
{
    const auto& names = EnumNames<E>::Names;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::u16string_view candidate = names[i];
        if (name == QStringView(candidate.data(), static_cast<qsizetype>(candidate.size())))
            return static_cast<E>(i);
    }
    return std::nullopt;
}

} // namespace velk
