#include "collections/priority_list.h"

#include "platform/exceptions.h"

#include <vector>

namespace velk {

namespace {
// With FreeIfNoPop the list owns the objects it holds.
void FreeObject(TObject* Object)
{
    delete Object;
}
} // namespace

const TClassInfo& TPriorityList::StaticClass()
{
    static const TClassInfo info(QStringLiteral("TPriorityList"), &TIntHeap::StaticClass());
    return info;
}

TPriorityList::TPriorityList(const TClassInfo& OrderedListClass) : FOrderedListClass(&OrderedListClass)
{
    if (!OrderedListClass.InheritsFrom(TVelkObjectOrderedList::StaticClass()))
        throw EInvalidOperation(messages::InvalidClassTypecast);
}

TPriorityList::~TPriorityList()
{
    TPriorityList::Clear();
}

TVelkObjectOrderedList* TPriorityList::Bucket(int ElementIndex) const
{
    return static_cast<TVelkObjectOrderedList*>(Elements(ElementIndex)->Item());
}

TPriorityList::TLocation TPriorityList::Locate(int Index) const
{
    if (Index < 0 || Index >= FCount)
        throw Exception(messages::ListIndexError, Index);
    if (Index == 0) {
        TVelkObjectOrderedList* top = Bucket(0);
        return {top, top->Count() - 1};
    }
    // Release buckets from a copy of the heap (the copy shares the buckets) until the
    // position is reached.
    TIntHeap copy;
    copy.Assign(this);
    int remaining = Index;
    TVelkObjectOrderedList* list = nullptr;
    do {
        list = static_cast<TVelkObjectOrderedList*>(copy.Delete(0));
        remaining -= list->Count();
        if (remaining == 0)
            list = static_cast<TVelkObjectOrderedList*>(copy.Delete(0));
    } while (remaining > 0);
    return {list, remaining < 0 ? -remaining - 1 : list->Count() - 1};
}

TObject* TPriorityList::GetItem(int Index) const
{
    const TLocation at = Locate(Index);
    return at.List->Items(at.Slot);
}

std::vector<TObject*> TPriorityList::Items() const
{
    std::vector<TObject*> items;
    items.reserve(static_cast<std::size_t>(FCount));
    TIntHeap copy;
    copy.Assign(this);
    while (copy.Count() > 0) {
        const auto* list = static_cast<TVelkObjectOrderedList*>(copy.Delete(0));
        for (int slot = list->Count() - 1; slot >= 0; --slot)
            items.push_back(list->Items(slot));
    }
    return items;
}

void TPriorityList::SetItem(int Index, TObject* Item)
{
    const TLocation at = Locate(Index);
    TObject* former = at.List->Items(at.Slot);
    if (former == Item)
        return;
    at.List->SetItem(at.Slot, Item);
    if (FFreeIfNoPop)
        FreeObject(former);
}

THeapElement* TPriorityList::Add(TObject* Item, std::int32_t Priority)
{
    THeapElement* element = nullptr;
    const int index = IndexOf(Priority);
    if (index >= 0) {
        element = Elements(index);
    } else {
        std::unique_ptr<TVelkObjectOrderedList> bucket = FOrderedListClass->CreateAs<TVelkObjectOrderedList>();
        element = TIntHeap::Add(bucket.get(), Priority);
        bucket.release();
    }
    static_cast<TVelkObjectOrderedList*>(element->Item())->Push(Item);
    ++FCount;
    return element;
}

THeapElement* TPriorityList::Add(TObject* Item)
{
    return Add(Item, TIntHeapElement::DefaultPriority);
}

TObject* TPriorityList::Delete(int Index)
{
    if (Index == 0) {
        if (ElementCount() == 0)
            throw EListError(messages::ListIndexError, Index);
        TVelkObjectOrderedList* top = Bucket(0);
        TObject* object = top->Pop();
        --FCount;
        if (top->Empty())
            RemoveBucket(0);
        return object;
    }
    const TLocation at = Locate(Index);
    TObject* object = at.List->Items(at.Slot);
    --FCount;
    at.List->Delete(at.Slot);
    if (FFreeIfNoPop) {
        FreeObject(object);
        object = nullptr;
    }
    if (at.List->Empty())
        RemoveBucket(ElementOf(at.List));
    return object;
}

void TPriorityList::Clear()
{
    while (ElementCount() > 0) {
        TVelkObjectOrderedList* top = Bucket(0);
        if (FFreeIfNoPop)
            while (!top->Empty())
                FreeObject(top->Pop());
        RemoveBucket(0);
    }
    FCount = 0;
}

void TPriorityList::Assign(const TPersistent* Source)
{
    const auto* source = dynamic_cast<const TPriorityList*>(Source);
    if (!source) {
        // A plain heap's items are not buckets: only the default assignment applies.
        TPersistent::Assign(Source);
        return;
    }
    if (source == this)
        return;
    std::vector<std::unique_ptr<TVelkObjectOrderedList>> buckets;
    buckets.reserve(static_cast<std::size_t>(source->ElementCount()));
    for (int i = 0; i < source->ElementCount(); ++i)
        buckets.push_back(source->Bucket(i)->Clone());
    TIntHeap::Assign(Source);
    for (int i = 0; i < ElementCount(); ++i)
        Elements(i)->SetItem(buckets[static_cast<std::size_t>(i)].release());
    FCount = source->FCount;
}

void TPriorityList::RemoveBucket(int ElementIndex)
{
    // The bucket is owned by this list: take it back before its element goes.
    const std::unique_ptr<TVelkObjectOrderedList> bucket(Bucket(ElementIndex));
    TIntHeap::Delete(ElementIndex);
}

int TPriorityList::ElementOf(const TVelkObjectOrderedList* Bucket) const
{
    for (int i = 0; i < ElementCount(); ++i)
        if (Elements(i)->Item() == Bucket)
            return i;
    return -1;
}

} // namespace velk
