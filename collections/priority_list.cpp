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

void TPriorityList::CheckPosition(int Index) const
{
    if (Index < 0 || Index >= FCount)
        throw Exception(messages::ListIndexError, Index);
}

void TPriorityList::Locate(int Index) const
{
    // Release buckets from a copy of the heap (the copy shares the buckets) until the
    // position is reached.
    TIntHeap copy;
    copy.Assign(this);
    int remaining = Index;
    do {
        FLastList = static_cast<TVelkObjectOrderedList*>(copy.Delete(0));
        remaining -= FLastList->Count();
        if (remaining == 0)
            FLastList = static_cast<TVelkObjectOrderedList*>(copy.Delete(0));
    } while (remaining > 0);
    FLastListIndex = remaining < 0 ? -remaining - 1 : FLastList->Count() - 1;
}

TObject* TPriorityList::GetItem(int Index) const
{
    CheckPosition(Index);
    if (Index == 0) {
        const TVelkObjectOrderedList* top = Bucket(0);
        return top->Items(top->Count() - 1);
    }
    Locate(Index);
    return FLastList->Items(FLastListIndex);
}

void TPriorityList::SetItem(int Index, TObject* Item)
{
    CheckPosition(Index);
    TVelkObjectOrderedList* bucket = Bucket(0);
    int slot = bucket->Count() - 1;
    if (Index > 0) {
        Locate(Index);
        bucket = FLastList;
        slot = FLastListIndex;
    }
    TObject* former = bucket->Items(slot);
    if (former == Item)
        return;
    bucket->SetItem(slot, Item);
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
    FLastList = nullptr;
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
    TObject* object = GetItem(Index);
    TVelkObjectOrderedList* bucket = FLastList;
    --FCount;
    bucket->Delete(FLastListIndex);
    if (FFreeIfNoPop) {
        FreeObject(object);
        object = nullptr;
    }
    if (bucket->Empty())
        RemoveBucket(ElementOf(bucket));
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
    FLastList = nullptr;
    TIntHeap::Clear();
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
    FLastList = nullptr;
}

void TPriorityList::RemoveBucket(int ElementIndex)
{
    // The bucket is owned by this list: take it back before its element goes.
    std::unique_ptr<TVelkObjectOrderedList> bucket(Bucket(ElementIndex));
    TIntHeap::Delete(ElementIndex);
    if (FLastList == bucket.get())
        FLastList = nullptr;
}

int TPriorityList::ElementOf(const TVelkObjectOrderedList* Bucket) const
{
    for (int i = 0; i < ElementCount(); ++i)
        if (Elements(i)->Item() == Bucket)
            return i;
    return -1;
}

} // namespace velk
