#pragma once
// A set over the ordinals of an enumeration: bit i stands for ordinal i, so the
// integer value of a set equals the original platform's (the default document
// options read 59). Enumerations of up to 64 values.

#include "platform/enum_names.h"

#include <QStringList>
#include <bit>
#include <cstdint>
#include <initializer_list>

namespace velk {

template <typename E>
class TSet {
public:
    using Element = E;

    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> members)
    {
        for (E e : members)
            FBits |= Bit(e);
    }
    static constexpr TSet FromValue(std::uint64_t bits)
    {
        TSet s;
        s.FBits = bits;
        return s;
    }

    constexpr std::uint64_t Value() const { return FBits; }
    constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr int Count() const { return std::popcount(FBits); }

    constexpr TSet& Include(E e) { FBits |= Bit(e); return *this; }
    constexpr TSet& Exclude(E e) { FBits &= ~Bit(e); return *this; }
    constexpr TSet& Set(E e, bool member) { return member ? Include(e) : Exclude(e); }

    constexpr TSet operator+(TSet other) const { return FromValue(FBits | other.FBits); }
    constexpr TSet operator-(TSet other) const { return FromValue(FBits & ~other.FBits); }
    constexpr TSet operator*(TSet other) const { return FromValue(FBits & other.FBits); }
    constexpr TSet& operator+=(TSet other) { FBits |= other.FBits; return *this; }
    constexpr TSet& operator-=(TSet other) { FBits &= ~other.FBits; return *this; }
    constexpr bool operator==(const TSet&) const = default;

    // Calls f(E) for each member in ordinal order. Bits beyond a named enumeration's
    // values are skipped: converting them to E would be undefined.
    template <typename F>
    constexpr void ForEach(F&& f) const
    {
        constexpr int limit = [] {
            if constexpr (NamedEnum<E>)
                return EnumCount<E>() < 64 ? EnumCount<E>() : 64;
            else
                return 64;
        }();
        for (int i = 0; i < limit; ++i)
            if (FBits & (std::uint64_t{1} << i))
                f(static_cast<E>(i));
    }

    // Member names in ordinal order (for streaming and messages).
    QStringList Names() const requires NamedEnum<E>
    {
        QStringList result;
        ForEach([&](E e) { result += EnumName(e); });
        return result;
    }

private:
    static constexpr std::uint64_t Bit(E e)
    {
        const auto ordinal = static_cast<unsigned>(e);
        return ordinal < 64 ? std::uint64_t{1} << ordinal : 0;
    }

    std::uint64_t FBits = 0;
};

} // namespace velk
