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

TEST(Stopwatch, AccumulatesAcrossReadingsRestartsFromZeroAndAddsNothingForAStepBackwards)
{
    // Each step moves the ticks (after a restart, where it says so) and
    // reads the watch; one step goes further back than the whole time.
    struct Step { int64_t ticks; bool restart; uint32_t ms; };
    ManualTicks ticks;
    ticks.now = 20000;
    Stopwatch watch(ticks);
    watch.Start();
    for (const Step& s : {Step{100, false, 100}, {100, false, 200}, {800, false, 1000}, {0, true, 0},
                          {1001, false, 1001}, {-5000, false, 1001}, {200, false, 1201}}) {
        if (s.restart)
            watch.Start();
        ticks.now += s.ticks;
        EXPECT_EQ(s.ms, watch.GetElapsedMs()) << "after a step of " << s.ticks << (s.restart ? " and a restart" : "");
    }
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
