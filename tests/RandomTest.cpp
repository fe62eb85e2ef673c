// The C run-time's rand() keeps its state per thread and starts every thread
// from the same seed, so each game thread places its n-th mole on the same
// spot. These tests pin that down for the run-time the game links.
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>
#include <vector>

#include "RunOnAfxThread.h"
#include "game/Board.h"
#include "worker/WorkerThread.h"

namespace {

// The classic run-time generator from seed 1.
std::vector<int> ClassicSequence(int count)
{
    std::vector<int> values;
    unsigned int state = 1;
    for (int i = 0; i < count; ++i) {
        state = state * 214013u + 2531011u;
        values.push_back(static_cast<int>((state >> 16) & 0x7fff));
    }
    return values;
}

std::vector<int> FirstValues(int count)
{
    std::vector<int> values;
    for (int i = 0; i < count; ++i)
        values.push_back(std::rand());
    return values;
}

TEST(RandomPerThread, EveryNewThreadStartsFromSeedOneWhateverOthersDid)
{
    // The main thread draws many numbers first: a shared generator would
    // hand the new threads later values.
    for (int i = 0; i < 1000; ++i)
        std::rand();

    const std::vector<int> classic = ClassicSequence(8);
    EXPECT_EQ(41, classic[0]);

    std::vector<int> first, second;
    std::thread([&] { first = FirstValues(8); }).join();
    std::thread([&] { second = FirstValues(8); }).join();
    std::vector<int> afx;
    RunOnAfxThread([&] { afx = FirstValues(8); });

    EXPECT_EQ(classic, first);
    EXPECT_EQ(classic, second);
    EXPECT_EQ(classic, afx);
}

TEST(RandomPerThread, ConcurrentThreadsDoNotShareAGenerator)
{
    // Both threads draw alternately; with one shared generator each would
    // see every other value.
    std::vector<int> a, b;
    HANDLE turnA = CreateEventW(nullptr, FALSE, TRUE, nullptr);
    HANDLE turnB = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    std::thread ta([&] {
        for (int i = 0; i < 6; ++i) {
            WaitForSingleObject(turnA, INFINITE);
            a.push_back(std::rand());
            SetEvent(turnB);
        }
    });
    std::thread tb([&] {
        for (int i = 0; i < 6; ++i) {
            WaitForSingleObject(turnB, INFINITE);
            b.push_back(std::rand());
            SetEvent(turnA);
        }
    });
    ta.join();
    tb.join();
    CloseHandle(turnA);
    CloseHandle(turnB);
    EXPECT_EQ(ClassicSequence(6), a);
    EXPECT_EQ(ClassicSequence(6), b);
}

// The spots of three moles spawned one after another on the play field.
std::vector<POINT> ThreeSpots()
{
    Board board;
    board.SetPlayArea(RECT{0, 0, 478, 482});
    std::vector<POINT> spots;
    for (int i = 0; i < 3; ++i) {
        board.Spawn(1);
        spots.push_back(board.GetMole(0)->GetPosition());
    }
    return spots;
}

class SpawningWorker : public WorkerThread {
public:
    ~SpawningWorker() override { StopAndWait(); }
    int Run() override
    {
        m_spots = ThreeSpots();
        return 0;
    }
    std::vector<POINT> m_spots;
};

bool SameSpots(const std::vector<POINT>& a, const std::vector<POINT>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].x != b[i].x || a[i].y != b[i].y)
            return false;
    return true;
}

TEST(RandomPerThread, EachGameThreadPlacesItsMolesOnTheSameSpots)
{
    std::srand(12345); // the main thread's own seed must not matter
    std::vector<POINT> first, second, third;
    std::thread([&] { first = ThreeSpots(); }).join();
    RunOnAfxThread([&] { second = ThreeSpots(); });
    SpawningWorker worker;
    worker.Start();
    ASSERT_TRUE(worker.WaitForThread(5000));
    third = worker.m_spots;

    ASSERT_EQ(3u, first.size());
    EXPECT_TRUE(SameSpots(first, second));
    EXPECT_TRUE(SameSpots(first, third));
    // Three different spots, not one repeated.
    EXPECT_FALSE(first[0].x == first[1].x && first[0].y == first[1].y);
    EXPECT_FALSE(first[1].x == first[2].x && first[1].y == first[2].y);
}

} // namespace
