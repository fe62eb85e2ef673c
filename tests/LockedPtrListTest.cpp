#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "util/LockedPtrList.h"

namespace {

// An item that records the order in which items are destroyed.
struct Tracked {
    Tracked() = default;
    Tracked(int id, std::vector<int>* log) : m_id(id), m_log(log) {}
    virtual ~Tracked()
    {
        if (m_log != nullptr)
            m_log->push_back(m_id);
    }
    int m_id = 0;
    std::vector<int>* m_log = nullptr;
};

struct ThrowsOnConstruction {
    ThrowsOnConstruction() { throw 42; }
};

} // namespace

TEST(LockedPtrList, HandsItemsOutFirstInFirstOut)
{
    LockedPtrList<Tracked> list;
    Tracked a(1, nullptr), b(2, nullptr), c(3, nullptr);
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
    std::vector<int> log;
    LockedPtrList<Tracked> list;
    list.AddTail(new Tracked(1, &log));
    list.AddTail(nullptr);
    list.AddTail(new Tracked(2, &log));
    list.AddTail(new Tracked(3, &log));
    list.DeleteAll();
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ((std::vector<int>{3, 2, 1}), log);
    list.DeleteAll(); // an empty list is fine too
    EXPECT_EQ(0, list.GetCount());
}

TEST(LockedPtrList, OutOfRangeIndexesGiveNullAndRemoveNothing)
{
    std::vector<int> log;
    LockedPtrList<Tracked> list;
    EXPECT_EQ(nullptr, list.GetAt(0));
    list.AddTail(new Tracked(1, &log));
    list.AddTail(new Tracked(2, &log));
    EXPECT_EQ(nullptr, list.GetAt(-1));
    EXPECT_EQ(nullptr, list.GetAt(2));
    EXPECT_EQ(2, list.GetAt(1)->m_id);

    list.RemoveAt(2);
    list.RemoveAt(-1);
    EXPECT_EQ(2, list.GetCount());
    EXPECT_TRUE(log.empty());

    list.RemoveAt(0);
    EXPECT_EQ((std::vector<int>{1}), log);
    ASSERT_EQ(1, list.GetCount());
    EXPECT_EQ(2, list.GetAt(0)->m_id);
    list.DeleteAll();
}

TEST(LockedPtrList, DestroyingTheListLeavesItemsAlive)
{
    std::vector<int> log;
    Tracked* item = new Tracked(7, &log);
    {
        LockedPtrList<Tracked> list;
        list.AddTail(item);
    }
    EXPECT_TRUE(log.empty());
    delete item;
    EXPECT_EQ((std::vector<int>{7}), log);
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

TEST(LockedPtrList, TwoThreadsProducingAndConsumingLoseNothing)
{
    // One thread appends, the other takes from the head, as the dialog and
    // the game loop share the click queue; every item arrives once, in order.
    constexpr int kItems = 20000;
    LockedPtrList<Tracked> queue;
    std::thread producer([&] {
        for (int i = 0; i < kItems; ++i)
            queue.AddTail(new Tracked(i, nullptr));
    });
    int expected = 0;
    bool inOrder = true;
    while (expected < kItems) {
        if (queue.GetCount() == 0) {
            std::this_thread::yield();
            continue;
        }
        Tracked* item = queue.RemoveHead();
        ASSERT_NE(nullptr, item); // a count above 0 stays above 0 for the only taker
        inOrder = inOrder && item->m_id == expected;
        ++expected;
        delete item;
    }
    producer.join();
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(0, queue.GetCount());
}

TEST(LockedPtrList, LookupsRaceRemovalsWithoutTouchingFreedItems)
{
    // A reader holding the list's section across its pass never sees an item
    // destroyed under it, while another thread keeps replacing items.
    LockedPtrList<Tracked> list;
    std::atomic<bool> done{false};
    std::thread churn([&] {
        for (int i = 0; i < 5000; ++i) {
            {
                // Placed while the section is held, so no reader sees it half set.
                CSingleLock place(list.GetSection(), TRUE);
                list.AddNew()->m_id = 5;
            }
            list.RemoveAt(0);
        }
        done = true;
    });
    int seen = 0;
    while (!done) {
        CSingleLock pass(list.GetSection(), TRUE);
        for (int i = 0; i < list.GetCount(); ++i) {
            Tracked* item = list.GetAt(i);
            if (item != nullptr) {
                EXPECT_EQ(5, item->m_id);
                ++seen;
            }
        }
    }
    churn.join();
    EXPECT_EQ(0, list.GetCount());
}
