#pragma once
// TList<T>: the platform's generic list with item notification, and TObjectList<T>,
// a list that owns its objects.

#include "platform/enum_names.h"
#include "platform/exceptions.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace velk {

enum TCollectionNotification { cnAdded, cnRemoved, cnExtracted };

template <>
struct EnumNames<TCollectionNotification> {
    static constexpr std::array<std::u16string_view, 3> Names{u"cnAdded", u"cnRemoved", u"cnExtracted"};
};

template <typename T>
class TList {
public:
    // Raised after an item entered or left the list.
    using TNotifyItemEvent = std::function<void(const T& Item, TCollectionNotification Action)>;

    TList() = default;
    TList(const TList&) = delete;
    TList& operator=(const TList&) = delete;
    virtual ~TList() = default;

    int Count() const { return static_cast<int>(FItems.size()); }
    bool Empty() const { return FItems.empty(); }
    const T& operator[](int index) const { return FItems[CheckIndex(index)]; }
    const T& Items(int index) const { return (*this)[index]; }
    const T& First() const { return (*this)[0]; }
    const T& Last() const { return (*this)[Count() - 1]; }

    void SetItem(int index, T item)
    {
        T old = std::exchange(FItems[CheckIndex(index)], std::move(item));
        Notify(old, cnRemoved);
        Notify(FItems[static_cast<std::size_t>(index)], cnAdded);
    }

    int Add(T item)
    {
        FItems.push_back(std::move(item));
        Notify(FItems.back(), cnAdded);
        return Count() - 1;
    }

    void Insert(int index, T item)
    {
        if (index < 0 || index > Count())
            throw EListError(messages::ListIndexError, index);
        FItems.insert(FItems.begin() + index, std::move(item));
        Notify(FItems[static_cast<std::size_t>(index)], cnAdded);
    }

    int IndexOf(const T& item) const
    {
        const auto it = std::find(FItems.begin(), FItems.end(), item);
        return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
    }
    bool Contains(const T& item) const { return IndexOf(item) >= 0; }

    void Delete(int index) { RemoveAt(CheckIndex(index), cnRemoved); }

    // Removes the first occurrence; returns its former index or -1.
    int Remove(const T& item)
    {
        const int index = IndexOf(item);
        if (index >= 0)
            RemoveAt(static_cast<std::size_t>(index), cnRemoved);
        return index;
    }

    // Removes the first occurrence with an extracted notification.
    T Extract(const T& item)
    {
        const int index = IndexOf(item);
        if (index < 0)
            return T{};
        T result = FItems[static_cast<std::size_t>(index)];
        RemoveAt(static_cast<std::size_t>(index), cnExtracted);
        return result;
    }

    void Clear()
    {
        while (!FItems.empty())
            RemoveAt(FItems.size() - 1, cnRemoved);
    }

    void Exchange(int a, int b) { std::swap(FItems[CheckIndex(a)], FItems[CheckIndex(b)]); }

    void Move(int from, int to)
    {
        if (from == to)
            return;
        // Both indexes are checked before anything moves, so a bad one loses no item.
        const auto first = FItems.begin() + static_cast<std::ptrdiff_t>(CheckIndex(from));
        const auto target = FItems.begin() + static_cast<std::ptrdiff_t>(CheckIndex(to));
        if (from < to)
            std::rotate(first, first + 1, target + 1);
        else
            std::rotate(target, first, first + 1);
    }

    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }
    const std::vector<T>& ToVector() const { return FItems; }

    TNotifyItemEvent OnNotify;

protected:
    virtual void Notify(const T& item, TCollectionNotification action)
    {
        if (OnNotify)
            OnNotify(item, action);
    }

private:
    std::size_t CheckIndex(int index) const
    {
        if (index < 0 || index >= Count())
            throw EListError(messages::ListIndexError, index);
        return static_cast<std::size_t>(index);
    }

    void RemoveAt(std::size_t index, TCollectionNotification action)
    {
        T item = std::move(FItems[index]);
        FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(index));
        Notify(item, action);
    }

    std::vector<T> FItems;
};

// A list that owns its objects: removing an object destroys it, extracting hands it back.
template <typename T>
class TObjectList {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    bool Empty() const { return FItems.empty(); }
    T* operator[](int index) const { return FItems[CheckIndex(index)].get(); }
    T* Items(int index) const { return (*this)[index]; }

    int Add(std::unique_ptr<T> item)
    {
        FItems.push_back(std::move(item));
        return Count() - 1;
    }
    void Insert(int index, std::unique_ptr<T> item)
    {
        if (index < 0 || index > Count())
            throw EListError(messages::ListIndexError, index);
        FItems.insert(FItems.begin() + index, std::move(item));
    }
    int IndexOf(const T* item) const
    {
        const auto it = std::find_if(FItems.begin(), FItems.end(), [item](const auto& p) { return p.get() == item; });
        return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
    }
    void Delete(int index) { Extract(index).reset(); }
    std::unique_ptr<T> Extract(int index)
    {
        std::unique_ptr<T> result = std::move(FItems[CheckIndex(index)]);
        FItems.erase(FItems.begin() + index);
        return result;
    }
    void Clear()
    {
        // Each object leaves the list before it is destroyed, the last first.
        while (!FItems.empty()) {
            std::unique_ptr<T> last = std::move(FItems.back());
            FItems.pop_back();
        }
    }
    void Exchange(int a, int b) { std::swap(FItems[CheckIndex(a)], FItems[CheckIndex(b)]); }

    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

private:
    std::size_t CheckIndex(int index) const
    {
        if (index < 0 || index >= Count())
            throw EListError(messages::ListIndexError, index);
        return static_cast<std::size_t>(index);
    }

    std::vector<std::unique_ptr<T>> FItems;
};

} // namespace velk
