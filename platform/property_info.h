#pragma once
// Published properties: each persistent class describes its streamable properties
// once, in declaration order, in a table of TPropertyInfo (see docs/platform.md,
// "Declaring published properties"). The binary form-file writer and reader walk
// these tables; so do generated controls.

#include "platform/enum_names.h"
#include "platform/set.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace velk {

class TPersistent;

enum TTypeKind { tkUnknown, tkInteger, tkInt64, tkEnumeration, tkBoolean, tkSet, tkFloat, tkString, tkClass, tkMethod };
enum TFloatType { ftSingle, ftDouble, ftExtended, ftComp, ftCurr };

template <>
struct EnumNames<TTypeKind> {
    static constexpr std::array<std::u16string_view, 10> Names{
        u"tkUnknown", u"tkInteger", u"tkInt64", u"tkEnumeration", u"tkBoolean",
        u"tkSet", u"tkFloat", u"tkString", u"tkClass", u"tkMethod"};
};

// A property value in transit: Boolean; integer, enumeration ordinal or set bits;
// float; string; nested persistent object.
using TPropertyValue = std::variant<std::monostate, bool, std::int64_t, double, QString, TPersistent*>;

struct TPropertyInfo {
    QString Name;
    TTypeKind Kind = tkUnknown;
    TFloatType FloatType = ftDouble;
    // Value names of an enumeration, or member names of a set.
    std::span<const std::u16string_view> ValueNames;
    std::function<TPropertyValue(const TPersistent&)> Get;
    // Empty for read-only and nested-object properties (those are read in place).
    std::function<void(TPersistent&, const TPropertyValue&)> Set;
    // Ordinal kinds are written only when they differ from the default; without one
    // they are always written. Floats default to 0 and strings to "" unless given.
    std::optional<TPropertyValue> Default;
    // Empty: always stored.
    std::function<bool(const TPersistent&)> Stored;

    bool IsStored(const TPersistent& instance) const { return !Stored || Stored(instance); }
    // True when the value equals the default, so that the writer may skip it.
    bool HasDefaultValue(const TPersistent& instance) const;
};

namespace detail {
template <typename G, typename C>
using GetterResult = std::remove_cvref_t<std::invoke_result_t<G, const C&>>;

template <typename T>
struct SetTraits : std::false_type {};
template <typename E>
struct SetTraits<TSet<E>> : std::true_type {
    using Element = E;
};
} // namespace detail

// Builds the published-property list of class C in declaration order:
//
//   TPublished<TFoo>()
//       .Integer(u"Count", &TFoo::Count, &TFoo::SetCount, 0)
//       .Enumeration(u"Align", &TFoo::Align, &TFoo::SetAlign, saNone)
//       .Object(u"Brush", &TFoo::Brush)
//       .Take();
template <typename C>
class TPublished {
public:
    template <typename G, typename S>
    TPublished& Boolean(QString name, G get, S set, std::optional<bool> def = std::nullopt)
    {
        TPropertyInfo& p = Add(std::move(name), tkBoolean, get, set);
        if (def)
            p.Default = *def;
        return *this;
    }

    template <typename G, typename S>
    TPublished& Integer(QString name, G get, S set, std::optional<std::int64_t> def = std::nullopt)
    {
        TPropertyInfo& p = Add(std::move(name), tkInteger, get, set);
        if (def)
            p.Default = *def;
        return *this;
    }

    template <typename G, typename S>
    TPublished& Int64(QString name, G get, S set, std::optional<std::int64_t> def = std::nullopt)
    {
        TPropertyInfo& p = Add(std::move(name), tkInt64, get, set);
        if (def)
            p.Default = *def;
        return *this;
    }

    template <typename G, typename S, typename E = detail::GetterResult<G, C>>
    TPublished& Enumeration(QString name, G get, S set, std::optional<std::type_identity_t<E>> def = std::nullopt)
    {
        static_assert(std::is_enum_v<E> && NamedEnum<E>, "the getter must return a named enumeration");
        TPropertyInfo& p = Add(std::move(name), tkEnumeration, get, set);
        p.ValueNames = EnumNames<E>::Names;
        if (def)
            p.Default = static_cast<std::int64_t>(*def);
        return *this;
    }

    template <typename G, typename S, typename T = detail::GetterResult<G, C>>
    TPublished& Set(QString name, G get, S set, std::optional<std::type_identity_t<T>> def = std::nullopt)
    {
        static_assert(detail::SetTraits<T>::value, "the getter must return a TSet");
        TPropertyInfo& p = Add(std::move(name), tkSet, get, set);
        p.ValueNames = EnumNames<typename detail::SetTraits<T>::Element>::Names;
        if (def)
            p.Default = static_cast<std::int64_t>(def->Value());
        return *this;
    }

