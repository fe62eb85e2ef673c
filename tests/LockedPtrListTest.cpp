#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "DestructionLog.h"
#include "util/LockedPtrList.h"

namespace {

// A list item; destroyed, it no longer reads as the value it held.
struct Item {
    Item() = default;
    explicit Item(int id) : m_id(id) {}
    virtual ~Item() { m_id = -1; }
    int m_id = 0;
};
using NotedItem = Noted<Item>;

struct ThrowsOnConstruction {
    ThrowsOnConstruction() { throw 42; }
};

} // namespace

TEST(LockedPtrList, HandsItemsOutFirstInFirstOut)
{
    LockedPtrList<Item> list;
    Item a(1), b(2), c(3);
    list.AddTail(&a);
    list.AddTail(&b);
    list.AddTail(&c);
    EXPECT_EQ(3, list.GetCount());
    EXPECT_EQ(&a, list.RemoveHead());
    EXPECT_EQ(&b, list.RemoveHead());
    EXPECT_EQ(&c, list.RemoveHead());
    EXPECT_EQ(nullptr, list.RemoveHead());
    EXPECT_EQ(0, list.GetCount());
}

TEST(LockedPtrList, DeleteAllDestroysLastAddedFirstAndSkipsNulls)
{
    DestructionLog log;
    LockedPtrList<Item> list;
    list.AddTail(new NotedItem(log, 1));
    list.AddTail(nullptr);
    list.AddTail(new NotedItem(log, 2));
    list.AddTail(new NotedItem(log, 3));
    list.DeleteAll();
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ((std::vector<int>{3, 2, 1}), log.Tags());
    list.DeleteAll(); // an empty list is fine too
    EXPECT_EQ(0, list.GetCount());
}

TEST(LockedPtrList, OutOfRangeIndexesGiveNullAndRemoveNothing)
{
    DestructionLog log;
    LockedPtrList<Item> list;
    EXPECT_EQ(nullptr, list.GetAt(0));
    list.AddTail(new NotedItem(log, 1, 1));
    list.AddTail(new NotedItem(log, 2, 2));
    EXPECT_EQ(nullptr, list.GetAt(-1));
    EXPECT_EQ(nullptr, list.GetAt(2));
    EXPECT_EQ(2, list.GetAt(1)->m_id);

    list.RemoveAt(2);
    list.RemoveAt(-1);
    EXPECT_EQ(2, list.GetCount());
    EXPECT_EQ(0, log.Count());

    list.RemoveAt(0);
    EXPECT_EQ((std::vector<int>{1}), log.Tags());
    ASSERT_EQ(1, list.GetCount());
    EXPECT_EQ(2, list.GetAt(0)->m_id);
    list.DeleteAll();
}

TEST(LockedPtrList, DestroyingTheListLeavesItemsAlive)
{
    DestructionLog log;
    Item* item = new NotedItem(log, 7);
    {
        LockedPtrList<Item> list;
        list.AddTail(item);
    }
    EXPECT_EQ(0, log.Count());
    delete item;
    EXPECT_EQ((std::vector<int>{7}), log.Tags());
}

TEST(LockedPtrList, AddNewAppendsNothingWhenConstructionFails)
{
    LockedPtrList<ThrowsOnConstruction> list;
    EXPECT_THROW(list.AddNew(), int);
    EXPECT_EQ(0, list.GetCount());
    // The lock was released on the way out: another thread can still use it.
    std::thread other([&] { EXPECT_EQ(nullptr, list.RemoveHead()); });
    other.join();
}

TEST(LockedPtrList, FreeAllReleasesPlainValues)
{
    LockedPtrList<int> ids;
    ids.AddTail(new int(1001));
    ids.AddTail(nullptr);
    ids.AddTail(new int(1006));
    EXPECT_EQ(1006, *ids.GetAt(2));
    ids.FreeAll();
    EXPECT_EQ(0, ids.GetCount());
}

TEST(LockedPtrList, APusherAndATakerAsFastAsTheyCanLoseNothingAndKeepTheOrder)
{
    // As the window pushes clicks while the game takes them, but with no
    // pause on either side: the taker keeps the list at most a node or two
    // long, so each take meets a push on the same ends, nodes and count.
    constexpr int kItems = 200000;
    LockedPtrList<Item> queue;
    std::thread pusher([&] {
        for (int i = 0; i < kItems; ++i)
            queue.AddTail(new Item(i));
    });
    int taken = 0;
    int outOfOrder = 0;
    for (const DWORD deadline = GetTickCount() + 20000; taken < kItems && GetTickCount() < deadline;) {
        const std::unique_ptr<Item> item(queue.RemoveHead());
        if (item == nullptr)
            continue;
        outOfOrder += item->m_id != taken;
        ++taken;
    }
    pusher.join();
    EXPECT_EQ(kItems, taken) << "items taken";
    EXPECT_EQ(0, outOfOrder) << "items taken out of their order";
    EXPECT_EQ(0, queue.GetCount()) << "count left";
}

TEST(LockedPtrList, AnItemLookedUpUnderTheSectionOutlivesTheSection)
{
    // A reader holds the list's section across a pass that takes a while,
    // as the board's painting did; another thread keeps replacing items
    // meanwhile. What the reader got must not be destroyed under it.
    LockedPtrList<Item> list;
    list.AddTail(new Item(5));
    std::atomic<bool> done{false};
    std::thread churn([&] { // adds a new item, then removes the oldest
        while (!done) {
            {
                // Placed while the section is held, so no reader sees it half set.
                CSingleLock place(list.GetSection(), TRUE);
                list.AddNew()->m_id = 5;
            }
            list.RemoveAt(0);
        }
    });
    int seen = 0;
    for (int pass = 0; pass < 200; ++pass) {
        CSingleLock hold(list.GetSection(), TRUE);
        Item* item = list.GetAt(0);
        if (item == nullptr)
            continue;
        Sleep(1);
        EXPECT_EQ(5, item->m_id) << "the item was destroyed while the reader held the section";
        ++seen;
    }
    done = true;
    churn.join();
    EXPECT_EQ(200, seen) << "passes that found an item";
    list.DeleteAll();
}
