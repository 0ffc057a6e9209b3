#pragma once
// TVelkEnumerable and TVelkDictionary: an open-addressing hash map that is also a
// persistent object, so that it can be assigned and streamed.
//
// Layout: 0 slots or a power of two (at least 4); a slot whose HashCode is -1 is empty.
// Keys are found by linear probing from their home slot (hash and (slots - 1)). The
// table grows (doubles) before an insertion once Count reaches three quarters of the
// slots, so a probe always ends at an empty slot. Removal shifts the later keys of the
// probe chain back into the hole, so there are no tombstones. Enumeration, Keys,
// Values and ToArray follow slot order.
//
// A slot is 8 bytes: the key's cached hash and the index of its pair, which lives in a
// dense array. Probes thus touch little memory, and growing moves no keys or values.

#include "collections/hash.h"
#include "platform/exceptions.h"
#include "platform/list.h"
#include "platform/persistent.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <functional>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

namespace velk {

// A forward-only cursor over an enumerable: MoveNext before the first Current.
template <typename T>
class TEnumerator {
public:
    virtual ~TEnumerator() = default;
    virtual bool MoveNext() = 0;
    virtual T Current() const = 0;
};

template <typename T>
class TVelkEnumerable : public TPersistent {
public:
    static const TClassInfo& StaticClass()
    {
        static const TClassInfo info(QStringLiteral("TVelkEnumerable"), &TPersistent::StaticClass());
        return info;
    }
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    std::unique_ptr<TEnumerator<T>> GetEnumerator() const { return DoGetEnumerator(); }

    virtual std::vector<T> ToArray() const
    {
        std::vector<T> result;
        for (auto e = GetEnumerator(); e->MoveNext();)
            result.push_back(e->Current());
        return result;
    }

    // Range-for support: for (const auto& x : enumerable).
    class TIterator {
    public:
        explicit TIterator(std::unique_ptr<TEnumerator<T>> e) : FEnumerator(std::move(e)), FValid(FEnumerator->MoveNext()) {}
        T operator*() const { return FEnumerator->Current(); }
        TIterator& operator++()
        {
            FValid = FEnumerator->MoveNext();
            return *this;
        }
        bool operator==(std::default_sentinel_t) const { return !FValid; }

    private:
        std::unique_ptr<TEnumerator<T>> FEnumerator;
        bool FValid;
    };
    TIterator begin() const { return TIterator(GetEnumerator()); }
    std::default_sentinel_t end() const { return {}; }

protected:
    virtual std::unique_ptr<TEnumerator<T>> DoGetEnumerator() const = 0;
};

template <typename TKey, typename TValue>
struct TPair {
    TKey Key;
    TValue Value;
    bool operator==(const TPair&) const = default;
};

// Raised after a key or value entered or left a dictionary.
template <typename T>
using TCollectionNotifyEvent = std::function<void(TObject* Sender, const T& Item, TCollectionNotification Action)>;

template <typename TKey, typename TValue>
class TVelkDictionary : public TVelkEnumerable<TPair<TKey, TValue>> {
    using TBase = TVelkEnumerable<TPair<TKey, TValue>>;

public:
    using TPairType = TPair<TKey, TValue>;
    using TComparer = std::shared_ptr<const IEqualityComparer<TKey>>;

    static constexpr std::int32_t EmptyHash = -1;
    static constexpr int MaxCapacity = 1 << 30;

    // A slot: the cached hash of its key (EmptyHash when empty) and the index of its
    // pair in FEntries.
    struct TItem {
        std::int32_t HashCode = EmptyHash;
        std::int32_t PairIndex = -1;
    };

    class TKeyCollection;
    class TValueCollection;

