#include "collections/heap.h"
#include "tests/support/test_support.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

using namespace velk;

namespace {

using velk::testing::TNamed;

QString NameOf(TObject* Object)
{
    return static_cast<TNamed*>(Object)->Name();
}

// Every element knows its position and no child beats its parent.
void ExpectHeapShape(const TIntHeap& Heap)
{
    for (int i = 0; i < Heap.ElementCount(); ++i) {
        ASSERT_EQ(Heap.Elements(i)->Index(), i);
        if (i > 0) {
            const int parent = Heap.Elements((i - 1) / 2)->Priority();
            const int child = Heap.Elements(i)->Priority();
            ASSERT_TRUE(Heap.Order() == hpIncreasing ? parent <= child : parent >= child) << i;
        }
    }
}

QStringList Drain(TIntHeap& Heap)
{
    QStringList names;
    while (Heap.Count() > 0)
        names += NameOf(Heap.Delete(0));
    return names;
}

TEST(IntHeap, ReleasesInPriorityOrder)
{
    struct Case {
        THeapOrder Order;
        QStringList Expected;
    };
    const Case cases[] = {
        {hpIncreasing, {"min", "a", "b", "c", "d"}},
        {hpDecreasing, {"d", "c", "b", "a", "min"}},
    };
    for (const Case& c : cases) {
        TNamed a(QStringLiteral("a")), b(QStringLiteral("b")), cc(QStringLiteral("c")), d(QStringLiteral("d"));
        TNamed least(QStringLiteral("min"));
        TIntHeap heap;
        heap.SetOrder(c.Order);
        heap.Add(&cc, 30);
        heap.Add(&a, -5);
        heap.Add(&d, 2147483647);
        heap.Add(&least); // no priority: -2147483647
        heap.Add(&b, 7);
        ExpectHeapShape(heap);
        EXPECT_EQ(Drain(heap), c.Expected);
    }
}

TEST(IntHeap, DefaultPriorityIsOneAboveTheSmallestInteger)
{
    TIntHeap heap;
    TNamed x;
    auto* element = static_cast<TIntHeapElement*>(heap.Add(&x));
    EXPECT_EQ(element->Priority(), -2147483647);
    EXPECT_EQ(element->Item(), &x);
    element->Clear(12);
    EXPECT_EQ(element->Priority(), 12);
    EXPECT_EQ(element->Item(), nullptr);
    element->Clear();
    EXPECT_EQ(element->Priority(), -2147483647);
}

// Equal priorities never swap, and SiftDown takes the left child on a tie.
TEST(IntHeap, TiesKeepTheirPlaces)
{
    TNamed x(QStringLiteral("x")), b(QStringLiteral("b")), c(QStringLiteral("c")), d(QStringLiteral("d"));
    TIntHeap heap;
    heap.Add(&x, 1);
    heap.Add(&b, 5);
    heap.Add(&c, 5);
    heap.Add(&d, 9);
    EXPECT_EQ(NameOf(heap.Delete(0)), "x"); // d moves to the top and sinks to the left
    EXPECT_EQ(NameOf(heap.GetItem(0)), "b");
    EXPECT_EQ(NameOf(heap.GetItem(1)), "d");
    EXPECT_EQ(NameOf(heap.GetItem(2)), "c");

    TIntHeap equal;
    equal.Add(&b, 5);
    equal.Add(&c, 5);
    equal.Add(&d, 5);
    EXPECT_EQ(NameOf(equal.Delete(0)), "b");
    EXPECT_EQ(NameOf(equal.GetItem(0)), "d"); // the last element moved up stays on top
}

TEST(IntHeap, SetOrderRebuilds)
{
    TIntHeap heap;
    std::vector<std::unique_ptr<TNamed>> items;
    for (int p : {4, 9, 1, 7, 3, 8}) {
        items.push_back(std::make_unique<TNamed>(QString::number(p)));
        heap.Add(items.back().get(), p);
    }
    heap.SetOrder(hpDecreasing);
    ExpectHeapShape(heap);
    EXPECT_EQ(Drain(heap), QStringList({"9", "8", "7", "4", "3", "1"}));
}

TEST(IntHeap, IndexOfSearchesByPriorityAndItem)
{
    TNamed a, b, c;
    TIntHeap heap;
    heap.Add(&a, 3);
    heap.Add(&b, 1);
    heap.Add(&c, 3);
    heap.Add(&c, 0);
    ExpectHeapShape(heap);
    for (const int priority : {0, 1, 3}) {
        const int index = heap.IndexOf(priority);
        ASSERT_GE(index, 0);
        EXPECT_EQ(heap.Elements(index)->Priority(), priority);
    }
    EXPECT_EQ(heap.IndexOf(2), -1);
    EXPECT_EQ(heap.IndexOf(-1), -1);
    EXPECT_EQ(heap.GetItem(heap.IndexOf(&a, 3)), &a);
    EXPECT_EQ(heap.GetItem(heap.IndexOf(&c, 3)), &c);
    EXPECT_EQ(heap.IndexOf(&b, 3), -1);
    EXPECT_EQ(heap.IndexOf(&c), heap.IndexOf(&c, 0));
    EXPECT_EQ(heap.GetItem(heap.IndexOf(&c)), &c);
    THeapElement* element = heap.Elements(2);
    EXPECT_EQ(heap.IndexOf(element), 2);
}

TEST(IntHeap, ModifyPriorityMovesTheElement)
{
    TNamed a(QStringLiteral("a")), b(QStringLiteral("b")), c(QStringLiteral("c")), d(QStringLiteral("d"));
    TIntHeap heap;
    THeapElement* ea = heap.Add(&a, 1);
    heap.Add(&b, 2);
    heap.Add(&c, 3);
    THeapElement* ed = heap.Add(&d, 4);
    EXPECT_EQ(heap.ModifyPriority(ed, 0), 0);
    ExpectHeapShape(heap);
    EXPECT_GT(heap.ModifyPriority(ea, 10), 0);
    ExpectHeapShape(heap);
    static_cast<TIntHeapElement*>(ea)->SetPriority(-1);
    EXPECT_EQ(heap.ModifyPriority(ea), 0);
    EXPECT_EQ(Drain(heap), QStringList({"a", "d", "b", "c"}));
}

TEST(IntHeap, DeleteAnyPositionKeepsTheShape)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> priorityOf(-50, 50);
    std::vector<std::unique_ptr<TNamed>> items;
    std::multimap<int, TObject*> reference;
    TIntHeap heap;
    for (int step = 0; step < 3000; ++step) {
        if (heap.Count() == 0 || random() % 3 != 0) {
            items.push_back(std::make_unique<TNamed>());
            const int p = priorityOf(random);
            heap.Add(items.back().get(), p);
            reference.emplace(p, items.back().get());
        } else {
            const int index = static_cast<int>(random() % static_cast<unsigned>(heap.Count()));
            const int p = heap.Elements(index)->Priority();
            TObject* item = heap.Delete(index);
            const auto range = reference.equal_range(p);
            const auto it = std::find_if(range.first, range.second, [item](const auto& e) { return e.second == item; });
            ASSERT_NE(it, range.second);
            reference.erase(it);
        }
        ExpectHeapShape(heap);
        if (heap.Count() > 0) {
            ASSERT_EQ(heap.Elements(0)->Priority(), reference.begin()->first);
        }
    }
}

