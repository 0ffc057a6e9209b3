#include "collections/hash_table.h"
#include "tests/support/test_support.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace velk;

namespace {

using TTable = TVelkHashTable<QString, int>;

using velk::testing::MessageOf;

// Records key notifications and change events of a table.
struct TRecorder {
    explicit TRecorder(TTable& Table)
    {
        Table.OnKeyNotify = [this](TObject*, const QString& key, TCollectionNotification action) {
            Log += key + QLatin1Char(' ') + EnumName(action);
        };
        Table.OnChange = [this, &Table](TObject* sender) {
            EXPECT_EQ(sender, &Table);
            Log += QStringLiteral("change");
        };
    }
    QStringList Log;
};

TEST(HashTable, EveryChangeRaisesOnChange)
{
    TTable t;
    TRecorder r(t);
    t.Add(QStringLiteral("a"), 1);
    t.SetItems(QStringLiteral("a"), 2);
    EXPECT_EQ(t.Put(QStringLiteral("a"), 3), 2);
    EXPECT_EQ(t.Put(QStringLiteral("b"), 4), 0);
    EXPECT_EQ(t.Remove(QStringLiteral("a")), 3);
    EXPECT_EQ(r.Log, QStringList({"a cnAdded", "change", "change", "change", "b cnAdded", "change", "a cnRemoved",
                                  "change"}));
}

TEST(HashTable, UpdatesBatchChangesAndSilenceNotifications)
{
    TTable t;
    TRecorder r(t);
    t.BeginUpdate();
    t.Add(QStringLiteral("a"), 1);
    t.BeginUpdate();
    t.Add(QStringLiteral("b"), 2);
    t.EndUpdate();
    t.Remove(QStringLiteral("a"));
    EXPECT_TRUE(r.Log.isEmpty());
    t.EndUpdate();
    EXPECT_EQ(r.Log, QStringList({"change"}));
}

TEST(HashTable, ClearIsOneChangeWithoutNotifications)
{
    TTable t;
    t.Add(QStringLiteral("a"), 1);
    t.Add(QStringLiteral("b"), 2);
    TRecorder r(t);
    t.Clear();
    EXPECT_EQ(r.Log, QStringList({"change"}));
    EXPECT_TRUE(t.Empty());
    EXPECT_EQ(t.Capacity(), 0);
}

// A table whose removal hook fails, to check that Clear closes its update anyway.
class TFailingTable : public TTable {
protected:
    void KeyNotify(const QString& Key, TCollectionNotification Action) override
    {
        if (Action == cnRemoved)
            throw EListError(QStringLiteral("hook failed"));
        TTable::KeyNotify(Key, Action);
    }
};

TEST(HashTable, ClearEndsItsUpdateAlsoOnFailure)
{
    TFailingTable t;
    t.Add(QStringLiteral("a"), 1);
    int changes = 0;
    t.OnChange = [&](TObject*) { ++changes; };
    EXPECT_THROW(t.Clear(), EListError);
    EXPECT_EQ(changes, 1);
    t.Add(QStringLiteral("b"), 2);
    EXPECT_EQ(changes, 2);
}

TEST(HashTable, RemoveErrorsAndMissingKeys)
{
    TTable t;
    EXPECT_EQ(MessageOf<EGHashtableError>([&] { t.Remove(QStringLiteral("a")); }), "Table is empty");
    t.Add(QStringLiteral("a"), 1);
    TRecorder r(t);
    EXPECT_EQ(t.Remove(QStringLiteral("b")), 0);
    EXPECT_TRUE(r.Log.isEmpty());
    EXPECT_EQ(t.Count(), 1);
}

TEST(HashTable, ItemByIndexFollowsEnumerationOrder)
{
    TTable t;
    for (int i = 0; i < 50; ++i)
        t.Add(QStringLiteral("id%1").arg(i), i);
    QStringList enumerated;
    for (const QString& key : t.Keys())
        enumerated += key;

    QStringList forward;
    for (int i = 0; i < t.Count(); ++i) {
        forward += t.KeyByIndex(i);
        EXPECT_EQ(t.ItemByIndex(i), t.Items(t.KeyByIndex(i)));
    }
    EXPECT_EQ(forward, enumerated);

    QStringList backward;
    for (int i = t.Count() - 1; i >= 0; --i)
        backward.prepend(t.KeyByIndex(i));
    EXPECT_EQ(backward, enumerated);

    for (const int i : {17, 3, 49, 0, 25, 24, 26})
        EXPECT_EQ(t.KeyByIndex(i), enumerated[i]) << i;
}

// Any change of the slots drops the cursor: removal, addition, clearing, resizing.
TEST(HashTable, ItemByIndexAfterChanges)
{
    TTable t;
    for (int i = 0; i < 6; ++i)
        t.Add(QStringLiteral("id%1").arg(i), i);
    const auto check = [&t] {
        int i = 0;
        for (const QString& key : t.Keys())
            ASSERT_EQ(t.KeyByIndex(i++), key);
    };
    (void)t.KeyByIndex(3);
    t.Remove(t.KeyByIndex(0));
    check();
    (void)t.KeyByIndex(4);
    t.Add(QStringLiteral("new"), 9);
    check();
    (void)t.KeyByIndex(5);
    t.SetCapacity(64);
    check();
    (void)t.KeyByIndex(5);
    t.TrimExcess();
    check();
    t.Clear();
    t.Add(QStringLiteral("only"), 1);
    EXPECT_EQ(t.KeyByIndex(0), "only");
}

TEST(HashTable, IndexOutOfBoundsNamesTheIndex)
{
    TTable t;
    t.Add(QStringLiteral("a"), 1);
    for (const int index : {-1, 1, 5})
        EXPECT_EQ(MessageOf<EListError>([&] { (void)t.ItemByIndex(index); }),
                  QStringLiteral("List index out of bounds (%1)").arg(index));
    EXPECT_EQ(MessageOf<EListError>([&] { (void)t.KeyByIndex(2); }), "List index out of bounds (2)");
}

TEST(HashTable, AliasesOfTheDictionaryOperations)
{
    TTable t;
    t.PutItem(QStringLiteral("a"), 1);
    int found = 0;
    EXPECT_TRUE(t.ContainsKey(QStringLiteral("a"), found));
    EXPECT_EQ(found, 1);
    EXPECT_FALSE(t.ContainsKey(QStringLiteral("b"), found));
    EXPECT_EQ(found, 0);
    EXPECT_TRUE(t.ContainsItem(1));
    EXPECT_EQ(t.Get(QStringLiteral("a")), 1);
    EXPECT_EQ(MessageOf<EListError>([&] { (void)t.Get(QStringLiteral("b")); }), "Item not found");
}

TEST(HashTable, DestructionIsSilent)
{
    QStringList log;
    {
        TTable t;
        t.Add(QStringLiteral("a"), 1);
        t.OnKeyNotify = [&](TObject*, const QString& key, TCollectionNotification) { log += key; };
        t.OnValueNotify = [&](TObject*, const int&, TCollectionNotification) { log += QStringLiteral("value"); };
        t.OnChange = [&](TObject*) { log += QStringLiteral("change"); };
    }
    EXPECT_TRUE(log.isEmpty());
}

TEST(HashTable, PublishesOnChange)
{
    const TPropertyInfo* onChange = TTable::StaticClass().FindProperty(u"OnChange");
    ASSERT_NE(onChange, nullptr);
    EXPECT_EQ(onChange->Kind, tkMethod);
}

} // namespace