    static const TClassInfo& StaticClass()
    {
        static const TClassInfo info(QStringLiteral("TVelkDictionary"), &TBase::StaticClass());
        return info;
    }
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // A negative capacity raises EArgumentOutOfRangeException; no comparer means the
    // default one (for strings: ordinal, case-sensitive).
    explicit TVelkDictionary(int ACapacity = 0, TComparer AComparer = nullptr)
        : FComparer(AComparer ? std::move(AComparer) : DefaultEqualityComparer<TKey>()),
          FDefaultComparer(FComparer == DefaultEqualityComparer<TKey>())
    {
        TVelkDictionary::SetCapacity(ACapacity);
    }
    explicit TVelkDictionary(TComparer AComparer) : TVelkDictionary(0, std::move(AComparer)) {}
    // Adds every pair of Collection with AddOrSetValue.
    explicit TVelkDictionary(const TBase& Collection, TComparer AComparer = nullptr)
        : TVelkDictionary(0, std::move(AComparer))
    {
        for (auto e = Collection.GetEnumerator(); e->MoveNext();) {
            const TPairType pair = e->Current();
            AddOrSetValue(pair.Key, pair.Value);
        }
    }
    // Destruction clears, notifying removal of every pair (see Clear).
    ~TVelkDictionary() override { TVelkDictionary::Clear(); }

    int Count() const { return FCount; }
    // The number of slots.
    int Capacity() const { return static_cast<int>(FItems.size()); }
    // The cached hash of the key in Slot, EmptyHash when the slot is empty.
    std::int32_t SlotHash(int Slot) const { return FItems.at(static_cast<std::size_t>(Slot)).HashCode; }
    // The pair in Slot, nullptr when the slot is empty.
    const TPairType* SlotPair(int Slot) const
    {
        const TItem& item = FItems.at(static_cast<std::size_t>(Slot));
        return item.HashCode == EmptyHash ? nullptr : &PairAt(item);
    }
    const TComparer& Comparer() const { return FComparer; }

    // Raises EListError "Duplicates not allowed" when Key exists.
    void Add(const TKey& Key, const TValue& Value)
    {
        const std::int32_t hc = Hash(Key);
        const int index = GetBucketIndex(Key, hc);
        if (index >= 0)
            throw EListError(messages::GenericDuplicateItem);
        Insert(~index, hc, Key, Value);
    }

    // Adds a missing key or replaces the value of an existing one.
    void AddOrSetValue(const TKey& Key, const TValue& Value)
    {
        const std::int32_t hc = Hash(Key);
        const int index = GetBucketIndex(Key, hc);
        if (index >= 0)
            DoSetValue(index, TValue(Value));
        else
            Insert(~index, hc, Key, Value);
    }

    // The value of Key; EListError "Item not found" when missing.
    const TValue& Items(const TKey& Key) const { return PairAt(FItems[FoundIndex(Key)]).Value; }
    // Replaces the value of an existing key; EListError "Item not found" when missing.
    void SetItems(const TKey& Key, const TValue& Value) { DoSetValue(static_cast<int>(FoundIndex(Key)), TValue(Value)); }

    // True and the value, or false and nil.
    bool TryGetValue(const TKey& Key, TValue& Value) const
    {
        const int index = GetBucketIndex(Key, Hash(Key));
        Value = index >= 0 ? PairAt(FItems[static_cast<std::size_t>(index)]).Value : TValue{};
        return index >= 0;
    }
    bool ContainsKey(const TKey& Key) const { return GetBucketIndex(Key, Hash(Key)) >= 0; }
    // Linear scan of all pairs.
    bool ContainsValue(const TValue& Value) const
    {
        return std::any_of(FEntries.begin(), FEntries.end(), [&Value](const TEntry& e) { return e.Pair.Value == Value; });
    }

    // Removes Key when present (notifications: removed).
    void Remove(const TKey& Key) { DoRemove(Key, Hash(Key), cnRemoved); }
    // Removes and returns the pair (notifications: extracted); a missing key gives
    // the key with a nil value.
    TPairType ExtractPair(const TKey& Key)
    {
        TPairType result{Key, TValue{}};
        result.Value = DoRemove(result.Key, Hash(result.Key), cnExtracted);
        return result;
    }

    // Drops all slots (0 slots remain), then notifies removal of every former key and
    // value in slot order.
    virtual void Clear()
    {
        const std::vector<TItem> oldItems = std::exchange(FItems, {});
        const std::vector<TEntry> oldEntries = std::exchange(FEntries, {});
        FCount = 0;
        FGrowThreshold = 0;
        for (const TItem& item : oldItems) {
            if (item.HashCode == EmptyHash)
                continue;
            const TPairType& pair = oldEntries[static_cast<std::size_t>(item.PairIndex)].Pair;
            KeyNotify(pair.Key, cnRemoved);
            ValueNotify(pair.Value, cnRemoved);
        }
    }

