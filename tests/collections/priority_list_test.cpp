#include "collections/priority_list.h"
#include "tests/support/test_support.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace velk;

namespace {

// An object that reports its destruction.
class TToken : public TObject {
public:
    TToken(QString Name, QStringList* Freed = nullptr) : FName(std::move(Name)), FFreed(Freed) {}
    ~TToken() override
    {
        if (FFreed)
            *FFreed += FName;
    }
    const QString& Name() const { return FName; }

private:
    QString FName;
    QStringList* FFreed;
};

QString NameOf(TObject* Object)
{
    return Object ? static_cast<TToken*>(Object)->Name() : QStringLiteral("nil");
}

// The objects by position, read both ways (GetItem per position, Items at once); the
// two must agree.
QStringList Positions(const TPriorityList& List)
{
    QStringList names;
    for (int i = 0; i < List.Count(); ++i)
        names += NameOf(List.GetItem(i));
    QStringList all;
    for (TObject* item : List.Items())
        all += NameOf(item);
    EXPECT_EQ(all, names);
    return names;
}

using velk::testing::MessageOf;

// Four tokens A (5), B (1), C (5), D (999) in a queue-bucket list.
struct TExample {
    TToken A{QStringLiteral("A")}, B{QStringLiteral("B")}, C{QStringLiteral("C")}, D{QStringLiteral("D")};
    TPriorityList List{TVelkObjectQueue::StaticClass()};
    TExample()
    {
        List.Add(&A, 5);
        List.Add(&B, 1);
        List.Add(&C, 5);
        List.Add(&D, 999);
    }
};

TEST(PriorityList, EmptyListPositionsRaise)
{
    TPriorityList list(TVelkObjectQueue::StaticClass());
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(MessageOf<Exception>([&] { (void)list.GetItem(0); }), "List index out of bounds (0)");
    EXPECT_EQ(MessageOf<EListError>([&] { (void)list.Delete(0); }), "List index out of bounds (0)");
    TToken a(QStringLiteral("A"));
    list.Add(&a, 1);
    for (const int index : {-1, 1, 7}) {
        EXPECT_EQ(MessageOf<Exception>([&] { (void)list.GetItem(index); }),
                  QStringLiteral("List index out of bounds (%1)").arg(index));
        EXPECT_EQ(MessageOf<Exception>([&] { list.SetItem(index, &a); }),
                  QStringLiteral("List index out of bounds (%1)").arg(index));
        EXPECT_EQ(MessageOf<Exception>([&] { (void)list.Delete(index); }),
                  QStringLiteral("List index out of bounds (%1)").arg(index));
    }
    EXPECT_EQ(list.Count(), 1);
}

TEST(PriorityList, LowerPrioritiesFirstAndTheLatestOfEqualPrioritiesFirst)
{
    TExample e;
    EXPECT_EQ(e.List.Count(), 4);
    EXPECT_EQ(e.List.ElementCount(), 3);
    EXPECT_EQ(Positions(e.List), QStringList({"B", "C", "A", "D"}));
    // Delete(0) pops the queue of the top priority: its earliest object.
    EXPECT_EQ(NameOf(e.List.Delete(0)), "B");
    EXPECT_EQ(NameOf(e.List.Delete(0)), "A");
    EXPECT_EQ(Positions(e.List), QStringList({"C", "D"}));
    EXPECT_EQ(e.List.ElementCount(), 2);
}

TEST(PriorityList, ObjectsOfOnePriorityShareOneElement)
{
    TToken a(QStringLiteral("a")), b(QStringLiteral("b")), c(QStringLiteral("c"));
    TPriorityList list(TVelkObjectQueue::StaticClass());
    list.Add(&a, 3);
    list.Add(&b, 3);
    list.Add(&c, 3);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.ElementCount(), 1);
    EXPECT_EQ(Positions(list), QStringList({"c", "b", "a"}));
}

TEST(PriorityList, DecreasingOrder)
{
    TExample e;
    e.List.SetOrder(hpDecreasing);
    EXPECT_EQ(Positions(e.List), QStringList({"D", "C", "A", "B"}));
}

TEST(PriorityList, DeleteOtherPositions)
{
    struct Case {
        int Index;
        QString Removed;
        QStringList Left;
    };
    const Case cases[] = {
        {1, "C", {"B", "A", "D"}},
        {2, "A", {"B", "C", "D"}},
        {3, "D", {"B", "C", "A"}},
    };
    for (const Case& c : cases) {
        TExample e;
        EXPECT_EQ(NameOf(e.List.Delete(c.Index)), c.Removed);
        EXPECT_EQ(Positions(e.List), c.Left);
        EXPECT_EQ(e.List.Count(), 3);
    }
    TExample e;
    e.List.Delete(3);
    EXPECT_EQ(e.List.ElementCount(), 2); // the emptied bucket is gone
    e.List.Delete(1);
    e.List.Delete(1);
    EXPECT_EQ(Positions(e.List), QStringList({"B"}));
    EXPECT_EQ(e.List.ElementCount(), 1);
}

TEST(PriorityList, SetItemReplacesInPlace)
{
    TExample e;
    TToken x(QStringLiteral("X")), y(QStringLiteral("Y"));
    e.List.SetItem(0, &x);
    e.List.SetItem(2, &y);
    EXPECT_EQ(Positions(e.List), QStringList({"X", "C", "Y", "D"}));
}

