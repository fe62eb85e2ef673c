#pragma once
// Milliseconds since the system started (GetTickCount64, Windows Vista and
// later). Setting the system's date and time never moves it, unlike the C
// run-time's clock(), which msvcrt computes from the system time; it counts
// time the calling thread sleeps or waits, and has 64 bits, so it does not
// wrap while the system runs.
#include "framework/AfxCore.h"
#include "util/TickSource.h"

class SteadyTicks final : public TickSource {
public:
    uint64_t NowMs() override { return GetTickCount64(); }

    // One for the whole process: it holds nothing.
    static SteadyTicks& Instance()
    {
        static SteadyTicks ticks;
        return ticks;
    }
};
