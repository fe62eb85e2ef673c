#pragma once
// Elapsed real time in whole milliseconds, accumulated from successive
// readings of a tick source. Used by one thread.
#include <cstdint>

#include "util/SteadyTicks.h"

class Stopwatch {
public:
    explicit Stopwatch(TickSource& ticks = SteadyTicks::Instance()) : m_pTicks(&ticks) {}

    // Restarts from zero.
    void Start()
    {
        m_nTotalMs = 0;
        m_nLastTick = m_pTicks->NowMs();
        m_bRunning = 1;
    }

    // Adds the ticks since the previous reading while running; returns the
    // total either way (0 for a stopwatch that was never started). A reading
    // earlier than the previous one adds nothing, and later readings count
    // on from it.
    uint32_t GetElapsedMs()
    {
        if (m_bRunning == 1) {
            const uint64_t now = m_pTicks->NowMs();
            if (now > m_nLastTick)
                m_nTotalMs += static_cast<uint32_t>(now - m_nLastTick);
            m_nLastTick = now;
        }
        return m_nTotalMs;
    }

    // The same reading in seconds; 10000 ms gives exactly 10.0.
    double GetElapsedSec() { return static_cast<double>(GetElapsedMs()) * 0.001; }

private:
    TickSource* m_pTicks;
    uint32_t m_nTotalMs = 0;
    uint64_t m_nLastTick = 0;
    int m_bRunning = 0;
};
