#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <thread>

#include "DestructionLog.h"
#include "GameHarness.h"
#include "ManualTicks.h"
#include "RunOnAfxThread.h"
#include "SlowSoundGame.h"
#include "PaintCounter.h"
#include "framework/CSingleLock.h"

namespace {

const std::string kStatusFirst = CString("Stage:1  Dunko：0/10 匹 Time:0.0").GetString();

// A game on a board with the real play area and a hidden owner window.
template <class Worker>
struct GameOn {
    GameOn()
    {
        board.SetPlayArea(kPlayArea);
        worker.SetOwner(owner.Wnd());
        worker.m_pBoard = &board;
    }
    ~GameOn()
    {
        worker.RequestStop();
        worker.WaitForThread(5000);
    }
    void Start()
    {
        board.m_bRunning = 1;
        worker.Start();
    }
    bool Ended(DWORD timeoutMs) { return worker.WaitForThread(timeoutMs) != 0; }

    TestWindow owner;
    Board board;
    Worker worker;
};
using Game = GameOn<GameWorker>;

// The game's own clock, for tests where only the play needs real time:
// banners and end texts take none of it.
class BannerlessClock : public GameClock {
public:
    DWORD Wait(Pause pause, DWORD count, const HANDLE* events, DWORD ms) override
    {
        return GameClock::Wait(pause, count, events, pause == Pause::Message ? 0 : ms);
    }
};

template <class Worker>
class Bannerless : public Worker {
public:
    ~Bannerless() override { this->StopAndWait(); }

protected:
    GameClock& Clock() override { return m_clock; }

private:
    BannerlessClock m_clock;
};

double TimeOf(const std::string& status)
{
    const size_t at = status.find("Time:");
    return at == std::string::npos ? -1.0 : std::atof(status.c_str() + at + 5);
}

using SlowSoundGame = SlowSoundGameOf<1500>;

} // namespace

TEST(GameLoop, StatusLineRoundsAHalfTenthOfASecondUp)
{
    // The stage times the stopwatch reads (ms * 0.001) that lie exactly
    // halfway between two tenths.
    Game game;
    for (const auto& time : {std::pair<uint32_t, const char*>{250, "Time:0.3"}, {1250, "Time:1.3"},
                             {8250, "Time:8.3"}}) {
        game.worker.UpdateStatus(time.first * 0.001);
        EXPECT_EQ(CString("Stage:1  Dunko：0/10 匹 ") + time.second, game.board.GetStatusText());
    }
}

namespace {

// What the game makes of its stage clock on the calling thread: whether
// 10,000 ms are past the stage's ten seconds, and the status line at
// 68,350 ms (68.35 s lies between two doubles, and rounding ms * 0.001 once
// or twice picks different ones, which show as 68.4 and 68.3). The ticks
// are read at run time, so the compiler cannot work the answers out while
// compiling, where the processor's floating point plays no part.
struct ClockAnswers {
    bool overAtTenSeconds;
    std::string statusAt68350;
};

ClockAnswers ReadTheStageClock(Game& game)
{
    ManualTicks ticks;
    Stopwatch watch(ticks);
    watch.Start();
    ticks.now = 10000;
    ClockAnswers answers;
    answers.overAtTenSeconds = watch.GetElapsedSec() > GameWorker::kStageSeconds;
    ticks.now = 68350;
    game.worker.UpdateStatus(watch.GetElapsedSec());
    answers.statusAt68350 = game.board.GetStatusText().GetString();
    return answers;
}

} // namespace

TEST(GameLoop, TheStageClockGivesTheSameAnswersOnEveryThread)
{
    // Every build and every thread of it must compute these alike: the
    // main thread, a thread of the C++ library and one of AfxBeginThread
    // (which the game's threads are) may start with different floating-point
    // settings.
    Game game;
    const std::string status68 = CString("Stage:1  Dunko：0/10 匹 Time:68.4").GetString();
    const auto check = [&](const char* where) {
        const ClockAnswers answers = ReadTheStageClock(game);
        EXPECT_FALSE(answers.overAtTenSeconds) << "10,000 ms are still in time, on the " << where;
        EXPECT_EQ(status68, answers.statusAt68350) << "on the " << where;
    };
    check("main thread");
    std::thread([&] { check("std::thread"); }).join();
    RunOnAfxThread([&] { check("AfxBeginThread thread"); });
}