    // Resizes to the smallest legal slot count above Count.
    void TrimExcess()
    {
        SetCapacity(FCount + 1);
        FEntries.shrink_to_fit();
    }

    // Slot count: 0 for 0, else the first of 4, 8, 16, … that is at least ACapacity
    // and above Count (a full table would make probes endless). ACapacity below
    // Count, negative or beyond MaxCapacity raises EArgumentOutOfRangeException.
    virtual void SetCapacity(int ACapacity)
    {
        if (ACapacity < FCount || ACapacity > MaxCapacity)
            throw EArgumentOutOfRangeException(messages::ArgumentOutOfRange);
        if (ACapacity == 0) {
            Rehash(0);
            return;
        }
        const int needed = std::max({ACapacity, FCount + 1, 4});
        Rehash(static_cast<int>(std::bit_ceil(static_cast<unsigned>(needed))));
    }

    // From a dictionary of the same type: Clear, then Add of every pair of Source in
    // Source's slot order. Anything else: the inherited behaviour.
    void Assign(const TPersistent* Source) override
    {
        const auto* source = dynamic_cast<const TVelkDictionary*>(Source);
        if (!source) {
            TBase::Assign(Source);
            return;
        }
        if (source == this)
            return;
        Clear();
        source->ForEachPair([this](const TPairType& pair) { Add(pair.Key, pair.Value); });
    }

    TKeyCollection& Keys() const
    {
        if (!FKeyCollection)
            FKeyCollection = std::make_unique<TKeyCollection>(*this);
        return *FKeyCollection;
    }
    TValueCollection& Values() const
    {
        if (!FValueCollection)
            FValueCollection = std::make_unique<TValueCollection>(*this);
        return *FValueCollection;
    }

    TCollectionNotifyEvent<TKey> OnKeyNotify;
    TCollectionNotifyEvent<TValue> OnValueNotify;

protected:
    std::int32_t Hash(const TKey& Key) const
    {
        // The default comparer is called directly: look-ups are the hot path of ID and
        // rule tables, and two virtual calls per probe showed in the benchmark.
        const std::uint32_t code = FDefaultComparer ? TDefaultEqualityComparer<TKey>::Hash(Key)
                                                    : static_cast<std::uint32_t>(FComparer->GetHashCode(Key));
        return static_cast<std::int32_t>(((code & 0x7FFFFFFFu) + 1u) & 0x7FFFFFFFu);
    }

    // The slot holding Key (>= 0), or the bitwise complement of the empty slot where it
    // would go; with no slots, NoSlot.
    int GetBucketIndex(const TKey& Key, std::int32_t HashCode) const
    {
        if (FItems.empty())
            return NoSlot;
        const auto mask = static_cast<std::uint32_t>(FItems.size() - 1);
        std::uint32_t slot = static_cast<std::uint32_t>(HashCode) & mask;
        for (;;) {
            const TItem& item = FItems[slot];
            if (item.HashCode == EmptyHash)
                return ~static_cast<int>(slot);
            if (item.HashCode == HashCode && KeysEqual(PairAt(item).Key, Key))
                return static_cast<int>(slot);
            slot = (slot + 1) & mask;
        }
    }
    static constexpr int NoSlot = ~MaxCapacity;

    // Calls Visit(pair) for every pair in slot order.
    template <typename F>
    void ForEachPair(F&& Visit) const
    {
        for (const TItem& item : FItems)
            if (item.HashCode != EmptyHash)
                Visit(PairAt(item));
    }

    const TPairType& PairAt(const TItem& Item) const { return FEntries[static_cast<std::size_t>(Item.PairIndex)].Pair; }
    TPairType& PairAt(const TItem& Item) { return FEntries[static_cast<std::size_t>(Item.PairIndex)].Pair; }

