#include "platform/exceptions.h"
#include "platform/list.h"
#include "platform/persistent.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

using namespace velk;

namespace {

enum TShade { shNone, shLight, shDark };
} // namespace

template <>
struct velk::EnumNames<TShade> {
    static constexpr std::array<std::u16string_view, 3> Names{u"shNone", u"shLight", u"shDark"};
};

namespace {

class TSwatch : public TPersistent {
public:
    static const TClassInfo& StaticClass()
    {
        static const TClassInfo info(QStringLiteral("TSwatch"), &TPersistent::StaticClass(), &CreateInstance<TSwatch>,
                                     TPublished<TSwatch>()
                                         .Enumeration(u"Shade"_qs, &TSwatch::Shade, &TSwatch::SetShade, shLight)
                                         .Integer(u"Size"_qs, &TSwatch::Size, &TSwatch::SetSize, 10)
                                         .Take());
        return info;
    }
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    TShade Shade() const { return FShade; }
    void SetShade(TShade v) { FShade = v; }
    int Size() const { return FSize; }
    void SetSize(int v) { FSize = v; }

    void Assign(const TPersistent* Source) override
    {
        if (auto* s = dynamic_cast<const TSwatch*>(Source)) {
            FShade = s->FShade;
            FSize = s->FSize;
            return;
        }
        TPersistent::Assign(Source);
    }

private:
    TShade FShade = shLight;
    int FSize = 10;
};

// Declares Shade again with another default, and a property of its own.
class TBigSwatch : public TSwatch {
public:
    static const TClassInfo& StaticClass()
    {
        static const TClassInfo info(QStringLiteral("TBigSwatch"), &TSwatch::StaticClass(),
                                     &CreateInstance<TBigSwatch>,
                                     TPublished<TBigSwatch>()
                                         .Integer(u"Weight"_qs, &TBigSwatch::Weight, &TBigSwatch::SetWeight, 0)
                                         .Enumeration(u"Shade"_qs, &TBigSwatch::Shade, &TBigSwatch::SetShade, shDark)
                                         .Take());
        return info;
    }
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    int Weight() const { return FWeight; }
    void SetWeight(int v) { FWeight = v; }

private:
    int FWeight = 0;
};

TEST(Format, ReplacesPlaceholdersInOrder)
{
    EXPECT_EQ(Format(u"Class %s not found", QStringLiteral("TFoo")), "Class TFoo not found");
    EXPECT_EQ(Format(u"List index out of bounds (%d)", -3), "List index out of bounds (-3)");
    EXPECT_EQ(Format(u"%d%% of %s", 50, "all"), "50% of all");
    EXPECT_EQ(Format(u"missing %s"), "missing %s");
}

TEST(Persistent, AssignErrorNamesBothClasses)
{
    TSwatch swatch;
    try {
        swatch.Assign(nullptr);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a nil to a TSwatch");
    }
    TPersistent plain;
    EXPECT_THROW(plain.Assign(&swatch), EConvertError);
    try {
        plain.Assign(&swatch);
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TSwatch to a TPersistent");
    }
}

TEST(ClassInfo, PropertiesAncestorsFirstAndDefaults)
{
    TSwatch swatch;
    const auto props = swatch.ClassInfo().Properties();
    ASSERT_EQ(props.size(), 2u);
    EXPECT_EQ(props[0]->Name, "Shade");
    EXPECT_TRUE(props[0]->HasDefaultValue(swatch));
    swatch.SetShade(shDark);
    EXPECT_FALSE(props[0]->HasDefaultValue(swatch));
    props[1]->Set(swatch, TPropertyValue(std::int64_t{42}));
    EXPECT_EQ(swatch.Size(), 42);
    EXPECT_EQ(EnumName(shDark), "shDark");
    EXPECT_EQ(EnumFromName<TShade>(u"shNone"), shNone);
    EXPECT_FALSE(EnumFromName<TShade>(u"shnone").has_value());
}

TEST(ClassInfo, APropertyDeclaredAgainKeepsTheAncestorsPlace)
{
    TBigSwatch swatch;
    const auto props = swatch.ClassInfo().Properties();
    ASSERT_EQ(props.size(), 3u);
    EXPECT_EQ(props[0]->Name, "Shade");
    EXPECT_EQ(props[1]->Name, "Size");
    EXPECT_EQ(props[2]->Name, "Weight");
    // The redeclared default counts: shDark is the default here, shLight is not.
    swatch.SetShade(shDark);
    EXPECT_TRUE(props[0]->HasDefaultValue(swatch));
    EXPECT_EQ(swatch.ClassInfo().FindProperty(u"Shade"), props[0]);
}

TEST(ClassInfo, RegistryFindsClassesByName)
{
    RegisterClass(TSwatch::StaticClass());
    EXPECT_EQ(&FindClass(u"TSwatch"), &TSwatch::StaticClass());
    auto created = FindClass(u"TSwatch").CreateAs<TSwatch>();
    ASSERT_TRUE(created);
    EXPECT_EQ(created->Size(), 10);
    try {
        FindClass(u"TMissing");
        FAIL();
    } catch (const EClassNotFound& e) {
        EXPECT_EQ(e.Message(), "Class TMissing not found");
    }
    EXPECT_THROW(TPersistent::StaticClass().Create(), EInvalidOperation);
}

TEST(Set, IntegerValueMatchesOrdinalBits)
{
    TSet<TShade> s{shNone, shDark};
    EXPECT_EQ(s.Value(), 5u);
    EXPECT_EQ(s.Names(), QStringList({"shNone", "shDark"}));
    s.Exclude(shNone).Include(shLight);
    EXPECT_EQ(s.Value(), 6u);
    EXPECT_TRUE(s.Contains(shLight));
    EXPECT_EQ(s.Count(), 2);
}

TEST(List, NotifiesAndChecksIndexes)
{
    TList<int> list;
    QStringList log;
    list.OnNotify = [&](const int& item, TCollectionNotification action) {
        log += QStringLiteral("%1:%2").arg(item).arg(EnumName(action));
    };
    list.Add(1);
    list.Add(2);
    list.Insert(0, 0);
    EXPECT_EQ(list.Extract(1), 1);
    list.Clear();
    EXPECT_EQ(log, QStringList({"1:cnAdded", "2:cnAdded", "0:cnAdded", "1:cnExtracted", "2:cnRemoved", "0:cnRemoved"}));
    try {
        list.Delete(0);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (0)");
    }
}

TEST(List, MoveKeepsEveryItemWhenAnIndexIsBad)
{
    TList<int> list;
    for (int i : {0, 1, 2, 3})
        list.Add(i);
    list.Move(0, 3);
    EXPECT_EQ(list.ToVector(), std::vector<int>({1, 2, 3, 0}));
    list.Move(3, 1);
    EXPECT_EQ(list.ToVector(), std::vector<int>({1, 0, 2, 3}));
    EXPECT_EQ(velk::testing::MessageOf<EListError>([&] { list.Move(1, 4); }), "List index out of bounds (4)");
    EXPECT_EQ(list.ToVector(), std::vector<int>({1, 0, 2, 3}));
}

} // namespace