TEST(GameLoop, SuspendedTimeCountsAndAStopEndsTheGameAtOnce)
{
    GameOn<Bannerless<GameWorker>> game;
    game.Start();
    RECT mole;
    ASSERT_TRUE(WaitUntil([&] { return CurrentMoleRect(game.board, &mole); }, 3000));
    Sleep(100);
    game.worker.Suspend();
    Sleep(1500);
    game.worker.Resume();
    // The stage clock ran on while suspended, and the mole's second is over.
    ASSERT_TRUE(WaitUntil([&] { return TimeOf(game.board.GetStatusText().GetString()) >= 1.5; }, 300));
    RECT next;
    ASSERT_TRUE(WaitUntil([&] { return CurrentMoleRect(game.board, &next) && !EqualRect(&next, &mole); }, 300));

    game.worker.RequestStop();
    ASSERT_TRUE(game.Ended(300));
    EXPECT_EQ(1, game.board.m_bRunning.load()); // clearing it is the window's business on a stop

    // The next game starts again at stage 1 with no hits.
    game.Start();
    EXPECT_TRUE(WaitUntil([&] { return kStatusFirst == game.board.GetStatusText().GetString(); }, 3000))
        << game.board.GetStatusText().GetString();
}

namespace {

// A game whose sound worker notes, as the game starts its thread, what the
// board shows and whether a repaint is asked for: a new thread takes a while
// to get going, and the hit's repaint should not wait behind it.
class SoundAfterCountGame : public GameWorker {
public:
    ~SoundAfterCountGame() override { StopAndWait(); }
    std::atomic<int> m_nHitsAtSound{-1};
    CString m_statusAtSound;
    std::atomic<int> m_nRepaintAskedAtSound{-1};

    // The checkpoint a queued click passes on its way to the hit clears
    // the repaints asked for so far, so only the hit's own can be pending
    // when the sound starts.
    void CheckPoint() override
    {
        GameWorker::CheckPoint();
        if (m_clickQueue.GetCount() != 0)
            ValidateRect(GetOwner()->m_hWnd, nullptr);
    }

protected:
    class Witness : public SoundWorker {
    public:
        explicit Witness(SoundAfterCountGame& game) : m_game(game) {}
        ~Witness() override { StopAndWait(); }

    protected:
        int Run() override { return 0; }
        CWinThread* BeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam) override
        {
            m_game.m_statusAtSound = m_game.m_pBoard->GetStatusText();
            RECT pending;
            m_game.m_nRepaintAskedAtSound.store(GetUpdateRect(m_game.GetOwner()->m_hWnd, &pending, FALSE) ? 1 : 0);
            // Last: the test reads the others once it sees this one.
            m_game.m_nHitsAtSound.store(m_game.m_pBoard->m_nHits.load());
            return SoundWorker::BeginThread(pfnThreadProc, pParam);
        }

    private:
        SoundAfterCountGame& m_game;
    };
    std::unique_ptr<SoundWorker> CreateSoundWorker() override { return std::make_unique<Witness>(*this); }
};

} // namespace

TEST(GameLoop, AHitIsCountedAndShownBeforeItsSoundStarts)
{
    GameOn<Bannerless<SoundAfterCountGame>> game;
    // Shown: a hidden window keeps no region waiting to be repainted.
    ShowWindow(game.owner.Hwnd(), SW_SHOWNOACTIVATE);
    game.Start();
    RECT mole;
    ASSERT_TRUE(WaitUntil([&] { return CurrentMoleRect(game.board, &mole); }, 3000));
    // The click is queued while the game is held at a checkpoint (it gets
    // there within the spawn's pause and one poll), so it passes that
    // checkpoint on its way to the hit.
    game.worker.Suspend();
    Sleep(300);
    game.worker.PushClick(new ClickEvent(Centre(mole).x, Centre(mole).y));
    game.worker.Resume();
    ASSERT_TRUE(WaitUntil([&] { return game.worker.m_nHitsAtSound.load() >= 0; }, 1000)) << "no sound started";
    EXPECT_EQ(1, game.worker.m_nHitsAtSound.load());
    EXPECT_EQ(1, game.worker.m_nRepaintAskedAtSound.load()) << "the hit's repaint was not asked for yet";
    const std::string status = game.worker.m_statusAtSound.GetString();
    EXPECT_NE(std::string::npos, status.find(CString("Dunko：1/10").GetString())) << status;
}

