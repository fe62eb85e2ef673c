// Every game thread places its n-th mole on the same spot, whatever other
// threads drew: the board draws from the C run-time's rand(), whose state is
// per thread and starts from the same seed in each, and never seeds it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>
#include <vector>

#include "DibCanvas.h"
#include "GameHarness.h"
#include "RunOnAfxThread.h"
#include "util/DpiScale.h"
#include "game/Board.h"
#include "worker/WorkerThread.h"

namespace {

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

TEST(RandomPerThread, AtEveryScalingTheMolesComeUpOnThe96DpiSpotsScaled)
{
    const std::vector<RECT> at96 = PredictMoleSpots(5);
    for (const int dpi : {120, 144, 192}) {
        const std::vector<RECT> spots = PredictMoleSpots(5, dpi);
        for (size_t i = 0; i < at96.size(); ++i)
            EXPECT_EQ(RectText(DpiScale(dpi).Scale(at96[i])), RectText(spots[i])) << "mole " << i + 1 << " at " << dpi << " dpi";
    }
}

} // namespace