    template <typename G, typename S>
    TPublished& Float(QString name, TFloatType type, G get, S set, double def = 0)
    {
        TPropertyInfo& p = Add(std::move(name), tkFloat, get, set);
        p.FloatType = type;
        p.Default = def;
        return *this;
    }
    template <typename G, typename S>
    TPublished& Single(QString name, G get, S set, double def = 0) { return Float(std::move(name), ftSingle, get, set, def); }
    template <typename G, typename S>
    TPublished& Double(QString name, G get, S set, double def = 0) { return Float(std::move(name), ftDouble, get, set, def); }

    template <typename G, typename S>
    TPublished& String(QString name, G get, S set, QString def = {})
    {
        TPropertyInfo& p = Add(std::move(name), tkString, get, set);
        p.Default = std::move(def);
        return *this;
    }

    // A nested persistent object owned by the instance; written as "Name.Sub" entries
    // and read in place.
    template <typename G>
    TPublished& Object(QString name, G get)
    {
        TPropertyInfo p;
        p.Name = std::move(name);
        p.Kind = tkClass;
        p.Get = [get](const TPersistent& instance) -> TPropertyValue {
            return static_cast<TPersistent*>(std::invoke(get, static_cast<const C&>(instance)));
        };
        FProperties.push_back(std::move(p));
        return *this;
    }

    // An event: listed so that tables are complete, never streamed.
    TPublished& Event(QString name)
    {
        TPropertyInfo p;
        p.Name = std::move(name);
        p.Kind = tkMethod;
        FProperties.push_back(std::move(p));
        return *this;
    }

    // Stored condition of the property declared last.
    TPublished& StoredWhen(std::function<bool(const C&)> condition)
    {
        FProperties.back().Stored = [condition = std::move(condition)](const TPersistent& instance) {
            return condition(static_cast<const C&>(instance));
        };
        return *this;
    }
    TPublished& NeverStored()
    {
        FProperties.back().Stored = [](const TPersistent&) { return false; };
        return *this;
    }
    // The property declared last has no default value: its stored condition alone
    // decides whether it is written (a float whose default is per instance).
    TPublished& NoDefault()
    {
        FProperties.back().Default.reset();
        return *this;
    }

    std::vector<TPropertyInfo> Take() { return std::move(FProperties); }

private:
    template <typename T>
    static TPropertyValue ToValue(const T& value)
    {
        if constexpr (std::is_same_v<T, bool>)
            return value;
        else if constexpr (std::is_enum_v<T>)
            return static_cast<std::int64_t>(value);
        else if constexpr (detail::SetTraits<T>::value)
            return static_cast<std::int64_t>(value.Value());
        else if constexpr (std::is_integral_v<T>)
            return static_cast<std::int64_t>(value);
        else if constexpr (std::is_floating_point_v<T>)
            return static_cast<double>(value);
        else
            return QString(value);
    }

    template <typename T>
    static T FromValue(const TPropertyValue& value)
    {
        if constexpr (std::is_same_v<T, bool>)
            return std::get<bool>(value);
        else if constexpr (std::is_enum_v<T>)
            return static_cast<T>(std::get<std::int64_t>(value));
        else if constexpr (detail::SetTraits<T>::value)
            return T::FromValue(static_cast<std::uint64_t>(std::get<std::int64_t>(value)));
        else if constexpr (std::is_integral_v<T>)
            return static_cast<T>(std::get<std::int64_t>(value));
        else if constexpr (std::is_floating_point_v<T>)
            return static_cast<T>(std::get<double>(value));
        else
            return std::get<QString>(value);
    }

    template <typename G, typename S>
    TPropertyInfo& Add(QString name, TTypeKind kind, G get, S set)
    {
        using T = detail::GetterResult<G, C>;
        TPropertyInfo p;
        p.Name = std::move(name);
        p.Kind = kind;
        p.Get = [get](const TPersistent& instance) -> TPropertyValue {
            return ToValue<T>(std::invoke(get, static_cast<const C&>(instance)));
        };
        if constexpr (!std::is_same_v<S, std::nullptr_t>) {
            p.Set = [set](TPersistent& instance, const TPropertyValue& value) {
                std::invoke(set, static_cast<C&>(instance), FromValue<T>(value));
            };
        }
        FProperties.push_back(std::move(p));
        return FProperties.back();
    }

    std::vector<TPropertyInfo> FProperties;
};

} // namespace velk