TEST(GameLoop, WaitingForAClickRepaintsOnlyWhenTheStatusLineChanges)
{
    // The time in the status line shows tenths, so about ten repaints a
    // second (plus one per new mole) show everything; a repaint on every
    // 20 ms poll would be fifty.
    PaintCounter window;
    Board board;
    board.SetPlayArea(kPlayArea);
    Bannerless<GameWorker> worker;
    worker.SetOwner(window.Wnd());
    worker.m_pBoard = &board;
    board.m_bRunning = 1;
    worker.Start();
    RECT mole;
    ASSERT_TRUE(WaitUntil([&] { return worker.GetMessage().IsEmpty() && CurrentMoleRect(board, &mole); }, 4000));
    TestWindow::PumpFor(200);
    PaintCounter::s_paints = 0;
    TestWindow::PumpFor(2000);
    const int paints = PaintCounter::s_paints;
    worker.RequestStop();
    worker.WaitForThread(2000);
    EXPECT_GE(paints, 10) << "the running clock must still show";
    EXPECT_LE(paints, 40) << "repainted on every poll";
}

namespace {

// Processor time the thread has used, in milliseconds.
double ThreadCpuMs(HANDLE thread)
{
    FILETIME created, exited, kernel, user;
    GetThreadTimes(thread, &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 1e4; };
    return ms(kernel) + ms(user);
}

} // namespace

// A game whose polls last a minute unless something wakes them.
class LongPollGame : public GameWorker {
public:
    ~LongPollGame() override { StopAndWait(); }

protected:
    DWORD PollMs() const override { return 60000; }
};

TEST(GameLoop, AClickEndsThePollAtOnceAndASlowSoundCostsNoProcessorTime)
{
    // A click wakes the poll it arrives in: with polls of a minute, each hit
    // is still counted at once (within a generous second), a stop too.
    GameOn<Bannerless<LongPollGame>> game;
    game.Start();
    for (int hit = 1; hit <= 3; ++hit) {
        RECT mole;
        ASSERT_TRUE(WaitUntil([&] { return CurrentMoleRect(game.board, &mole); }, 3000));
        // Past the 100 ms before the mole is shown: the game is in its poll.
        Sleep(150);
        game.worker.PushClick(new ClickEvent(Centre(mole).x, Centre(mole).y));
        ASSERT_TRUE(WaitUntil([&] { return game.board.m_nHits.load() == hit; }, 1000))
            << "hit " << hit << " waited for the poll to end";
    }
    game.worker.RequestStop();
    EXPECT_TRUE(game.Ended(1000)) << "the stop waited for the poll to end";

    // While the last hit's sound thread is still in its call, the game
    // thread sleeps (on that thread's handle for one poll, then in its
    // polls) instead of spinning.
    GameOn<Bannerless<SlowSoundGame>> slow;
    Board& board = slow.board;
    SlowSoundGame& worker = slow.worker;
    slow.Start();
    for (int hit = 1; hit <= 2; ++hit) {
        RECT mole;
        ASSERT_TRUE(WaitUntil([&] { return CurrentMoleRect(board, &mole); }, 3000));
        worker.PushClick(new ClickEvent(Centre(mole).x, Centre(mole).y));
        ASSERT_TRUE(WaitUntil([&] { return worker.m_clickQueue.GetCount() == 0; }, 500));
    }
    Sleep(100);
    const double before = ThreadCpuMs(worker.GetThreadHandle());
    Sleep(1000);
    const double used = ThreadCpuMs(worker.GetThreadHandle()) - before;
    worker.RequestStop();
    EXPECT_LT(used, 100.0) << "ms of processor time in a second of waiting for the sound";
}

TEST(GameLoop, AStopDuringABannerOrTheSpawnPauseEndsTheThreadAtOnce)
{
    const std::vector<RECT> spots = PredictMoleSpots(1);
    Game game;
    game.Start();
    ASSERT_TRUE(WaitUntil([&] { return game.worker.GetMessage() == "ステージ1"; }, 1000));
    // A click the stopped game must not take: it lies where the first mole
    // would come.
    const POINT first = Centre(spots[0]);
    game.worker.PushClick(new ClickEvent(first.x, first.y));
    game.worker.RequestStop();
    EXPECT_TRUE(game.Ended(300)) << "the banner's two seconds ran on after the stop";
    EXPECT_EQ(0, game.board.m_nHits.load());
    EXPECT_EQ(1, game.worker.m_clickQueue.GetCount()) << "the stopped game took the click";
}
