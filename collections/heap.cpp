#include "collections/heap.h"

#include "platform/exceptions.h"

#include <vector>

namespace velk {

namespace {
void CheckElementClass(const TClassInfo& ElementClass, const TClassInfo& Required)
{
    if (!ElementClass.InheritsFrom(Required))
        throw EInvalidOperation(messages::InvalidClassTypecast);
}
} // namespace

// THeapElement

const TClassInfo& THeapElement::StaticClass()
{
    static const TClassInfo info(QStringLiteral("THeapElement"), &TPersistent::StaticClass(),
                                 &CreateInstance<THeapElement>);
    return info;
}

std::unique_ptr<THeapElement> THeapElement::Create(const TClassInfo& ElementClass, TObject* Item)
{
    CheckElementClass(ElementClass, StaticClass());
    std::unique_ptr<THeapElement> element = ElementClass.CreateAs<THeapElement>();
    element->SetItem(Item);
    return element;
}

void THeapElement::Assign(const TPersistent* Source)
{
    if (const auto* source = dynamic_cast<const THeapElement*>(Source)) {
        FItem = source->FItem;
        FIndex = source->FIndex;
        return;
    }
    TPersistent::Assign(Source);
}

std::unique_ptr<THeapElement> THeapElement::Clone() const
{
    std::unique_ptr<THeapElement> result = Create(ClassInfo(), FItem);
    result->Assign(this);
    return result;
}

void THeapElement::Clear()
{
    FItem = nullptr;
}

// TIntHeapElement

const TClassInfo& TIntHeapElement::StaticClass()
{
    static const TClassInfo info(QStringLiteral("TIntHeapElement"), &THeapElement::StaticClass(),
                                 &CreateInstance<TIntHeapElement>,
                                 TPublished<TIntHeapElement>()
                                     .Integer(QStringLiteral("Priority"), &TIntHeapElement::Priority,
                                              &TIntHeapElement::SetPriority)
                                     .Take());
    return info;
}

void TIntHeapElement::Assign(const TPersistent* Source)
{
    if (const auto* source = dynamic_cast<const TIntHeapElement*>(Source))
        FPriority = source->FPriority;
    THeapElement::Assign(Source);
}

void TIntHeapElement::Clear()
{
    Clear(DefaultPriority);
}

void TIntHeapElement::Clear(std::int32_t APriority)
{
    THeapElement::Clear();
    FPriority = APriority;
}

// TCustomHeap

const TClassInfo& TCustomHeap::StaticClass()
{
    static const TClassInfo info(QStringLiteral("TCustomHeap"), &TPersistent::StaticClass());
    return info;
}

TCustomHeap::TCustomHeap(const TClassInfo& ElementClass) : FElementClass(&ElementClass)
{
    CheckElementClass(ElementClass, THeapElement::StaticClass());
}

THeapElement* TCustomHeap::Add(TObject* Item)
{
    return AddElement(THeapElement::Create(*FElementClass, Item));
}

THeapElement* TCustomHeap::AddElement(std::unique_ptr<THeapElement> Element)
{
    THeapElement* element = Element.get();
    element->SetIndex(FHeap.Add(std::move(Element)));
    return SiftUp(element->Index());
}

void TCustomHeap::Clear()
{
    FHeap.Clear();
}

void TCustomHeap::SetOrder(THeapOrder Value)
{
    if (Value == FOrder)
        return;
    FOrder = Value;
    if (ElementCount() > 1)
        for (int i = ElementCount() / 2 - 1; i >= 0; --i)
            SiftDown(i);
}

void TCustomHeap::Assign(const TPersistent* Source)
{
    const auto* source = dynamic_cast<const TCustomHeap*>(Source);
    if (!source || !source->FElementClass->InheritsFrom(*FElementClass)) {
        TPersistent::Assign(Source);
        return;
    }
    if (source == this)
        return;
    // Clone first, so that a failure leaves this heap as it was.
    std::vector<std::unique_ptr<THeapElement>> clones;
    clones.reserve(static_cast<std::size_t>(source->ElementCount()));
    for (const auto& element : source->FHeap)
        clones.push_back(element->Clone());
    Clear();
    FOrder = source->FOrder;
    for (auto& clone : clones)
        FHeap.Add(std::move(clone));
}

void TCustomHeap::Exchange(int A, int B)
{
    FHeap.Exchange(A, B);
    FHeap[A]->SetIndex(A);
    FHeap[B]->SetIndex(B);
}

// TIntHeap

const TClassInfo& TIntHeap::StaticClass()
{
    static const TClassInfo info(QStringLiteral("TIntHeap"), &TCustomHeap::StaticClass(), &CreateInstance<TIntHeap>);
    return info;
}

TIntHeap::TIntHeap() : TCustomHeap(TIntHeapElement::StaticClass()) {}

THeapElement* TIntHeap::Add(TObject* Item, std::int32_t Priority)
{
    std::unique_ptr<THeapElement> created = THeapElement::Create(*FElementClass, Item);
    static_cast<TIntHeapElement*>(created.get())->SetPriority(Priority);
    return AddElement(std::move(created));
}

THeapElement* TIntHeap::SiftUp(int Index)
{
    while (Index > 0) {
        const int parent = (Index - 1) / 2;
        if (!Beats(PriorityAt(Index), PriorityAt(parent)))
            break;
        Exchange(Index, parent);
        Index = parent;
    }
    return FHeap[Index];
}

THeapElement* TIntHeap::SiftDown(int Index)
{
    for (int child = 2 * Index + 1; child < ElementCount(); child = 2 * Index + 1) {
        if (child + 1 < ElementCount() && Beats(PriorityAt(child + 1), PriorityAt(child)))
            ++child;
        if (!Beats(PriorityAt(child), PriorityAt(Index)))
            break;
        Exchange(Index, child);
        Index = child;
    }
    return FHeap[Index];
}

void TIntHeap::Restore(int Index)
{
    if (Index > 0 && Beats(PriorityAt(Index), PriorityAt((Index - 1) / 2)))
        SiftUp(Index);
    else
        SiftDown(Index);
}

TObject* TIntHeap::Delete(int Index)
{
    TObject* item = FHeap[Index]->Item();
    const int last = ElementCount() - 1;
    if (Index != last)
        Exchange(Index, last);
    FHeap.Delete(last);
    if (Index < ElementCount())
        Restore(Index);
    return item;
}

int TIntHeap::PositionOf(const THeapElement* Element) const
{
    const int index = Element->Index();
    if (FHeap[index] != Element)
        throw EListError(messages::ListIndexError, index);
    return index;
}

int TIntHeap::ModifyPriority(THeapElement* Element)
{
    Restore(PositionOf(Element));
    return Element->Index();
}

int TIntHeap::ModifyPriority(THeapElement* Element, std::int32_t NewPriority)
{
    const int index = PositionOf(Element);
    static_cast<TIntHeapElement*>(Element)->SetPriority(NewPriority);
    Restore(index);
    return Element->Index();
}

int TIntHeap::IndexOf(TObject* Item, std::int32_t Priority) const
{
    return Find(0, Item, Priority);
}

int TIntHeap::IndexOf(std::int32_t Priority) const
{
    return Find(0, Priority);
}

int TIntHeap::Find(int Index, TObject* Item, std::int32_t Priority) const
{
    if (Index >= ElementCount())
        return -1;
    const TIntHeapElement* element = Elements(Index);
    if (element->Priority() == Priority && element->Item() == Item)
        return Index;
    if (Beats(Priority, element->Priority()))
        return -1;
    const int left = Find(2 * Index + 1, Item, Priority);
    return left >= 0 ? left : Find(2 * Index + 2, Item, Priority);
}

int TIntHeap::Find(int Index, std::int32_t Priority) const
{
    if (Index >= ElementCount())
        return -1;
    const std::int32_t priority = PriorityAt(Index);
    if (priority == Priority)
        return Index;
    if (!Beats(priority, Priority))
        return -1;
    const int left = Find(2 * Index + 1, Priority);
    return left >= 0 ? left : Find(2 * Index + 2, Priority);
}

} // namespace velk