TEST(IntHeap, BadPositionsRaiseTheListIndexError)
{
    TIntHeap heap;
    TNamed a;
    heap.Add(&a, 1);
    for (const int index : {-1, 1, 3}) {
        try {
            heap.Delete(index);
            FAIL();
        } catch (const EListError& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("List index out of bounds (%1)").arg(index));
        }
        EXPECT_THROW((void)heap.GetItem(index), EListError);
    }
    EXPECT_EQ(heap.Count(), 1);
}

TEST(IntHeap, AssignClonesTheElementsAndSharesTheItems)
{
    TNamed a(QStringLiteral("a")), b(QStringLiteral("b")), c(QStringLiteral("c"));
    TIntHeap source;
    source.SetOrder(hpDecreasing);
    source.Add(&a, 1);
    source.Add(&b, 2);
    source.Add(&c, 3);
    TIntHeap copy;
    TNamed stale;
    copy.Add(&stale, 0);
    copy.Assign(&source);
    EXPECT_EQ(copy.Order(), hpDecreasing);
    ASSERT_EQ(copy.Count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NE(copy.Elements(i), source.Elements(i));
        EXPECT_EQ(copy.GetItem(i), source.GetItem(i));
        EXPECT_EQ(copy.Elements(i)->Priority(), source.Elements(i)->Priority());
        EXPECT_EQ(copy.Elements(i)->Index(), i);
    }
    EXPECT_EQ(Drain(copy), QStringList({"c", "b", "a"}));
    EXPECT_EQ(source.Count(), 3);

    try {
        copy.Assign(source.Elements(0));
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TIntHeapElement to a TIntHeap");
    }
}

TEST(HeapElement, CloneKeepsClassItemAndPosition)
{
    TNamed a;
    TIntHeap heap;
    heap.Add(&a, 1);
    heap.Add(&a, 5);
    const std::unique_ptr<THeapElement> clone = heap.Elements(1)->Clone();
    ASSERT_EQ(clone->ClassName(), "TIntHeapElement");
    EXPECT_EQ(clone->Item(), &a);
    EXPECT_EQ(clone->Index(), 1);
    EXPECT_EQ(static_cast<TIntHeapElement*>(clone.get())->Priority(), 5);

    EXPECT_THROW(THeapElement::Create(TObject::StaticClass(), nullptr), EInvalidOperation);
}

} // namespace
