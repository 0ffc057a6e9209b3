#pragma once
// Key hashing and equality for the hash tables.
//
// The string hash is fixed on purpose: a table's slot order follows from it, and with
// the slot order the order of enumeration, ItemByIndex and AssignTo, which the style
// cascade uses to order rules of equal priority. Changing it changes rendering; its
// values are pinned by tests/collections/hash_test.cpp (see docs/collections.md).

#include <QHashFunctions>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <memory>
#include <type_traits>

namespace velk {

// The murmur3 32-bit finaliser: every input bit affects every output bit.
constexpr std::uint32_t HashMix32(std::uint32_t h) noexcept
{
    h ^= h >> 16;
    h *= 0x85EBCA6Bu;
    h ^= h >> 13;
    h *= 0xC2B2AE35u;
    h ^= h >> 16;
    return h;
}

// FNV-1a (32-bit) over the UTF-16 code units, each unit fed as two bytes, low byte
// first, then HashMix32 so that the low bits that pick a slot are well mixed.
inline std::uint32_t HashString(QStringView s) noexcept
{
    constexpr std::uint32_t prime = 16777619u;
    // A zero high byte leaves the hash as it is before its multiplication, and the
    // two multiplications fold into one: ((h ^ lo) * prime ^ 0) * prime. This halves
    // the work for Latin-1 text, with the same result.
    constexpr std::uint32_t primeSquared = prime * prime;
    std::uint32_t h = 2166136261u;
    const char16_t* p = s.utf16();
    const char16_t* const end = p + s.size();
    for (; p != end; ++p) {
        const std::uint32_t unit = *p;
        if (unit <= 0xFFu) [[likely]] {
            h = (h ^ unit) * primeSquared;
        } else {
            h = (h ^ (unit & 0xFFu)) * prime;
            h = (h ^ (unit >> 8)) * prime;
        }
    }
    return HashMix32(h);
}

// Equality and hash of keys, as a table uses them. A table shares its comparer.
template <typename T>
class IEqualityComparer {
public:
    virtual ~IEqualityComparer() = default;
    virtual bool Equals(const T& Left, const T& Right) const = 0;
    virtual std::int32_t GetHashCode(const T& Value) const = 0;
};

// The default comparer: operator== and, for strings, HashString (ordinal and
// case-sensitive); integers, enumerations and pointers are mixed with HashMix32;
// other types use qHash with seed 0.
template <typename T>
class TDefaultEqualityComparer final : public IEqualityComparer<T> {
public:
    bool Equals(const T& Left, const T& Right) const override { return Left == Right; }

    std::int32_t GetHashCode(const T& Value) const override
    {
        return static_cast<std::int32_t>(Hash(Value));
    }

    static std::uint32_t Hash(const T& Value)
    {
        if constexpr (std::is_same_v<T, QString>) {
            return HashString(Value);
        } else if constexpr (std::is_integral_v<T> || std::is_enum_v<T> || std::is_pointer_v<T>) {
            std::uint64_t bits;
            if constexpr (std::is_pointer_v<T>)
                bits = reinterpret_cast<std::uintptr_t>(Value);
            else
                bits = static_cast<std::uint64_t>(Value);
            return HashMix32(static_cast<std::uint32_t>(bits) ^ static_cast<std::uint32_t>(bits >> 32));
        } else {
            return static_cast<std::uint32_t>(qHash(Value, 0));
        }
    }
};

template <typename T>
std::shared_ptr<const IEqualityComparer<T>> DefaultEqualityComparer()
{
    static const auto comparer = std::make_shared<const TDefaultEqualityComparer<T>>();
    return comparer;
}

} // namespace velk
