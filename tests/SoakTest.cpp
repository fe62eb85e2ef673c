// The real main dialog, run modally as the program runs it, under random
// posted input for a while (30 s; DUNKO_SOAK_SECONDS asks for longer, and
// DUNKO_SOAK_SEED for another sequence). A release on the exit area may end
// the dialog early; then a new one is opened, so the dialog's end is tried
// in whatever state the game happens to be in. When the time is up the
// open boxes are closed and the OK command ends the last dialog.
#include <gtest/gtest.h>

#include <array>
#include <iostream>
#include <sstream>
#include <thread>

#include "SoakDriver.h"
#include "WaitUntil.h"

namespace {

struct FoundBoxes {
    int count = 0;
};

BOOL CALLBACK CountBox(HWND hWnd, LPARAM lParam)
{
    wchar_t className[16] = {};
    GetClassNameW(hWnd, className, 16);
    if (wcscmp(className, L"#32770") == 0)
        ++reinterpret_cast<FoundBoxes*>(lParam)->count;
    return TRUE;
}

// Dialog windows of this thread, visible or not.
int DialogWindowsOfThisThread()
{
    FoundBoxes found;
    EnumThreadWindows(GetCurrentThreadId(), &CountBox, reinterpret_cast<LPARAM>(&found));
    return found.count;
}

struct GameTotals {
    int started = 0;
    int ended = 0;
    std::array<int, 5> outcomes = {}; // by SoakDialog::Outcome
    int furthestStage = 0;
    int hits = 0;
    int overlaps = 0;
    int questions = 0;
    int answeredOk = 0;
    int answeredCancel = 0;
    int aboutCommands = 0;

    void Add(const SoakDialog& dialog)
    {
        for (const SoakDialog::Game& game : dialog.Games()) {
            ++started;
            if (WaitForSingleObject(game.thread, 0) == WAIT_OBJECT_0)
                ++ended;
            ++outcomes[static_cast<int>(game.outcome)];
            furthestStage = std::max(furthestStage, game.stage);
            hits += game.hits;
        }
        overlaps += dialog.Overlaps();
        questions += dialog.m_nAbortAsked;
        answeredOk += dialog.AnsweredOk();
        answeredCancel += dialog.AnsweredCancel();
        aboutCommands += dialog.AboutCommands();
    }

    std::string Text() const
    {
        using O = SoakDialog::Outcome;
        std::ostringstream out;
        out << "games started " << started << ", ended " << ended << ": won " << outcomes[int(O::Won)] << ", lost "
            << outcomes[int(O::Lost)] << ", aborted " << outcomes[int(O::Aborted)] << ", closed mid-game "
            << outcomes[int(O::Closed)] << ", other " << outcomes[int(O::None)] << "; furthest stage "
            << furthestStage << ", moles hit " << hits << "; abort questions asked " << questions << " (OK "
            << answeredOk << ", Cancel " << answeredCancel << "); About commands that opened a box " << aboutCommands;
        return out.str();
    }
};

// The game's thread is gone when the dialog is (checked on its handle);
// the sound threads it left end once their call to the sound system
// returns, which the game does not wait for.
bool SoundThreadsEnd() { return WaitUntil([] { return WorkerThread::RunningThreads() == 0; }, 2000); }

} // namespace

TEST(soak_MainDialog, SoakWithRandomPostedInput)
{
    const SoakSettings settings = ReadSoakSettings();
    std::cout << "seed " << settings.seed << (settings.seedFromEnvironment ? " (DUNKO_SOAK_SEED)" : " (default)")
              << ", " << settings.seconds << " s"
              << (settings.secondsFromEnvironment ? " (DUNKO_SOAK_SECONDS)" : " (default)") << std::endl;

    ASSERT_EQ(0, WorkerThread::RunningThreads());
    const FrameworkGdi baseline = CountFrameworkGdi();
    SoakFailures failures;
    SoakDriver driver(settings, failures);
    GameTotals totals;
    long monitorChecks = 0;
    int maxMoles = 0;
    int sessions = 0;

    do {
        ++sessions;
        const double openedAt = driver.ElapsedSeconds();
        SoakDialog dialog;
        INT_PTR result = 0;
        {
            SoakMonitor monitor(dialog, failures);
            std::thread driving([&] { driver.RunSession(dialog, baseline); });
            result = dialog.DoModal();
            driving.join();
            monitorChecks += monitor.Checks();
            maxMoles = std::max(maxMoles, monitor.MaxMoles());
        }
        SCOPED_TRACE("dialog " + std::to_string(sessions));
        // The dialog has closed: nothing of it may be left running or held.
        EXPECT_EQ(IDOK, result);
        EXPECT_TRUE(SoundThreadsEnd()) << "worker threads still running: " << WorkerThread::RunningThreads();
        EXPECT_FALSE(dialog.GetWorker().IsThreadAlive());
        EXPECT_EQ(0, dialog.AliveGames()) << "every game thread has ended";
        EXPECT_EQ(0, dialog.Overlaps()) << "game threads started while another was alive";
        EXPECT_EQ(baseline, CountFrameworkGdi());
        EXPECT_EQ(0, DialogWindowsOfThisThread()) << "a box outlived the dialog";
        totals.Add(dialog);
        std::cout << "dialog " << sessions << ": " << static_cast<int>(driver.ElapsedSeconds() - openedAt)
                  << " s, " << dialog.Games().size() << " games; system GDI objects " << CountSystemGdiObjects()
                  << " (" << DescribeSystemGdiByKind() << ")" << std::endl;
    } while (!driver.TimeUp());

    std::cout << "ran " << static_cast<int>(driver.ElapsedSeconds()) << " s in " << sessions << " dialogs\n"
              << driver.Report() << "\n"
              << totals.Text() << "\n"
              << "monitor checks " << monitorChecks << " (most moles " << maxMoles << ")" << std::endl;

    EXPECT_EQ(totals.started, totals.ended);
    // Every question the dialog asked was a box the driver found and
    // answered, and every About command showed a box.
    EXPECT_EQ(totals.questions, driver.AbortBoxesSeen());
    EXPECT_EQ(totals.questions, totals.answeredOk + totals.answeredCancel);
    EXPECT_EQ(totals.aboutCommands, driver.AboutBoxesSeen());
    EXPECT_TRUE(SoundThreadsEnd()) << "worker threads still running: " << WorkerThread::RunningThreads();
    EXPECT_EQ(baseline, CountFrameworkGdi());
    EXPECT_GT(totals.started, 0) << "no game was ever started";
    EXPECT_GT(monitorChecks, 0);

    EXPECT_EQ(0, failures.Count()) << "broken invariants, by kind:" << failures.Summary();
}
