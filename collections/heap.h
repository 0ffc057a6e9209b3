#pragma once
// Binary heaps of elements with priorities: THeapElement / TIntHeapElement (one heap
// entry: an object reference, not owned, and its position), TCustomHeap (the heap
// array, which owns its elements) and TIntHeap (integer priorities).
//
// Positions are 0-based: the children of i are 2i + 1 and 2i + 2. Under hpIncreasing
// the top holds the smallest priority, under hpDecreasing the largest; an element
// beats another only with a strictly better priority, so equal priorities never swap.

#include "platform/enum_names.h"
#include "platform/list.h"
#include "platform/persistent.h"

#include <cstdint>
#include <limits>
#include <memory>

namespace velk {

enum THeapOrder { hpIncreasing, hpDecreasing };

template <>
struct EnumNames<THeapOrder> {
    static constexpr std::array<std::u16string_view, 2> Names{u"hpIncreasing", u"hpDecreasing"};
};

class THeapElement : public TPersistent {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // The virtual constructor: a new element of class ElementClass (THeapElement or a
    // descendant, else EInvalidOperation) holding Item.
    static std::unique_ptr<THeapElement> Create(const TClassInfo& ElementClass, TObject* Item);

    TObject* Item() const { return FItem; }
    void SetItem(TObject* Value) { FItem = Value; }
    // The element's position in its heap array.
    int Index() const { return FIndex; }
    void SetIndex(int Value) { FIndex = Value; }

    // From a heap element: copies Item and the position.
    void Assign(const TPersistent* Source) override;
    // A new element of the same class with the same content.
    std::unique_ptr<THeapElement> Clone() const;
    // Sets Item to nil.
    virtual void Clear();

private:
    TObject* FItem = nullptr;
    int FIndex = 0;
};

// The class of a heap element; its factory is the virtual constructor.
using THeapElementClass = const TClassInfo*;

class TIntHeapElement : public THeapElement {
public:
    // The priority of an element created without one: one above the smallest integer.
    static constexpr std::int32_t DefaultPriority = std::numeric_limits<std::int32_t>::min() + 1;

    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    std::int32_t Priority() const { return FPriority; }
    void SetPriority(std::int32_t Value) { FPriority = Value; }

    // Copies Priority from an integer heap element, then as THeapElement.
    void Assign(const TPersistent* Source) override;
    // Item nil and DefaultPriority, or the given priority.
    void Clear() override;
    void Clear(std::int32_t APriority);

private:
    std::int32_t FPriority = DefaultPriority;
};

class TCustomHeap : public TPersistent {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // An empty hpIncreasing heap of elements of ElementClass (THeapElement or a
    // descendant, else EInvalidOperation).
    explicit TCustomHeap(const TClassInfo& ElementClass = THeapElement::StaticClass());

    int Count() const { return GetCount(); }
    // The number of elements (Count, unless a subclass counts otherwise).
    int ElementCount() const { return FHeap.Count(); }
    THeapOrder Order() const { return FOrder; }
    // A different order is stored and heap order rebuilt for it.
    virtual void SetOrder(THeapOrder Value);
    THeapElementClass ElementClass() const { return FElementClass; }
    // The element at array position Index (array order, not priority order);
    // EListError "List index out of bounds (%d)".
    THeapElement* Elements(int Index) const { return FHeap[Index]; }

    virtual int GetCount() const { return FHeap.Count(); }
    // The item of the element at array position Index.
    virtual TObject* GetItem(int Index) const { return FHeap[Index]->Item(); }
    // Appends a new element holding Item and restores heap order; returns the element.
    virtual THeapElement* Add(TObject* Item);
    virtual int IndexOf(TObject* Item) const = 0;
    int IndexOf(THeapElement* Element) const { return Element->Index(); }
    // Frees all elements; the items are untouched.
    virtual void Clear();
    // Removes the element at Index and returns its item.
    virtual TObject* Delete(int Index) = 0;
    TObject* Delete(THeapElement* Element) { return Delete(Element->Index()); }
    // Restores heap order after the caller changed Element's priority; returns its
    // new position.
    virtual int ModifyPriority(THeapElement* Element) = 0;

    // From a heap (whose elements are of this heap's element class): Clear, Source's
    // order, and a clone of each of Source's elements in Source's array order (the
    // clones share the items). Other sources: the default assignment.
    void Assign(const TPersistent* Source) override;

protected:
    virtual THeapElement* SiftUp(int Index) = 0;
    virtual THeapElement* SiftDown(int Index) = 0;
    // Appends Element and restores heap order; returns it.
    THeapElement* AddElement(std::unique_ptr<THeapElement> Element);

    // Swaps two array positions and keeps both elements' positions current.
    void Exchange(int A, int B);

    THeapOrder FOrder = hpIncreasing;
    TObjectList<THeapElement> FHeap;
    THeapElementClass FElementClass;
};

class TIntHeap : public TCustomHeap {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    TIntHeap();

    TIntHeapElement* Elements(int Index) const { return static_cast<TIntHeapElement*>(TCustomHeap::Elements(Index)); }

    using TCustomHeap::Add;
    // As Add(Item), with Priority set before the element takes its place.
    virtual THeapElement* Add(TObject* Item, std::int32_t Priority);

    using TCustomHeap::IndexOf;
    // IndexOf(Item, 0).
    int IndexOf(TObject* Item) const override { return IndexOf(Item, 0); }
    // Depth-first from position 0, left before right, descending only below elements
    // whose priority is not past Priority; -1 when not found.
    int IndexOf(TObject* Item, std::int32_t Priority) const;
    // The first element of that priority in the same search order (descending only
    // below elements that beat Priority); -1 when none.
    int IndexOf(std::int32_t Priority) const;

    using TCustomHeap::Delete;
    TObject* Delete(int Index) override;

    int ModifyPriority(THeapElement* Element) override;
    virtual int ModifyPriority(THeapElement* Element, std::int32_t NewPriority);

protected:
    THeapElement* SiftUp(int Index) override;
    THeapElement* SiftDown(int Index) override;

    // True when priority A is strictly better than B under the heap's order.
    bool Beats(std::int32_t A, std::int32_t B) const { return FOrder == hpIncreasing ? A < B : A > B; }
    std::int32_t PriorityAt(int Index) const { return Elements(Index)->Priority(); }

private:
    // After the element at Index changed or moved in: up when it beats its parent, else down.
    void Restore(int Index);
    // Element's position; EListError "List index out of bounds (%d)" when Element is not
    // the element there.
    int PositionOf(const THeapElement* Element) const;
    int Find(int Index, TObject* Item, std::int32_t Priority) const;
    int Find(int Index, std::int32_t Priority) const;
};

} // namespace velk
