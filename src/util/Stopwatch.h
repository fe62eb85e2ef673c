#pragma once
// Elapsed real time in whole milliseconds, accumulated from successive
// readings of a tick source at 1000 ticks per second. Used by one thread.
#include <cstdint>
#include <ctime>

template <clock_t (*TickSource)()>
class BasicStopwatch {
public:
    // Restarts from zero.
    void Start()
    {
        m_nTotalMs = 0;
        m_nLastTick = TickSource();
        m_bRunning = 1;
    }

    // Adds the ticks since the previous reading while running; returns the
    // total either way (0 for a stopwatch that was never started). A reading
    // earlier than the previous one (the clock was set back) adds nothing,
    // and later readings count on from it.
    uint32_t GetElapsedMs()
    {
        if (m_bRunning == 1) {
            const clock_t now = TickSource();
            if (now > m_nLastTick)
                m_nTotalMs += static_cast<uint32_t>(now - m_nLastTick);
            m_nLastTick = now;
        }
        return m_nTotalMs;
    }

    // The same reading in seconds; 10000 ms gives exactly 10.0.
    double GetElapsedSec() { return static_cast<double>(GetElapsedMs()) * 0.001; }

private:
    uint32_t m_nTotalMs = 0;
    clock_t m_nLastTick = 0;
    int m_bRunning = 0;
};

// The C run-time's clock(): on Windows, wall-clock milliseconds since the
// process started, so sleeping and waiting count.
using Stopwatch = BasicStopwatch<&std::clock>;
