#include <gtest/gtest.h>

#include "framework/AfxCore.h"
#include "util/Stopwatch.h"

namespace {

clock_t g_fakeNow = 0;
clock_t FakeClock() { return g_fakeNow; }
using FakeStopwatch = BasicStopwatch<&FakeClock>;

} // namespace

TEST(Stopwatch, NeverStartedReadsZeroHoweverLongItWaits)
{
    g_fakeNow = 500;
    FakeStopwatch watch;
    g_fakeNow = 99999;
    EXPECT_EQ(0u, watch.GetElapsedMs());
    EXPECT_EQ(0.0, watch.GetElapsedSec());
}

TEST(Stopwatch, TenThousandMillisecondsAreExactlyTenSeconds)
{
    g_fakeNow = 1234;
    FakeStopwatch watch;
    watch.Start();
    EXPECT_EQ(0u, watch.GetElapsedMs()); // same tick as Start
    g_fakeNow += 10000;
    EXPECT_EQ(10000u, watch.GetElapsedMs());
    EXPECT_EQ(10.0, watch.GetElapsedSec());
    EXPECT_FALSE(watch.GetElapsedSec() > 10.0); // still in time for the game loop
    g_fakeNow += 1;
    EXPECT_DOUBLE_EQ(10.001, watch.GetElapsedSec());
    EXPECT_TRUE(watch.GetElapsedSec() > 10.0);
}

TEST(Stopwatch, AccumulatesAcrossReadingsAndRestartsFromZero)
{
    g_fakeNow = 0;
    FakeStopwatch watch;
    watch.Start();
    for (int i = 0; i < 10; ++i) {
        g_fakeNow += 100;
        EXPECT_EQ(static_cast<uint32_t>((i + 1) * 100), watch.GetElapsedMs());
    }
    watch.Start();
    EXPECT_EQ(0u, watch.GetElapsedMs());
    g_fakeNow += 1001;
    EXPECT_TRUE(watch.GetElapsedMs() > 1000u);
}

TEST(Stopwatch, AStepBackwardsAddsNothingAndTheTimeAfterItCounts)
{
    g_fakeNow = 20000;
    FakeStopwatch watch;
    watch.Start();
    g_fakeNow += 300;
    EXPECT_EQ(300u, watch.GetElapsedMs());
    g_fakeNow -= 5000; // further back than the whole elapsed time
    EXPECT_EQ(300u, watch.GetElapsedMs());
    EXPECT_DOUBLE_EQ(0.3, watch.GetElapsedSec());
    g_fakeNow += 200;
    EXPECT_EQ(500u, watch.GetElapsedMs());
    g_fakeNow -= 1; // a small step back as well
    EXPECT_EQ(500u, watch.GetElapsedMs());
}

TEST(Stopwatch, RunTimeClockCountsTimeSpentSleeping)
{
    // The stage clock must include sleeps and waits: the run-time's clock()
    // has to be wall-clock time, not processor time.
    Stopwatch watch;
    watch.Start();
    Sleep(300);
    const uint32_t elapsed = watch.GetElapsedMs();
    EXPECT_GE(elapsed, 250u);
    EXPECT_LT(elapsed, 2000u);
    uint32_t previous = elapsed;
    for (int i = 0; i < 100; ++i) {
        const uint32_t now = watch.GetElapsedMs();
        EXPECT_GE(now, previous);
        previous = now;
    }
}