    // Stores the pair in the empty slot Index, counts it and notifies (added).
    virtual void DoAdd(int Index, std::int32_t HashCode, const TKey& Key, const TValue& Value)
    {
        FEntries.push_back(TEntry{TPairType{Key, Value}, HashCode});
        FItems[static_cast<std::size_t>(Index)] = TItem{HashCode, static_cast<std::int32_t>(FEntries.size() - 1)};
        ++FCount;
        KeyNotify(Key, cnAdded);
        ValueNotify(Value, cnAdded);
    }

    // Replaces the value in slot Index (notifications: removed old, added new).
    virtual void DoSetValue(int Index, const TValue& Value)
    {
        TValue old = std::exchange(PairAt(FItems[static_cast<std::size_t>(Index)]).Value, Value);
        ValueNotify(old, cnRemoved);
        ValueNotify(Value, cnAdded);
    }

    // Removes Key when present and returns its value (nil when missing).
    virtual TValue DoRemove(const TKey& Key, std::int32_t HashCode, TCollectionNotification Notification)
    {
        const int index = GetBucketIndex(Key, HashCode);
        if (index < 0)
            return TValue{};
        // Key may refer to the pair itself: take the pair out before touching the slots.
        const TItem item = std::exchange(FItems[static_cast<std::size_t>(index)], TItem{});
        TPairType removed = std::move(PairAt(item));
        CloseGap(static_cast<std::uint32_t>(index));
        ClosePairGap(item.PairIndex);
        --FCount;
        KeyNotify(removed.Key, Notification);
        ValueNotify(removed.Value, Notification);
        return std::move(removed.Value);
    }

    virtual void KeyNotify(const TKey& Key, TCollectionNotification Action)
    {
        if (OnKeyNotify)
            OnKeyNotify(this, Key, Action);
    }
    virtual void ValueNotify(const TValue& Value, TCollectionNotification Action)
    {
        if (OnValueNotify)
            OnValueNotify(this, Value, Action);
    }

    std::unique_ptr<TEnumerator<TPairType>> DoGetEnumerator() const override
    {
        return std::make_unique<TSlotEnumerator<TPairType, &ProjectPair>>(*this);
    }

    int FCount = 0;
    bool KeysEqual(const TKey& Left, const TKey& Right) const
    {
        return FDefaultComparer ? Left == Right : FComparer->Equals(Left, Right);
    }

    TComparer FComparer;
    bool FDefaultComparer = false;
    int FGrowThreshold = 0;
    std::vector<TItem> FItems;

private:
    // The pairs, densely (a removal moves the last one into the gap), each with its
    // key's hash so that its slot can be found again.
    struct TEntry {
        TPairType Pair;
        std::int32_t HashCode;
    };

    template <typename T, T (*Project)(const TPairType&)>
    class TSlotEnumerator final : public TEnumerator<T> {
    public:
        explicit TSlotEnumerator(const TVelkDictionary& D) : FDictionary(D) {}
        bool MoveNext() override
        {
            const auto& items = FDictionary.FItems;
            while (++FIndex < static_cast<int>(items.size()))
                if (items[static_cast<std::size_t>(FIndex)].HashCode != EmptyHash)
                    return true;
            FIndex = static_cast<int>(items.size());
            return false;
        }
        T Current() const override { return Project(FDictionary.PairAt(FDictionary.FItems[static_cast<std::size_t>(FIndex)])); }

    private:
        const TVelkDictionary& FDictionary;
        int FIndex = -1;
    };

    static TPairType ProjectPair(const TPairType& Pair) { return Pair; }
    static TKey ProjectKey(const TPairType& Pair) { return Pair.Key; }
    static TValue ProjectValue(const TPairType& Pair) { return Pair.Value; }

    std::size_t FoundIndex(const TKey& Key) const
    {
        const int index = GetBucketIndex(Key, Hash(Key));
        if (index < 0)
            throw EListError(messages::GenericItemNotFound);
        return static_cast<std::size_t>(index);
    }

    // Adds a new key at the empty slot Index, growing first when Count has reached
    // the threshold. When the pair array is about to move, Key and Value are copied
    // first: they may be pairs of this table.
    void Insert(int Index, std::int32_t HashCode, const TKey& Key, const TValue& Value)
    {
        if (FEntries.size() == FEntries.capacity()) {
            const TKey key(Key);
            const TValue value(Value);
            FEntries.reserve(std::max<std::size_t>(4, FEntries.size() * 2));
            Insert(Index, HashCode, key, value);
            return;
        }
        if (FCount >= FGrowThreshold) {
            Grow();
            Index = ~GetBucketIndex(Key, HashCode);
        }
        DoAdd(Index, HashCode, Key, Value);
    }

