#pragma once
// TVelkHashTable: a dictionary with change notification, update nesting and access
// by position (the Index-th occupied slot in slot order).

#include "collections/dictionary.h"
#include "platform/binary_reader.h"

namespace velk {

template <typename TKey, typename TValue>
class TVelkHashTable : public TVelkDictionary<TKey, TValue> {
    using TBase = TVelkDictionary<TKey, TValue>;

public:
    static const TClassInfo& StaticClass()
    {
        static const TClassInfo info(QStringLiteral("TVelkHashTable"), &TBase::StaticClass(), nullptr,
                                     TPublished<TVelkHashTable>().Event(QStringLiteral("OnChange")).Take());
        return info;
    }
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    using TBase::TBase;
    // No notifications or change events while the table is destroyed.
    ~TVelkHashTable() override
    {
        ++FUpdating;
        TBase::Clear();
    }

    bool Empty() const { return this->FCount == 0; }

    // Update nesting: OnChange is raised once, when the outermost EndUpdate closes.
    virtual void BeginUpdate() { ++FUpdating; }
    virtual void EndUpdate()
    {
        if (--FUpdating == 0)
            DoChange();
    }

    // Inside an update: no key or value notifications, one change event.
    void Clear() override
    {
        WithinUpdate(*this, [this] { TBase::Clear(); });
    }

    // Removes Key and returns its value (nil when missing); EGHashtableError
    // "Table is empty" on an empty table.
    TValue Remove(const TKey& Key)
    {
        if (this->FCount == 0)
            throw EGHashtableError(messages::TableEmpty);
        return this->DoRemove(Key, this->Hash(Key), cnRemoved);
    }

    // Stores Value under Key and returns the former value (nil when none).
    TValue Put(const TKey& Key, const TValue& Value)
    {
        TValue former{};
        this->TryGetValue(Key, former);
        this->AddOrSetValue(Key, Value);
        return former;
    }
    void PutItem(const TKey& Key, const TValue& Value) { this->AddOrSetValue(Key, Value); }
    const TValue& Get(const TKey& Key) const { return this->Items(Key); }
    using TBase::ContainsKey;
    bool ContainsKey(const TKey& Key, TValue& FoundItem) const { return this->TryGetValue(Key, FoundItem); }
    bool ContainsItem(const TValue& Value) const { return this->ContainsValue(Value); }

    // The Index-th pair in slot order; EListError "List index out of bounds (%d)"
    // outside 0 … Count - 1. Walking the indices in turn costs one pass over the slots.
    const TValue& ItemByIndex(int Index) const { return this->PairAt(this->FItems[GetItemByIndex(Index)]).Value; }
    const TKey& KeyByIndex(int Index) const { return this->PairAt(this->FItems[GetItemByIndex(Index)]).Key; }

    void SetCapacity(int ACapacity) override
    {
        DropIndexCache();
        TBase::SetCapacity(ACapacity);
    }

    // Older streams carry "LoadFactor", "HashType" and "Capacity": they are read and
    // dropped, and never written.
    void DefineProperties(TFiler& Filer) override
    {
        TBase::DefineProperties(Filer);
        Filer.DefineProperty(QStringLiteral("LoadFactor"), [](TReader& Reader) { Reader.ReadFloat(); }, {}, false);
        Filer.DefineProperty(QStringLiteral("HashType"), [](TReader& Reader) { Reader.ReadInt64(); }, {}, false);
        Filer.DefineProperty(QStringLiteral("Capacity"), [](TReader& Reader) { Reader.ReadInt64(); }, {}, false);
    }

    TNotifyEvent OnChange;

protected:
    virtual void DoChange()
    {
        if (FUpdating <= 0 && OnChange)
            OnChange(this);
    }

    void DoAdd(int Index, std::int32_t HashCode, const TKey& Key, const TValue& Value) override
    {
        TBase::DoAdd(Index, HashCode, Key, Value);
        DoChange();
    }
    void DoSetValue(int Index, const TValue& Value) override
    {
        TBase::DoSetValue(Index, Value);
        DoChange();
    }
    TValue DoRemove(const TKey& Key, std::int32_t HashCode, TCollectionNotification Notification) override
    {
        const int before = this->FCount;
        TValue result = TBase::DoRemove(Key, HashCode, Notification);
        if (this->FCount != before)
            DoChange();
        return result;
    }
    void KeyNotify(const TKey& Key, TCollectionNotification Action) override
    {
        DropIndexCache();
        if (FUpdating <= 0)
            TBase::KeyNotify(Key, Action);
    }
    void ValueNotify(const TValue& Value, TCollectionNotification Action) override
    {
        if (FUpdating <= 0)
            TBase::ValueNotify(Value, Action);
    }

    int FUpdating = 0;

private:
    void DropIndexCache() const
    {
        FCachedIndex = -1;
        FCachedItemIndex = -1;
    }

    // The slot of the Index-th pair. The cursor (FCachedIndex, FCachedItemIndex) moves
    // one occupied slot forward or back for neighbouring indices, else restarts at 0.
    std::size_t GetItemByIndex(int Index) const
    {
        if (Index < 0 || Index >= this->FCount)
            throw EListError(messages::ListIndexError, Index);
        const auto& items = this->FItems;
        const auto next = [&items](int slot) {
            do
                ++slot;
            while (items[static_cast<std::size_t>(slot)].HashCode == TBase::EmptyHash);
            return slot;
        };
        const auto previous = [&items](int slot) {
            do
                --slot;
            while (items[static_cast<std::size_t>(slot)].HashCode == TBase::EmptyHash);
            return slot;
        };
        if (FCachedIndex < 0) {
            FCachedIndex = 0;
            FCachedItemIndex = next(-1);
        }
        if (Index == FCachedIndex + 1) {
            FCachedItemIndex = next(FCachedItemIndex);
        } else if (Index == FCachedIndex - 1) {
            FCachedItemIndex = previous(FCachedItemIndex);
        } else if (Index != FCachedIndex) {
            FCachedItemIndex = next(-1);
            for (int i = 0; i < Index; ++i)
                FCachedItemIndex = next(FCachedItemIndex);
        }
        FCachedIndex = Index;
        return static_cast<std::size_t>(FCachedItemIndex);
    }

    mutable int FCachedIndex = -1;
    mutable int FCachedItemIndex = -1;
};

} // namespace velk
