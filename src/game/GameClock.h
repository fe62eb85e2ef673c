#pragma once
// The game loop's clock: the ticks its stage and mole stopwatches read and
// the pauses it makes (a message's time, the pause before a mole shows, one
// poll, a hit's wait for the previous hit's sound thread). This one is the game's own: the system's steady ticks, and waits
// that end early on the events given. A test stands in one it drives, to
// put the loop at any moment of a stage without waiting for it.
#include "framework/AfxCore.h"
#include "util/SteadyTicks.h"

class GameClock : public TickSource {
public:
    enum class Pause { Message, Spawn, Poll, Sound };

    virtual ~GameClock() = default;

    uint64_t NowMs() override { return SteadyTicks::Instance().NowMs(); }

    // Waits ms, or less once one of the events is signalled; returns what
    // WaitForMultipleObjects returns.
    virtual DWORD Wait(Pause pause, DWORD count, const HANDLE* events, DWORD ms)
    {
        (void)pause;
        return WaitForMultipleObjects(count, events, FALSE, ms);
    }
};
