#include "collections/assign_list.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace velk;

namespace {

TEST(AssignList, AssignReplacesTheItemsInOrderWithNotifications)
{
    TVelkAssignList<int> source;
    for (int i : {3, 1, 2})
        source.Add(i);
    TVelkAssignList<int> target;
    target.Add(9);
    target.Add(8);
    QStringList log;
    target.OnNotify = [&](const int& item, TCollectionNotification action) {
        log += QStringLiteral("%1 %2").arg(item).arg(EnumName(action));
    };
    target.Assign(source);
    EXPECT_EQ(target.ToVector(), std::vector<int>({3, 1, 2}));
    EXPECT_EQ(log, QStringList({"8 cnRemoved", "9 cnRemoved", "3 cnAdded", "1 cnAdded", "2 cnAdded"}));

    log.clear();
    target.Assign(target);
    EXPECT_EQ(target.ToVector(), std::vector<int>({3, 1, 2}));
    EXPECT_TRUE(log.isEmpty());
}

} // namespace
