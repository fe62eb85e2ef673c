#pragma once
// A real GameWorker on a clock the test drives, for the rules of play at
// their boundaries. Every pause of the loop returns at once with the clock
// moved on by what the test's script says (by default what the pause asks
// for), so a whole game takes a moment and a script can put the stage or the
// mole at any millisecond and queue clicks in any pause. The script runs on
// the game's thread, in the pause, before the clock moves. A hit's wait for
// the previous sound thread is real and counts as no game time; the clock
// notes the milliseconds each one asked for.
#include <atomic>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "SlowSoundGame.h"
#include "TestWindow.h"
#include "game/GameWorker.h"

class DrivenClock : public GameClock {
public:
    // Returns how long this pause lasts.
    std::function<DWORD(Pause pause, DWORD ms)> script;

    uint64_t NowMs() override { return m_now; }
    DWORD Wait(Pause pause, DWORD count, const HANDLE* events, DWORD ms) override;

    // What the stage's and the mole's stopwatches read at the pass just
    // made (in a poll), or will read at the first pass after this pause.
    uint64_t StageMs() const { return m_now - m_stageStart; }
    uint64_t MoleMs() const { return m_now - m_moleStart; }

    std::vector<DWORD> soundWaits;

private:
    uint64_t m_now = 1000000;
    uint64_t m_stageStart = 0;
    uint64_t m_moleStart = 0;
};

class DrivenWorker : public GameWorker {
public:
    ~DrivenWorker() override { StopAndWait(); }
    DrivenClock clock;
    // Sound threads the game has started.
    std::atomic<int> soundsStarted{0};
    // Runs on the game's thread after each checkpoint, once.
    std::function<void()> afterCheckPoint;

    void CheckPoint() override
    {
        GameWorker::CheckPoint();
        if (afterCheckPoint)
            std::exchange(afterCheckPoint, nullptr)();
    }

protected:
    GameClock& Clock() override { return clock; }
    std::unique_ptr<SoundWorker> CreateSoundWorker() override;
};

// What one message pause showed: its text, how long it asked for, and the
// board under it.
struct MessageShown {
    std::string text;
    DWORD ms;
    int moles;
    std::string status;
};

class DrivenGame {
public:
    using Script = std::function<DWORD(GameClock::Pause pause, DWORD ms)>;

    DrivenGame();
    // Runs one game with the script to its end (or its stop); false when it
    // did not end within a few seconds of real time.
    bool Play(Script script = {});

    // For scripts: a click queued at the point, or at the centre of the
    // mole on the board now (false when there is none).
    void Click(POINT point) { worker.PushClick(new ClickEvent(point.x, point.y)); }
    bool ClickMole();
    // The texts of the message pauses so far, in order.
    std::vector<std::string> Texts() const;

    // What the game's thread writes is declared before the worker, so the
    // worker's destructor ends that thread before any of it goes.
    TestWindow owner;
    Board board;
    std::vector<MessageShown> messages;
    DrivenWorker worker;
};
