#pragma once
// Message formatting in the style of the library's fixed message texts:
// "%s" and "%d" (and "%u", "%x") are replaced by the arguments in order, "%%" by "%".

#include <QString>
#include <QStringList>
#include <concepts>
#include <type_traits>

namespace velk {

namespace detail {
template <typename T>
QString FormatArgument(const T& value)
{
    if constexpr (std::is_same_v<T, QString>)
        return value;
    else if constexpr (std::is_same_v<T, QStringView> || std::is_same_v<T, QLatin1String>)
        return value.toString();
    else if constexpr (std::is_convertible_v<T, const char*>)
        return QString::fromUtf8(value);
    else if constexpr (std::is_same_v<T, QChar>)
        return QString(value);
    else if constexpr (std::is_same_v<T, bool>)
        return value ? QStringLiteral("True") : QStringLiteral("False");
    else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>)
        return QString::number(static_cast<long long>(value));
    else if constexpr (std::is_floating_point_v<T>)
        return QString::number(static_cast<double>(value), 'g', 17);
    else
        static_assert(sizeof(T) == 0, "unsupported message argument type");
}

QString FormatWith(QStringView pattern, const QStringList& arguments);
} // namespace detail

// Format("Class %s not found", name). Missing arguments leave the placeholder as it is.
template <typename... Args>
QString Format(QStringView pattern, const Args&... args)
{
    return detail::FormatWith(pattern, QStringList{detail::FormatArgument(args)...});
}

} // namespace velk
