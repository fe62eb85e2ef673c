// The game with a sound system that has stopped answering: each sound
// thread's call returns only when the test lets it go, as PlaySoundW does
// while the sound server is frozen.
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "GameHarness.h"

namespace {

// The frozen sound system: a manual-reset event the stuck calls wait on
// (at most 20 s, so a test that forgets it still ends), and counts of the
// calls made and of the workers destroyed. Set on every way out of a test,
// so no thread is left waiting into the next one.
struct FrozenSoundSystem {
    FrozenSoundSystem() : release(CreateEventW(nullptr, TRUE, FALSE, nullptr)) { s_pCurrent = this; }
    ~FrozenSoundSystem()
    {
        Thaw();
        // The thread that was stuck ends within a moment of its release;
        // the game's one sound worker goes with the first Release after that.
        WaitUntil([this] { SoundWorker::Release(nullptr); return destroyed.load() == 1; }, 2000);
        s_pCurrent = nullptr;
        CloseHandle(release);
    }
    void Thaw() { SetEvent(release); }

    HANDLE release;
    std::atomic<int> calls{0};
    std::atomic<int> destroyed{0};
    static FrozenSoundSystem* s_pCurrent;
};
FrozenSoundSystem* FrozenSoundSystem::s_pCurrent = nullptr;

class FrozenSound : public SoundWorker {
public:
    ~FrozenSound() override
    {
        StopAndWait();
        if (FrozenSoundSystem::s_pCurrent != nullptr)
            FrozenSoundSystem::s_pCurrent->destroyed.fetch_add(1);
    }
    int Run() override
    {
        FrozenSoundSystem& system = *FrozenSoundSystem::s_pCurrent;
        system.calls.fetch_add(1);
        WaitForSingleObject(system.release, 20000);
        // Back from the call, the thread still uses its worker.
        m_nReturns.fetch_add(1);
        return 0;
    }

private:
    std::atomic<int> m_nReturns{0};
};

class FrozenSoundGame : public GameWorker {
public:
    ~FrozenSoundGame() override { StopAndWait(); }

protected:
    std::unique_ptr<SoundWorker> CreateSoundWorker() override { return std::make_unique<FrozenSound>(); }
};

// Clicks the board's next mole (one other than *last) and waits up to
// withinMs for the hit count to reach hits.
bool HitNextMole(GameWorker& worker, Board& board, RECT* last, int hits, DWORD withinMs)
{
    RECT mole;
    if (!WaitUntil([&] { return CurrentMoleRect(board, &mole) && !EqualRect(&mole, last); }, 3000))
        return false;
    *last = mole;
    worker.PushClick(new ClickEvent(Centre(mole).x, Centre(mole).y));
    return WaitUntil([&] { return board.m_nHits.load() == hits; }, withinMs);
}

} // namespace

TEST(GameSoundStall, HitsCountTheClockRunsAndAStopEndsTheGameWhileTheSoundIsStuck)
{
    FrozenSoundSystem system;
    TestWindow owner;
    Board board;
    board.SetPlayArea(kPlayArea);
    FrozenSoundGame worker;
    worker.SetOwner(owner.Wnd());
    worker.m_pBoard = &board;
    // Lets the stuck call go before the game is destroyed, whatever fails.
    struct ThawFirst {
        FrozenSoundSystem& system;
        ~ThawFirst() { system.Thaw(); }
    } thawFirst{system};
    board.m_bRunning = 1;
    ASSERT_EQ(0, worker.Start());

    // The first hit's sound thread is stuck in its call from now on; each
    // later hit is counted at once (within one poll, given half a second).
    RECT last = {};
    ASSERT_TRUE(HitNextMole(worker, board, &last, 1, 500)) << "hits: " << board.m_nHits.load();
    ASSERT_TRUE(WaitUntil([&] { return system.calls.load() == 1; }, 1000)) << "no sound started";
    for (int hit = 2; hit <= 4; ++hit)
        ASSERT_TRUE(HitNextMole(worker, board, &last, hit, 500))
            << "hit " << hit << " not counted: hits " << board.m_nHits.load() << ", wanted " << hit;
    EXPECT_EQ(1, system.calls.load()) << "sound calls made: one sound thread at a time";

    // The status line shows the hits and its time goes on. The game writes
    // it just after it counts the hit, so it is waited for, not read at once.
    std::string status;
    EXPECT_TRUE(WaitUntil([&] {
        status = board.GetStatusText().GetString();
        return status.find(CString("Dunko：4/10").GetString()) != std::string::npos;
    }, 500)) << status;
    EXPECT_TRUE(WaitUntil([&] { return std::string(board.GetStatusText().GetString()) != status; }, 500))
        << "the status line stood still at " << status;

    // A stop ends the game's thread at once; the stuck sound's worker is
    // kept for its thread, not destroyed under it.
    worker.RequestStop();
    EXPECT_TRUE(worker.WaitForThread(1000)) << "the game's thread did not end within a second of the stop";
    EXPECT_EQ(0, system.destroyed.load()) << "the stuck sound's worker was destroyed under its thread";

    // Once the sound system answers again, the worker goes with its thread.
    system.Thaw();
    EXPECT_TRUE(WaitUntil([&] { SoundWorker::Release(nullptr); return system.destroyed.load() == 1; }, 2000))
        << "workers destroyed: " << system.destroyed.load() << ", wanted 1 once the sound's thread had ended";
}
