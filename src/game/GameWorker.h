#pragma once
// The game: five stages of one-second moles on a board, driven by the clicks
// the window queues, run on the worker's own thread. It talks to the window
// only through the board, its message text and repaint requests.
#include <memory>

#include "game/Board.h"
#include "game/GameClock.h"
#include "util/Stopwatch.h"
#include "worker/SoundWorker.h"
#include "worker/WindowWorker.h"

class GameWorker : public WindowWorker {
public:
    GameWorker() = default;
    ~GameWorker() override;

    int Run() override;

    // Shows text as the message for the given time, then clears it; blocks
    // the game thread meanwhile without passing a checkpoint, but a stop
    // request ends the wait early.
    void ShowMessage(CString text, int milliseconds);
    void ShowStageBanner(int stageIndex, int stageCount);
    void UpdateStatus(double seconds);
    int GetQuota() const { return m_nStage * 2 + 10; }

    static constexpr int kStageCount = 5;
    static constexpr int kMessageMs = 2000;
    static constexpr double kStageSeconds = 10.0;
    static constexpr uint32_t kMoleLifeMs = 1000;
    static constexpr int kSpawnPauseMs = 100;
    static constexpr int kPollMs = 20;
    // How long a hit waits for the previous hit's sound thread to end, at
    // most: one poll. A thread still in its call by then (a sound system
    // that hangs) costs this hit its sound, not its count.
    static constexpr int kSoundWaitMs = kPollMs;

    Board* m_pBoard = nullptr;

protected:
    // The worker that plays the hit sound, one for the whole game; at the
    // game's end it goes to SoundWorker::Release. A test stands in a slower
    // one here.
    virtual std::unique_ptr<SoundWorker> CreateSoundWorker();
    // How long one poll waits for a click or a stop: kPollMs. A test makes
    // it long to see that a click, not the poll's end, wakes the game.
    virtual DWORD PollMs() const { return kPollMs; }
    // The clock the loop's stopwatches read and its pauses wait on: the
    // game's own. A test stands in one it drives.
    virtual GameClock& Clock();

private:
    enum class Wait { ClickQueued, MoleExpired, TimeUp };

    // One poll's pause: kPollMs, or less when a click is queued or a stop
    // is requested meanwhile.
    void PausePoll();
    // A message's time or the pause before a mole shows: less when a stop
    // is requested meanwhile.
    void PauseUnlessStopped(GameClock::Pause pause, int milliseconds);

    // Waits for the previous hit's sound thread to end, kSoundWaitMs at most.
    void WaitForSound(SoundWorker& sound);
    // Plays one stage after its banner; true when the quota was reached.
    bool PlayStage(SoundWorker& sound);
    // Places the next mole and shows it; its second starts afterwards.
    void SpawnMole(Stopwatch& moleWatch);
    Wait WaitForClick(Stopwatch& moleWatch, Stopwatch& stageWatch);
    void HandleClick(SoundWorker& sound, std::unique_ptr<ClickEvent> click, Stopwatch& stageWatch);
    // Asks the owner window to repaint its whole client area, without erasing.
    void InvalidateOwner();
};
