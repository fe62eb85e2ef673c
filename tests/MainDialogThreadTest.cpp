#include <gtest/gtest.h>

#include <chrono>

#include "MainDialogProbe.h"
#include "framework/CSingleLock.h"
#include "ModalScript.h"
#include "WaitUntil.h"
#include "UiPump.h"

namespace {

bool ShowsMessage(MainDialogProbe& dialog, const char* text)
{
    return dialog.GetWorker().GetMessage() == text;
}

// Keeps the game thread from ending: after its mole's second it waits to
// place the next one on the mole list, which this thread holds (the
// dialog's own painting still takes it: the section is this thread's).
void HoldGameThread(MainDialogProbe& dialog, UiPump& pump, CSingleLock& hold)
{
    ASSERT_TRUE(pump.Until([&] { return dialog.GetBoard().MoleCount() > 0; }, 3000));
    hold.Lock();
    pump.For(1300);
}

// From the moment the previous game's thread is known to be on its way out
// (held until the releases are made): a release on the start area shows
// the running view at once and starts exactly one new game as soon as that
// thread has gone, without ever holding up the dialog's thread.
void ExpectStartWaitsForTheOldThread(MainDialogProbe& dialog, UiPump& pump, CSingleLock& hold)
{
    ASSERT_TRUE(dialog.GetWorker().IsThreadAlive()) << "the old game's thread is still finishing";
    const int startsBefore = dialog.m_nStarted;
    pump.Timed([&] { dialog.Release(dialog.StartCentre()); });
    EXPECT_EQ(1, dialog.Running()) << "the view shows the game at once";
    // More releases while waiting are clicks, never another start.
    pump.Timed([&] { dialog.Release(dialog.StartCentre()); });
    pump.Timed([&] { dialog.Release(dialog.StartCentre()); });
    EXPECT_TRUE(dialog.IsStartPending());
    hold.Unlock();

    ASSERT_TRUE(pump.Until([&] { return dialog.m_nStarted > startsBefore; }, 3000)) << "the start was lost";
    EXPECT_EQ(1, dialog.Running());
    EXPECT_EQ(3, dialog.GetWorker().m_clickQueue.GetCount()) << "the stopped game took a release meant for the new one";
    EXPECT_EQ(0, dialog.GetBoard().MoleCount()) << "the new game shows the old game's mole";
    // The releases made meanwhile stay queued: the new game tests them
    // against the first mole it shows, as it does with clicks made during
    // an end text.
    EXPECT_TRUE(pump.Until([&] { return ShowsMessage(dialog, "ステージ1"); }, 1000)) << "a new game begins";
    pump.For(300);
    EXPECT_EQ(startsBefore + 1, dialog.m_nStarted) << "exactly one new game thread";
    EXPECT_LT(pump.m_longestMs, 100.0) << "the dialog's thread was held up";
}

} // namespace

TEST(dialog_GameThread, StartRightAfterAnAbortWaitsForTheAbortedGamesThread)
{
    MainDialogProbe dialog;
    ASSERT_TRUE(dialog.Open());
    UiPump pump;

    pump.Timed([&] { dialog.Release(dialog.StartCentre()); });
    ASSERT_TRUE(pump.Until([&] { return ShowsMessage(dialog, "ステージ1"); }, 2000));
    ASSERT_EQ(1, dialog.m_nStarted);

    // Stopped while it cannot reach its next step, the thread lives on.
    CSingleLock hold(dialog.GetBoard().m_moles.GetSection());
    HoldGameThread(dialog, pump, hold);
    dialog.m_nAbortAnswer = IDOK;
    pump.Timed([&] { dialog.PressKey(VK_ESCAPE); });
    ASSERT_EQ(0, dialog.Running());
    ExpectStartWaitsForTheOldThread(dialog, pump, hold);

    // A put-off start waits while the abort question is open, even when the
    // old thread goes meanwhile, and the abort drops it.
    HoldGameThread(dialog, pump, hold);
    pump.Timed([&] { dialog.PressKey(VK_ESCAPE); });
    pump.Timed([&] { dialog.Release(dialog.StartCentre()); });
    ASSERT_TRUE(dialog.IsStartPending());
    const int starts = dialog.m_nStarted;
    bool oldThreadGone = false;
    dialog.m_whileAsking = [&] {
        hold.Unlock();
        oldThreadGone = pump.Until([&] { return !dialog.GetWorker().IsThreadAlive(); }, 3000);
        pump.For(150);
    };
    dialog.PressKey(VK_ESCAPE);
    EXPECT_TRUE(oldThreadGone);
    EXPECT_EQ(starts, dialog.m_nStarted) << "no game started under the question";
    EXPECT_FALSE(dialog.IsStartPending());
    pump.For(150);
    EXPECT_EQ(starts, dialog.m_nStarted);
    EXPECT_EQ(0, dialog.Running());
}

