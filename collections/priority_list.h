#pragma once
// TPriorityList: groups objects by integer priority. Each heap element holds a bucket
// (an ordered list of the class given to the constructor) with every object added
// under its priority; no two elements share a priority.
//
// Overall order: buckets in the order the heap releases them (ascending priority),
// inside a bucket from its last slot to its first. With TVelkObjectQueue buckets:
// lower priorities first, and among equal priorities the most recently added first.
//
// Ownership: the list owns its buckets, never the objects, except that with
// FreeIfNoPop the objects that leave it other than through Delete(0) (Clear, Delete
// of another position, SetItem replacing one, destruction) are destroyed. An object
// must then be held once, by this list only.

#include "collections/heap.h"
#include "collections/ordered_list.h"

#include <vector>

namespace velk {

class TPriorityList : public TIntHeap {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // An empty hpIncreasing list with buckets of OrderedListClass (a descendant of
    // TVelkObjectOrderedList, else EInvalidOperation).
    explicit TPriorityList(const TClassInfo& OrderedListClass);
    ~TPriorityList() override;

    TVelkObjectOrderedListClass OrderedListClass() const { return FOrderedListClass; }
    bool FreeIfNoPop() const { return FFreeIfNoPop; }
    void SetFreeIfNoPop(bool Value) { FFreeIfNoPop = Value; }

    // The number of objects in all buckets.
    int GetCount() const override { return FCount; }
    // The object at overall position Index; Exception "List index out of bounds (%d)".
    // Position 0 is read directly; any other position copies the heap.
    TObject* GetItem(int Index) const override;
    // Replaces the object at position Index (freeing the former one with FreeIfNoPop).
    void SetItem(int Index, TObject* Item);
    // The objects in overall position order, read with one copy of the heap (GetItem
    // copies it once per position).
    std::vector<TObject*> Items() const;

    // Pushes Item into the bucket of Priority, creating the bucket when needed.
    THeapElement* Add(TObject* Item, std::int32_t Priority) override;
    // Add(Item, TIntHeapElement::DefaultPriority).
    THeapElement* Add(TObject* Item) override;

    // Position 0: pops the top bucket (for a queue its earliest object) and returns
    // the object, never freed. Another position: removes the object read there and
    // returns it, or frees it and returns nil with FreeIfNoPop. An emptied bucket is
    // freed with its element.
    TObject* Delete(int Index) override;

    // Frees every bucket (and with FreeIfNoPop every object); Count becomes 0.
    void Clear() override;

    // From a priority list: as the heap's Assign, each element with its own clone of
    // the corresponding bucket of Source (the objects are shared). Other sources
    // raise the assignment error.
    void Assign(const TPersistent* Source) override;

private:
    // Where an overall position lies: a bucket and a slot in it.
    struct TLocation {
        TVelkObjectOrderedList* List;
        int Slot;
    };

    TVelkObjectOrderedList* Bucket(int ElementIndex) const;
    // The bucket and slot of position Index; raises for a position outside 0 … Count - 1.
    TLocation Locate(int Index) const;
    // Removes the element at ElementIndex and frees its bucket.
    void RemoveBucket(int ElementIndex);
    int ElementOf(const TVelkObjectOrderedList* Bucket) const;

    TVelkObjectOrderedListClass FOrderedListClass;
    int FCount = 0;
    bool FFreeIfNoPop = false;
};

} // namespace velk
