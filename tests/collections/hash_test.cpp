#include "collections/hash.h"

#include <gtest/gtest.h>

#include <random>

using namespace velk;

namespace {

// The slot order of every string table follows from these values: they must not change.
TEST(HashString, PinnedValues)
{
    struct Case {
        const char16_t* Key;
        std::uint32_t Hash;
    };
    const Case cases[] = {
        {u"", 0xAB3E7C0Bu},
        {u"a", 0x91E9DA27u},
        {u"id1", 0x37ED23A5u},
        {u"rect1", 0x978942F6u},
        {u"linearGradient4711", 0x046133C3u},
        {u"\u00C4\u20AC\U0001F600", 0x6B7A15E4u},
        {u".cls-1", 0xC81E2BBBu},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HashString(QStringView(c.Key)), c.Hash) << QString::fromUtf16(c.Key).toStdString();
}

// The definition, byte by byte: HashString takes a shortcut for Latin-1 units that must
// not change any value.
std::uint32_t ReferenceHash(const std::u16string& s)
{
    std::uint32_t h = 2166136261u;
    for (const char16_t unit : s)
        for (const std::uint32_t byte : {unit & 0xFFu, static_cast<std::uint32_t>(unit) >> 8})
            h = (h ^ byte) * 16777619u;
    return HashMix32(h);
}

TEST(HashString, EqualsTheBytewiseDefinition)
{
    std::mt19937 random(99);
    std::uniform_int_distribution<int> length(0, 40);
    std::uniform_int_distribution<int> kind(0, 3);
    for (int i = 0; i < 2000; ++i) {
        std::u16string s(static_cast<std::size_t>(length(random)), u' ');
        for (char16_t& unit : s) {
            switch (kind(random)) {
            case 0: unit = static_cast<char16_t>(random() % 0x80); break;
            case 1: unit = static_cast<char16_t>(random() % 0x100); break;
            default: unit = static_cast<char16_t>(random() % 0x10000); break;
            }
        }
        ASSERT_EQ(HashString(QStringView(s.data(), static_cast<qsizetype>(s.size()))), ReferenceHash(s)) << i;
    }
}

TEST(HashString, DefaultComparerIsOrdinalAndCaseSensitive)
{
    const auto comparer = DefaultEqualityComparer<QString>();
    EXPECT_TRUE(comparer->Equals(QStringLiteral("Rect"), QStringLiteral("Rect")));
    EXPECT_FALSE(comparer->Equals(QStringLiteral("Rect"), QStringLiteral("rect")));
    EXPECT_EQ(comparer->GetHashCode(QStringLiteral("id1")), static_cast<std::int32_t>(0x37ED23A5u));
    EXPECT_NE(comparer->GetHashCode(QStringLiteral("Rect")), comparer->GetHashCode(QStringLiteral("rect")));
}

} // namespace