TEST(dialog_GameThread, EscapeDuringTheEndTextThenStartBeginsANewGameOnceTheOldThreadHasGone)
{
    MainDialogProbe dialog;
    ASSERT_TRUE(dialog.Open());
    UiPump pump;

    // The first stage runs out without a single hit: its banner, ten
    // seconds of moles, then the end text.
    pump.Timed([&] { dialog.Release(dialog.StartCentre()); });
    ASSERT_TRUE(pump.Until([&] { return ShowsMessage(dialog, "Game Over!!"); }, 15000));

    // The stop ends the end text at once; the status word may be left
    // reading running with no thread behind it, and a start must still work.
    dialog.m_nAbortAnswer = IDOK;
    pump.Timed([&] { dialog.PressKey(VK_ESCAPE); });
    EXPECT_EQ(1, dialog.m_nAbortAsked) << "the end text still belongs to the game";
    EXPECT_EQ(0, dialog.Running());
    ASSERT_TRUE(pump.Until([&] { return !dialog.GetWorker().IsThreadAlive(); }, 200)) << "the stop was obeyed at once";
    pump.Timed([&] { dialog.Release(dialog.StartCentre()); });
    EXPECT_EQ(1, dialog.Running());
    ASSERT_TRUE(pump.Until([&] { return dialog.m_nStarted == 2; }, 1000)) << "the start was lost";
    EXPECT_TRUE(pump.Until([&] { return ShowsMessage(dialog, "ステージ1"); }, 1000)) << "a new game begins";
    EXPECT_LT(pump.m_longestMs, 100.0) << "the dialog's thread was held up";
}

TEST(dialog_GameThread, ClosingDuringAGameStopsItsThreadBeforeTheDialogIsGone)
{
    struct Case {
        const char* what;
        bool abortFirst;
        std::function<void(HWND, MainDialogProbe&)> close;
    };
    const Case cases[] = {
        {"IDOK", false,
         [](HWND hWnd, MainDialogProbe&) { SendMessageW(hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }},
        {"Enter", false, [](HWND hWnd, MainDialogProbe&) { PostMessageW(hWnd, WM_KEYDOWN, VK_RETURN, 1); }},
        // A stop is obeyed at once, so the aborted game's thread has mostly
        // gone by the time the exit area is clicked; the dialog must end
        // either way.
        {"exit area right after an abort", true,
         [](HWND hWnd, MainDialogProbe& dialog) {
             const POINT exit = dialog.ExitCentre();
             SendMessageW(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(exit.x, exit.y));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MainDialogProbe dialog;
        dialog.m_nAbortAnswer = IDOK;
        std::atomic<bool> gameRan{false};
        std::atomic<bool> running{false};
        INT_PTR result = 0;
        auto closed = std::chrono::steady_clock::now();
        {
            ModalScript script(dialog.m_hReady, [&](HWND hWnd) {
                const POINT start = dialog.StartCentre();
                SendMessageW(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(start.x, start.y));
                gameRan = WaitUntil([&] { return dialog.Status() == WorkerThread::STATUS_RUNNING; }, 2000);
                if (c.abortFirst)
                    SendMessageW(hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                running = dialog.Status() != WorkerThread::STATUS_IDLE;
                closed = std::chrono::steady_clock::now();
                c.close(hWnd, dialog);
            });
            result = dialog.DoModal();
        }
        const double closingMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - closed).count();
        ASSERT_TRUE(gameRan);
        if (!c.abortFirst) {
            ASSERT_TRUE(running) << "the game thread was still there when the dialog was closed";
        }
        EXPECT_EQ(IDOK, result);
        EXPECT_FALSE(dialog.GetWorker().IsThreadAlive()) << "the game thread outlived the dialog's window";
        EXPECT_LT(closingMs, 3000.0);
    }
}