    void Grow()
    {
        const int slotCount = Capacity();
        if (slotCount >= MaxCapacity)
            throw EArgumentOutOfRangeException(messages::ArgumentOutOfRange);
        SetCapacity(slotCount == 0 ? 4 : slotCount * 2);
    }

    // Reinserts every slot into NewCapacity empty slots, probing from its cached hash.
    void Rehash(int NewCapacity)
    {
        if (NewCapacity == Capacity())
            return;
        std::vector<TItem> newItems(static_cast<std::size_t>(NewCapacity));
        const auto mask = static_cast<std::uint32_t>(NewCapacity - 1);
        for (const TItem& item : FItems) {
            if (item.HashCode == EmptyHash)
                continue;
            std::uint32_t slot = static_cast<std::uint32_t>(item.HashCode) & mask;
            while (newItems[slot].HashCode != EmptyHash)
                slot = (slot + 1) & mask;
            newItems[slot] = item;
        }
        FItems = std::move(newItems);
        FGrowThreshold = NewCapacity / 2 + NewCapacity / 4;
    }

    // Backward-shift deletion: walks forward from the emptied slot Hole and moves each
    // key whose home slot does not lie cyclically in (hole, its slot] into the hole.
    void CloseGap(std::uint32_t Hole)
    {
        const auto mask = static_cast<std::uint32_t>(FItems.size() - 1);
        for (std::uint32_t slot = (Hole + 1) & mask; FItems[slot].HashCode != EmptyHash; slot = (slot + 1) & mask) {
            const std::uint32_t home = static_cast<std::uint32_t>(FItems[slot].HashCode) & mask;
            const bool reachable = Hole <= slot ? (Hole < home && home <= slot) : (Hole < home || home <= slot);
            if (reachable)
                continue;
            FItems[Hole] = std::exchange(FItems[slot], TItem{});
            Hole = slot;
        }
    }

    // Fills the pair array's gap at Gap with its last pair and repoints that pair's slot.
    void ClosePairGap(std::int32_t Gap)
    {
        const auto last = static_cast<std::int32_t>(FEntries.size() - 1);
        if (Gap != last) {
            TEntry& moved = FEntries[static_cast<std::size_t>(Gap)];
            moved = std::move(FEntries.back());
            const auto mask = static_cast<std::uint32_t>(FItems.size() - 1);
            std::uint32_t slot = static_cast<std::uint32_t>(moved.HashCode) & mask;
            while (FItems[slot].PairIndex != last)
                slot = (slot + 1) & mask;
            FItems[slot].PairIndex = Gap;
        }
        FEntries.pop_back();
    }

    std::vector<TEntry> FEntries;
    mutable std::unique_ptr<TKeyCollection> FKeyCollection;
    mutable std::unique_ptr<TValueCollection> FValueCollection;

public:
    class TKeyCollection final : public TVelkEnumerable<TKey> {
    public:
        explicit TKeyCollection(const TVelkDictionary& D) : FDictionary(D) {}
        int Count() const { return FDictionary.Count(); }

    protected:
        std::unique_ptr<TEnumerator<TKey>> DoGetEnumerator() const override
        {
            return std::make_unique<TSlotEnumerator<TKey, &ProjectKey>>(FDictionary);
        }

    private:
        const TVelkDictionary& FDictionary;
    };

    class TValueCollection final : public TVelkEnumerable<TValue> {
    public:
        explicit TValueCollection(const TVelkDictionary& D) : FDictionary(D) {}
        int Count() const { return FDictionary.Count(); }

    protected:
        std::unique_ptr<TEnumerator<TValue>> DoGetEnumerator() const override
        {
            return std::make_unique<TSlotEnumerator<TValue, &ProjectValue>>(FDictionary);
        }

    private:
        const TVelkDictionary& FDictionary;
    };
};

} // namespace velk
