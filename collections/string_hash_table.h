#pragma once
// String-keyed hash tables: TVelkStringHashTable<T> (key → any value) and
// TVelkStringObjectHashTable<T> (key → T*, not owned), with their iterators.
// Keys are compared ordinally and case-sensitively.

#include "collections/hash_table.h"
#include "collections/iterators.h"
#include "platform/string_list.h"

namespace velk {

namespace detail {
// Walks the occupied slots of a table in slot order; ElementAt says what is handed out.
template <typename TTable, typename TInterface, typename TElement>
class TSlotIterator : public TInterface {
public:
    explicit TSlotIterator(const TTable& Table) : FTable(&Table) {}

    TElement CurrentElement() const override
    {
        const auto* pair = FIndex >= 0 && FIndex < FTable->Capacity() ? FTable->SlotPair(FIndex) : nullptr;
        return pair ? ElementAt(*pair) : TElement{};
    }
    int GetCount() const override { return FTable->Count(); }
    bool HasMoreElements() const override { return FElementCount < FTable->Count(); }
    TElement NextElement() override
    {
        if (!HasMoreElements())
            return TElement{};
        const int last = FTable->Capacity() - 1;
        while (FIndex < last) {
            ++FIndex;
            if (FTable->SlotHash(FIndex) != TTable::EmptyHash)
                break;
        }
        ++FElementCount;
        return CurrentElement();
    }
    void Reset() override
    {
        FIndex = -1;
        FElementCount = 0;
    }

protected:
    virtual TElement ElementAt(const typename TTable::TPairType& Pair) const = 0;

    const TTable* FTable;
    int FIndex = -1;
    int FElementCount = 0;
};
} // namespace detail

template <typename T>
class TVelkStringHashTable : public TVelkHashTable<QString, T> {
    using TBase = TVelkHashTable<QString, T>;

public:
    class TStringIterator;

    static const TClassInfo& StaticClass()
    {
        static const TClassInfo info(QStringLiteral("TVelkStringHashTable"), &TBase::StaticClass());
        return info;
    }
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    using TBase::TBase;

    // From a string list: inside an update, Clear and Add(line, nil) for each line in
    // order (a repeated line raises "Duplicates not allowed" and leaves the lines before
    // it). Anything else: the dictionary's Assign.
    void Assign(const TPersistent* Source) override
    {
        const auto* strings = dynamic_cast<const TStrings*>(Source);
        if (!strings) {
            TBase::Assign(Source);
            return;
        }
        WithinUpdate(*this, [&] {
            this->Clear();
            for (int i = 0; i < strings->Count(); ++i)
                this->Add(strings->Strings(i), T{});
        });
    }

    // To a string list: inside its update, cleared and given every key in slot order.
    // To another object with a published string property "Text": the keys' text, one
    // per line. Otherwise the inherited behaviour.
    void AssignTo(TPersistent* Dest) const override
    {
        if (auto* strings = dynamic_cast<TStrings*>(Dest)) {
            WithinUpdate(*strings, [&] { FillKeys(*strings); });
            return;
        }
        const TPropertyInfo* text = Dest ? Dest->ClassInfo().FindProperty(u"Text") : nullptr;
        if (text && text->Kind == tkString && text->Set) {
            TStringList lines;
            FillKeys(lines);
            text->Set(*Dest, lines.Text());
            return;
        }
        TBase::AssignTo(Dest);
    }

    // A new iterator over the keys, in slot order.
    std::shared_ptr<IStringIterator> Indices() const { return std::make_shared<TStringIterator>(*this); }

private:
    void FillKeys(TStrings& Strings) const
    {
        Strings.Clear();
        this->ForEachPair([&Strings](const auto& pair) { Strings.Add(pair.Key); });
    }
};

template <typename T>
class TVelkStringHashTable<T>::TStringIterator final
    : public detail::TSlotIterator<TVelkStringHashTable<T>, IStringIterator, QString> {
public:
    using detail::TSlotIterator<TVelkStringHashTable<T>, IStringIterator, QString>::TSlotIterator;

protected:
    QString ElementAt(const typename TVelkStringHashTable<T>::TPairType& Pair) const override { return Pair.Key; }
};

template <typename T>
class TVelkStringObjectHashTable : public TVelkStringHashTable<T*> {
    using TBase = TVelkStringHashTable<T*>;

public:
    class TObjectIterator;

    static const TClassInfo& StaticClass()
    {
        static const TClassInfo info(QStringLiteral("TVelkStringObjectHashTable"), &TBase::StaticClass());
        return info;
    }
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    using TBase::TBase;

    // From a string list: Clear, then Add(line, its object) for every line in order. An
    // attached object that is not a T raises the assignment error (the table unchanged).
    // Otherwise as TVelkStringHashTable.
    void Assign(const TPersistent* Source) override
    {
        const auto* strings = dynamic_cast<const TStrings*>(Source);
        if (!strings) {
            TBase::Assign(Source);
            return;
        }
        for (int i = 0; i < strings->Count(); ++i)
            if (strings->Objects(i) && !dynamic_cast<T*>(strings->Objects(i)))
                this->AssignError(Source);
        this->Clear();
        for (int i = 0; i < strings->Count(); ++i)
            this->Add(strings->Strings(i), dynamic_cast<T*>(strings->Objects(i)));
    }

    // To a string list: cleared, then every key with its object attached, in slot order
    // (a list that owns its objects cannot take them: EStringListError). Otherwise as
    // TVelkStringHashTable.
    void AssignTo(TPersistent* Dest) const override
    {
        auto* strings = dynamic_cast<TStrings*>(Dest);
        if (!strings) {
            TBase::AssignTo(Dest);
            return;
        }
        if (strings->OwnsObjects()) {
            this->ForEachPair([](const auto& pair) {
                if (pair.Value)
                    throw EStringListError(messages::SharedOwnedObjects);
            });
        }
        strings->Clear();
        this->ForEachPair([strings](const auto& pair) { strings->AddObject(pair.Key, pair.Value); });
    }

    // A new iterator over the values, in slot order.
    std::shared_ptr<IObjectIterator> Elements() const { return std::make_shared<TObjectIterator>(*this); }
};

template <typename T>
class TVelkStringObjectHashTable<T>::TObjectIterator final
    : public detail::TSlotIterator<TVelkStringObjectHashTable<T>, IObjectIterator, TObject*> {
public:
    using detail::TSlotIterator<TVelkStringObjectHashTable<T>, IObjectIterator, TObject*>::TSlotIterator;

protected:
    TObject* ElementAt(const typename TVelkStringObjectHashTable<T>::TPairType& Pair) const override { return Pair.Value; }
};

} // namespace velk
