#include "collections/dictionary.h"
#include "tests/support/test_support.h"

#include <QHash>
#include <QStringList>
#include <gtest/gtest.h>

#include <random>

using namespace velk;

namespace {

using TDict = TVelkDictionary<QString, int>;

// The slot a key goes to first in a table of SlotCount slots.
int HomeSlot(const QString& Key, int SlotCount)
{
    const std::uint32_t hash = ((HashString(Key) & 0x7FFFFFFFu) + 1u) & 0x7FFFFFFFu;
    return static_cast<int>(hash & static_cast<std::uint32_t>(SlotCount - 1));
}

// Count keys "k0", "k1", … whose home slot in a table of SlotCount slots is Home.
QStringList KeysWithHome(int Home, int SlotCount, int Count)
{
    QStringList keys;
    for (int i = 0; keys.size() < Count; ++i) {
        const QString key = QStringLiteral("k%1").arg(i);
        if (HomeSlot(key, SlotCount) == Home)
            keys += key;
    }
    return keys;
}

QStringList SlotKeys(const TDict& D)
{
    QStringList keys;
    for (int slot = 0; slot < D.Capacity(); ++slot)
        keys += D.SlotPair(slot) ? D.SlotPair(slot)->Key : QStringLiteral("-");
    return keys;
}

using velk::testing::MessageOf;

TEST(Dictionary, GrowsFromNoSlotsToFourThenEight)
{
    TDict d;
    EXPECT_EQ(d.Capacity(), 0);
    d.Add(QStringLiteral("a"), 1);
    EXPECT_EQ(d.Capacity(), 4);
    d.Add(QStringLiteral("b"), 2);
    d.Add(QStringLiteral("c"), 3);
    EXPECT_EQ(d.Capacity(), 4);
    d.Add(QStringLiteral("d"), 4); // Count 3 reached the threshold 3: grow first
    EXPECT_EQ(d.Capacity(), 8);
    EXPECT_EQ(d.Count(), 4);
    EXPECT_EQ(d.Items(QStringLiteral("a")), 1);
    EXPECT_EQ(d.Items(QStringLiteral("d")), 4);
}

TEST(Dictionary, SlotsFollowTheHomeSlotsOfTheFixedHash)
{
    TDict d;
    const QStringList keys{QStringLiteral("id1"), QStringLiteral("rect1"), QStringLiteral("a")};
    for (const QString& key : keys)
        d.Add(key, 0);
    // Homes in 4 slots: id1 → 2, rect1 → 3, a → 0.
    EXPECT_EQ(SlotKeys(d), QStringList({"a", "-", "id1", "rect1"}));
}

TEST(Dictionary, CapacityRules)
{
    struct Case {
        int Count;
        int Requested;
        int Slots;
    };
    const Case cases[] = {
        {0, 0, 0}, {0, 1, 4}, {0, 5, 8}, {3, 3, 4}, {4, 4, 8}, {5, 9, 16}, {0, 1000, 1024},
    };
    for (const Case& c : cases) {
        TDict d;
        for (int i = 0; i < c.Count; ++i)
            d.Add(QString::number(i), i);
        d.SetCapacity(c.Requested);
        EXPECT_EQ(d.Capacity(), c.Slots) << c.Count << " " << c.Requested;
        for (int i = 0; i < c.Count; ++i)
            EXPECT_EQ(d.Items(QString::number(i)), i);
        EXPECT_FALSE(d.ContainsKey(QStringLiteral("missing"))); // a probe always ends
    }

    TDict trimmed(100);
    EXPECT_EQ(trimmed.Capacity(), 128);
    trimmed.Add(QStringLiteral("x"), 1);
    trimmed.TrimExcess();
    EXPECT_EQ(trimmed.Capacity(), 4);
}

TEST(Dictionary, CapacityErrors)
{
    EXPECT_EQ(MessageOf<EArgumentOutOfRangeException>([] { TDict d(-1); }), "Argument out of range");
    TDict d;
    d.Add(QStringLiteral("a"), 1);
    d.Add(QStringLiteral("b"), 2);
    EXPECT_EQ(MessageOf<EArgumentOutOfRangeException>([&] { d.SetCapacity(1); }), "Argument out of range");
    EXPECT_EQ(MessageOf<EArgumentOutOfRangeException>([&] { d.SetCapacity(TDict::MaxCapacity + 1); }),
              "Argument out of range");
    EXPECT_EQ(d.Capacity(), 4);
    EXPECT_EQ(d.Count(), 2);
}

// Three keys share one home slot; removing any of them keeps the others reachable,
// also when the chain wraps from the last slot to the first.
TEST(Dictionary, RemovalInsideAProbeChainKeepsLaterKeysFindable)
{
    for (const int home : {2, 7}) {
        const QStringList chain = KeysWithHome(home, 8, 3);
        const QStringList others = KeysWithHome((home + 1) % 8, 8, 1);
        for (int removed = 0; removed < chain.size(); ++removed) {
            TDict d(8);
            ASSERT_EQ(d.Capacity(), 8);
            for (const QString& key : chain)
                d.Add(key, 1);
            d.Add(others[0], 2); // pushed behind the chain, though its home is inside it
            d.Remove(chain[removed]);
            EXPECT_EQ(d.Count(), 3);
            EXPECT_FALSE(d.ContainsKey(chain[removed]));
            for (int i = 0; i < chain.size(); ++i) {
                if (i != removed) {
                    EXPECT_TRUE(d.ContainsKey(chain[i])) << home << " " << removed << " " << i;
                }
            }
            EXPECT_EQ(d.Items(others[0]), 2);
            // No tombstones: exactly Count occupied slots, and the chain closed up.
            EXPECT_EQ(SlotKeys(d).count(QStringLiteral("-")), 5);
            EXPECT_EQ(d.SlotPair(home)->Key, chain[removed == 0 ? 1 : 0]);
            EXPECT_EQ(d.SlotHash(home) & 7, home);
        }
    }
}

TEST(Dictionary, ErrorsLeaveTheTableUnchanged)
{
    TDict d;
    for (const char* key : {"a", "b", "c"})
        d.Add(QString::fromLatin1(key), 1);
    const QStringList before = SlotKeys(d);
    // At the grow threshold: a failing Add must not rehash.
    EXPECT_EQ(MessageOf<EListError>([&] { d.Add(QStringLiteral("b"), 9); }), "Duplicates not allowed");
    EXPECT_EQ(MessageOf<EListError>([&] { (void)d.Items(QStringLiteral("x")); }), "Item not found");
    EXPECT_EQ(MessageOf<EListError>([&] { d.SetItems(QStringLiteral("x"), 1); }), "Item not found");
    EXPECT_EQ(SlotKeys(d), before);
    EXPECT_EQ(d.Items(QStringLiteral("b")), 1);
}

TEST(Dictionary, KeysAreCaseSensitive)
{
    TDict d;
    d.Add(QStringLiteral("Rect"), 1);
    d.Add(QStringLiteral("rect"), 2);
    d.Add(QStringLiteral("RECT"), 3);
    EXPECT_EQ(d.Count(), 3);
    EXPECT_EQ(d.Items(QStringLiteral("rect")), 2);
    EXPECT_FALSE(d.ContainsKey(QStringLiteral("rEct")));
}

TEST(Dictionary, LookupsAndValues)
{
    TVelkDictionary<QString, QString*> d;
    QString target;
    int value = -1;
    TDict plain;
    EXPECT_FALSE(plain.TryGetValue(QStringLiteral("x"), value));
    EXPECT_EQ(value, 0);
    QString* found = &target;
    d.AddOrSetValue(QStringLiteral("k"), &target);
    EXPECT_TRUE(d.TryGetValue(QStringLiteral("k"), found));
    EXPECT_EQ(found, &target);
    EXPECT_TRUE(d.ContainsValue(&target));
    EXPECT_FALSE(d.ContainsValue(nullptr));
    EXPECT_EQ(d.ExtractPair(QStringLiteral("none")), (TPair<QString, QString*>{QStringLiteral("none"), nullptr}));
    EXPECT_EQ(d.ExtractPair(QStringLiteral("k")).Value, &target);
    EXPECT_EQ(d.Count(), 0);
}

TEST(Dictionary, NotificationsInOrder)
{
    TDict d;
    QStringList log;
    d.OnKeyNotify = [&](TObject* sender, const QString& key, TCollectionNotification action) {
        EXPECT_EQ(sender, &d);
        log += QStringLiteral("key %1 %2").arg(key, EnumName(action));
    };
    d.OnValueNotify = [&](TObject*, const int& value, TCollectionNotification action) {
        log += QStringLiteral("value %1 %2").arg(value).arg(EnumName(action));
    };
    d.Add(QStringLiteral("id1"), 1);
    d.AddOrSetValue(QStringLiteral("id1"), 2);
    d.SetItems(QStringLiteral("id1"), 3);
    d.AddOrSetValue(QStringLiteral("a"), 4);
    d.Remove(QStringLiteral("missing"));
    (void)d.ExtractPair(QStringLiteral("a"));
    d.Add(QStringLiteral("rect1"), 5);
    d.Add(QStringLiteral("a"), 6);
    log += QStringLiteral("clear");
    d.Clear(); // slot order: a (0), id1 (2), rect1 (3)
    EXPECT_EQ(d.Capacity(), 0);
    EXPECT_EQ(log, QStringList({
                       "key id1 cnAdded", "value 1 cnAdded",
                       "value 1 cnRemoved", "value 2 cnAdded",
                       "value 2 cnRemoved", "value 3 cnAdded",
                       "key a cnAdded", "value 4 cnAdded",
                       "key a cnExtracted", "value 4 cnExtracted",
                       "key rect1 cnAdded", "value 5 cnAdded",
                       "key a cnAdded", "value 6 cnAdded",
                       "clear",
                       "key a cnRemoved", "value 6 cnRemoved",
                       "key id1 cnRemoved", "value 3 cnRemoved",
                       "key rect1 cnRemoved", "value 5 cnRemoved",
                   }));
}

TEST(Dictionary, DestructionNotifiesRemovalOfEveryPair)
{
    QStringList log;
    {
        TDict d;
        d.Add(QStringLiteral("a"), 1);
        d.OnKeyNotify = [&](TObject*, const QString& key, TCollectionNotification action) {
            log += key + QLatin1Char(' ') + EnumName(action);
        };
    }
    EXPECT_EQ(log, QStringList({"a cnRemoved"}));
}

TEST(Dictionary, EnumerationFollowsSlotOrder)
{
    TDict d;
    for (int i = 0; i < 20; ++i)
        d.Add(QStringLiteral("key%1").arg(i), i);
    QStringList slotOrder = SlotKeys(d);
    slotOrder.removeAll(QStringLiteral("-"));

    QStringList enumerated;
    QStringList fromArray;
    QStringList keys;
    QList<int> values;
    for (const auto& pair : d) {
        enumerated += pair.Key;
        EXPECT_EQ(pair.Value, d.Items(pair.Key));
    }
    for (const auto& pair : d.ToArray())
        fromArray += pair.Key;
    for (const QString& key : d.Keys())
        keys += key;
    for (int value : d.Values())
        values += value;
    EXPECT_EQ(enumerated, slotOrder);
    EXPECT_EQ(fromArray, slotOrder);
    EXPECT_EQ(keys, slotOrder);
    ASSERT_EQ(values.size(), 20);
    EXPECT_EQ(values[3], d.Items(slotOrder[3]));
    EXPECT_EQ(d.Keys().Count(), 20);
}

TEST(Dictionary, AssignCopiesInSourceSlotOrder)
{
    TDict source;
    for (int i = 0; i < 10; ++i)
        source.Add(QStringLiteral("s%1").arg(i), i);
    TDict target;
    target.Add(QStringLiteral("old"), 0);
    QStringList added;
    target.OnKeyNotify = [&](TObject*, const QString& key, TCollectionNotification action) {
        if (action == cnAdded)
            added += key;
    };
    target.Assign(&source);
    EXPECT_EQ(target.Count(), 10);
    EXPECT_FALSE(target.ContainsKey(QStringLiteral("old")));
    QStringList sourceOrder;
    for (const QString& key : source.Keys())
        sourceOrder += key;
    EXPECT_EQ(added, sourceOrder);

    target.Assign(&target);
    EXPECT_EQ(target.Count(), 10);

    const TDict fromCollection(static_cast<const TVelkEnumerable<TPair<QString, int>>&>(source));
    EXPECT_EQ(fromCollection.Count(), 10);
    EXPECT_EQ(fromCollection.Items(QStringLiteral("s7")), 7);

    TVelkDictionary<QString, double> other;
    EXPECT_EQ(MessageOf<EConvertError>([&] { target.Assign(&other); }),
              "Cannot assign a TVelkDictionary to a TVelkDictionary");
    EXPECT_EQ(MessageOf<EConvertError>([&] { target.Assign(nullptr); }), "Cannot assign a nil to a TVelkDictionary");
}

TEST(Dictionary, CustomComparer)
{
    class TCaseInsensitive final : public IEqualityComparer<QString> {
    public:
        bool Equals(const QString& l, const QString& r) const override { return l.compare(r, Qt::CaseInsensitive) == 0; }
        std::int32_t GetHashCode(const QString& v) const override
        {
            return static_cast<std::int32_t>(HashString(v.toLower()));
        }
    };
    TDict d(std::make_shared<TCaseInsensitive>());
    d.Add(QStringLiteral("Rect"), 1);
    EXPECT_EQ(d.Items(QStringLiteral("RECT")), 1);
    EXPECT_THROW(d.Add(QStringLiteral("rect"), 2), EListError);
}

// A mixed sequence of insertions, replacements, removals and look-ups agrees with QHash.
TEST(Dictionary, AgreesWithQHashUnderRandomOperations)
{
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> keyOf(0, 600);
    std::uniform_int_distribution<int> operation(0, 9);
    TDict d;
    QHash<QString, int> reference;
    for (int step = 0; step < 40000; ++step) {
        const QString key = QStringLiteral("id%1").arg(keyOf(random));
        switch (operation(random)) {
        case 0:
        case 1:
        case 2:
            if (reference.contains(key)) {
                EXPECT_THROW(d.Add(key, step), EListError);
            } else {
                d.Add(key, step);
                reference.insert(key, step);
            }
            break;
        case 3:
            d.AddOrSetValue(key, step);
            reference.insert(key, step);
            break;
        case 4:
        case 5:
        case 6:
            d.Remove(key);
            reference.remove(key);
            break;
        default: {
            int value = 0;
            ASSERT_EQ(d.TryGetValue(key, value), reference.contains(key)) << step;
            EXPECT_EQ(value, reference.value(key));
        }
        }
        ASSERT_EQ(d.Count(), reference.size());
        if (step % 5000 == 0 && d.Count() > 0)
            d.TrimExcess();
    }
    int enumerated = 0;
    for (const auto& pair : d) {
        EXPECT_EQ(reference.value(pair.Key, -1), pair.Value);
        ++enumerated;
    }
    EXPECT_EQ(enumerated, reference.size());
    EXPECT_LE(d.Count(), d.Capacity() / 2 + d.Capacity() / 4);
}

} // namespace