// With FreeIfNoPop the list destroys what leaves it, except what Delete(0) hands back.
TEST(PriorityList, FreeIfNoPopOwnsTheObjects)
{
    QStringList freed;
    {
        TPriorityList list(TVelkObjectQueue::StaticClass());
        list.SetFreeIfNoPop(true);
        for (const auto& [name, priority] : {std::pair{"a", 1}, std::pair{"b", 1}, std::pair{"c", 2},
                                             std::pair{"d", 3}, std::pair{"e", 3}, std::pair{"f", 4}})
            list.Add(new TToken(QString::fromLatin1(name), &freed), priority);
        // Positions: b a c e d f
        const std::unique_ptr<TObject> popped(list.Delete(0));
        EXPECT_EQ(NameOf(popped.get()), "a");
        EXPECT_TRUE(freed.isEmpty());
        EXPECT_EQ(list.Delete(1), nullptr); // c
        EXPECT_EQ(freed, QStringList({"c"}));
        list.SetItem(1, new TToken(QStringLiteral("x"), &freed)); // replaces e
        EXPECT_EQ(freed, QStringList({"c", "e"}));
        EXPECT_EQ(Positions(list), QStringList({"b", "x", "d", "f"}));
        list.Clear();
        EXPECT_EQ(list.Count(), 0);
        EXPECT_EQ(freed.size(), 6);
        list.Add(new TToken(QStringLiteral("g"), &freed), 1);
    }
    // Destruction frees g; the popped a was the caller's to free.
    EXPECT_EQ(freed.mid(6), QStringList({"a", "g"}));
}

TEST(PriorityList, ClearWithoutFreeIfNoPopLeavesTheObjects)
{
    QStringList freed;
    TToken a(QStringLiteral("a"), &freed);
    {
        TPriorityList list(TVelkObjectQueue::StaticClass());
        list.Add(&a, 1);
        list.Add(&a, 2);
        list.Clear();
        EXPECT_EQ(list.Count(), 0);
        EXPECT_EQ(list.ElementCount(), 0);
        list.Add(&a, 3);
    }
    EXPECT_TRUE(freed.isEmpty());
}

TEST(PriorityList, AssignGivesTheCopyItsOwnBuckets)
{
    TExample e;
    TPriorityList copy(TVelkObjectQueue::StaticClass());
    TToken stale(QStringLiteral("stale"));
    copy.Add(&stale, 0);
    copy.Assign(&e.List);
    EXPECT_EQ(copy.Count(), 4);
    EXPECT_EQ(Positions(copy), Positions(e.List));
    copy.Delete(0);
    copy.Delete(2);
    EXPECT_EQ(Positions(copy), QStringList({"C", "A"}));
    EXPECT_EQ(Positions(e.List), QStringList({"B", "C", "A", "D"}));
    for (int i = 0; i < copy.ElementCount(); ++i)
        for (int j = 0; j < e.List.ElementCount(); ++j)
            EXPECT_NE(copy.Elements(i)->Item(), e.List.Elements(j)->Item());

    TIntHeap plain;
    EXPECT_EQ(MessageOf<EConvertError>([&] { copy.Assign(&plain); }), "Cannot assign a TIntHeap to a TPriorityList");
    EXPECT_EQ(copy.Count(), 2);
}

TEST(PriorityList, AddWithoutPriorityComesFirst)
{
    TExample e;
    TToken first(QStringLiteral("first"));
    e.List.Add(&first);
    EXPECT_EQ(NameOf(e.List.GetItem(0)), "first");
}

TEST(PriorityList, BucketClassMustBeAnOrderedList)
{
    EXPECT_EQ(MessageOf<EInvalidOperation>([] { TPriorityList list(TIntHeap::StaticClass()); }),
              "Invalid class typecast");
}

TEST(ObjectQueue, FirstInFirstOut)
{
    TVelkObjectQueue queue;
    EXPECT_EQ(MessageOf<EListError>([&] { queue.Pop(); }), "List is empty");
    EXPECT_EQ(MessageOf<EListError>([&] { (void)queue.Top(); }), "List is empty");
    TToken a(QStringLiteral("a")), b(QStringLiteral("b"));
    EXPECT_EQ(queue.Push(&a), 0);
    EXPECT_EQ(queue.Push(&b), 1);
    EXPECT_EQ(queue.Top(), &a);
    EXPECT_EQ(queue.Pop(), &a);
    EXPECT_EQ(queue.Pop(), &b);
    EXPECT_TRUE(queue.Empty());
}

TEST(ObjectQueue, AssignAndClone)
{
    TToken a(QStringLiteral("a")), b(QStringLiteral("b"));
    TVelkObjectQueue source;
    source.Push(&a);
    source.Push(&b);
    TVelkObjectQueue target;
    target.Push(&b);
    target.Assign(&source);
    EXPECT_EQ(target.ToVector(), source.ToVector());

    const std::unique_ptr<TVelkObjectOrderedList> clone = source.Clone();
    EXPECT_EQ(clone->ClassName(), "TVelkObjectQueue");
    clone->Pop();
    EXPECT_EQ(source.Count(), 2);

    EXPECT_EQ(MessageOf<EConvertError>([&] { target.Assign(nullptr); }), "Cannot assign a nil to a TVelkObjectQueue");
    EXPECT_EQ(MessageOf<EConvertError>([&] { target.Assign(&a); }), "Cannot assign a TObject to a TVelkObjectQueue");
    EXPECT_EQ(target.Count(), 2);
}

} // namespace
