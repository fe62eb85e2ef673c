#include <gtest/gtest.h>

#include "ManualTicks.h"
#include "util/Stopwatch.h"

TEST(Stopwatch, NeverStartedReadsZeroHoweverLongItWaits)
{
    ManualTicks ticks;
    ticks.now = 500;
    Stopwatch watch(ticks);
    ticks.now = 99999;
    EXPECT_EQ(0u, watch.GetElapsedMs());
    EXPECT_EQ(0.0, watch.GetElapsedSec());
}

TEST(Stopwatch, ReadsWholeMillisecondsAndTheirSecondsFromAnyStartingTick)
{
    // Starting ticks of a system up for moments, 25 days (past 2^31 ms) and
    // 50 days (past 2^32 ms): the tick count is 64 bits wide.
    struct Case { uint64_t start; uint32_t ms; double sec; };
    for (const Case& c : {Case{1234, 0, 0.0}, {1234, 9999, 9.999}, {1234, 10000, 10.0}, {1234, 10001, 10.001},
                          {0x7FFFFFF0ull, 32, 0.032}, {0xFFFFFFF0ull, 10000, 10.0}}) {
        ManualTicks ticks;
        ticks.now = c.start;
        Stopwatch watch(ticks);
        watch.Start();
        ticks.now += c.ms;
        EXPECT_EQ(c.ms, watch.GetElapsedMs()) << "ms after starting at tick " << c.start;
        EXPECT_EQ(c.sec, watch.GetElapsedSec()) << "s after " << c.ms << " ms from tick " << c.start;
    }
}

TEST(Stopwatch, AccumulatesAcrossReadingsAndRestartsFromZero)
{
    ManualTicks ticks;
    Stopwatch watch(ticks);
    watch.Start();
    for (uint32_t i = 1; i <= 10; ++i) {
        ticks.now += 100;
        EXPECT_EQ(i * 100, watch.GetElapsedMs());
    }
    watch.Start();
    EXPECT_EQ(0u, watch.GetElapsedMs());
    ticks.now += 1001;
    EXPECT_EQ(1001u, watch.GetElapsedMs());
}

TEST(Stopwatch, AStepBackwardsAddsNothingAndTheTimeAfterItCounts)
{
    ManualTicks ticks;
    ticks.now = 20000;
    Stopwatch watch(ticks);
    watch.Start();
    ticks.now += 300;
    EXPECT_EQ(300u, watch.GetElapsedMs());
    ticks.now -= 5000; // further back than the whole elapsed time
    EXPECT_EQ(300u, watch.GetElapsedMs());
    ticks.now += 200;
    EXPECT_EQ(500u, watch.GetElapsedMs());
}

TEST(Stopwatch, TheGamesClockCountsTimeSpentSleeping)
{
    // The stage clock must include sleeps and waits: wall-clock time, not
    // the thread's processor time.
    Stopwatch watch;
    watch.Start();
    Sleep(300);
    const uint32_t elapsed = watch.GetElapsedMs();
    EXPECT_GE(elapsed, 250u);
    EXPECT_LT(elapsed, 2000u);
}
