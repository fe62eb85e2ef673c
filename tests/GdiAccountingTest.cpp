// Every GDI object and device context the game makes while painting both
// views many times, playing a game in the real dialog and showing the About
// box is given back: the counts end where they started.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <string>

#include "BoxAnswerer.h"
#include "DibCanvas.h"
#include "GameLayout.h"
#include "GdiProbe.h"
#include "MainDialogProbe.h"
#include "MoleScene.h"
#include "SoakGdi.h"
#include "UiPump.h"
#include "framework/CSingleLock.h"
#include "game/BoardColours.h"
#include "resource.h"

namespace {

constexpr int kFrames = 10000;
// Moles hit before the first stage is left to run out.
constexpr int kHits = 3;

// The title view, with the pointer over the start area, the exit area and
// neither in turn.
void PaintTitleView(Board& board, CDC* pDC, int frames)
{
    const POINT spots[] = {Centre(kStart), Centre(kExit), POINT{5, 5}};
    board.m_bRunning.store(0);
    for (int i = 0; i < frames; ++i) {
        board.UpdateHover(spots[i % 3]);
        board.Draw(pDC, CString());
    }
    board.UpdateHover(POINT{5, 5});
}

// The running view: a mole that moves now and then, a status line and the
// banner texts, with and without a message band.
void PaintRunningView(Board& board, CDC* pDC, int frames)
{
    const char* const messages[] = {"ステージ1", "ファイナルステージ", "Game Over!!", "Perfect!!", ""};
    board.m_bRunning.store(1);
    board.SetStatusText("Stage:1  Dunko：3/10 匹 Time:4.2");
    for (int i = 0; i < frames; ++i) {
        if (i % 100 == 0)
            board.Spawn(1);
        board.Draw(pDC, messages[i % 5]);
    }
    board.RemoveAllMoles();
    board.m_bRunning.store(0);
}

bool Shows(MainDialogProbe& dialog, const char* text)
{
    return dialog.GetWorker().GetMessage() == text;
}

struct GameResult {
    bool started = false;
    int hits = 0;
    bool gameOver = false;
    bool backToTitle = false;
};

// One game in the dialog, as a player who hits a few moles of the first
// stage (each hit plays the sound on a thread of its own) and then lets the
// stage's time run out: the first banner, moles, the status line, the end
// text and the title view again all get painted.
GameResult PlayALostGame(MainDialogProbe& dialog, UiPump& pump)
{
    GameResult result;
    Board& board = dialog.GetBoard();
    pump.Timed([&] { dialog.Release(dialog.StartCentre()); });
    result.started = pump.Until([&] { return Shows(dialog, "ステージ1"); }, 3000);
    if (!result.started)
        return result;
    RECT clicked = {-1, -1, -1, -1};
    result.gameOver = pump.Until(
        [&] {
            result.hits = std::max(result.hits, board.m_nHits.load());
            if (Shows(dialog, "Game Over!!"))
                return true;
            RECT mole;
            if (result.hits < kHits && CurrentMoleRect(board, &mole) && !EqualRect(&mole, &clicked)) {
                clicked = mole;
                dialog.Release(Centre(mole));
            }
            return false;
        },
        20000);
    result.backToTitle = pump.Until(
        [&] { return dialog.Running() == 0 && !dialog.GetWorker().IsThreadAlive(); }, 5000);
    // Let the title view be painted.
    pump.For(300);
    return result;
}

bool OpenAndCloseTheAboutBox(MainDialogProbe& dialog)
{
    BoxAnswerer answerer(GetCurrentThreadId(), {dialog.Hwnd()}, IDOK);
    SendMessageW(dialog.Hwnd(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    answerer.Join();
    return answerer.m_bFound;
}

// One of everything: both views, the dialog painted, the About box.
void WarmUpRound()
{
    {
        DibCanvas canvas(kPlayArea.right, kPlayArea.bottom);
        Board board;
        LayOut(board);
        PaintTitleView(board, canvas.Dc(), 3);
        PaintRunningView(board, canvas.Dc(), 5);
    }
    MainDialogProbe dialog;
    if (!dialog.Open())
        return;
    UiPump pump;
    RECT pending;
    pump.Until([&] { return GetUpdateRect(dialog.Hwnd(), &pending, FALSE) == FALSE; }, 2000);
    pump.For(100);
    OpenAndCloseTheAboutBox(dialog);
    pump.For(100);
}

// The system keeps some objects after their first use (the icons' bitmaps,
// the dialogs' fonts) that are not the game's to give back, and how many
// depends on what got painted before what. So the warm-up is repeated
// until the system's count holds still; that count is returned.
long WarmUp()
{
    long previous = CountSystemGdiObjects();
    for (int round = 0; round < 5; ++round) {
        WarmUpRound();
        const long now = CountSystemGdiObjects();
        if (round > 0 && now == previous)
            break;
        previous = now;
    }
    return previous;
}

} // namespace

TEST(soak_Gdi, PaintingPlayingAndTheAboutBoxLeaveTheCountsWhereTheyWere)
{
    SKIP_UNLESS_GDI_DRAWS();
    const FrameworkGdi start = CountFrameworkGdi();
    const long systemStart = WarmUp();
    EXPECT_EQ(start, CountFrameworkGdi()) << "after the warm-up";
    std::cout << "framework at the start: " << Describe(start) << "; system: " << systemStart << " ("
              << SystemGdiSource() << ") " << DescribeSystemGdiByKind() << std::endl;

    {
        const FrameworkGdi before = CountFrameworkGdi();
        DibCanvas canvas(kPlayArea.right, kPlayArea.bottom);
        Board board;
        LayOut(board);
        PaintTitleView(board, canvas.Dc(), kFrames);
        EXPECT_EQ(BoardColours::kShadow, canvas.Pixel(2, kPlayArea.bottom - 3)) << "the title view was painted";
        EXPECT_EQ(before, CountFrameworkGdi()) << "after " << kFrames << " title views";
        PaintRunningView(board, canvas.Dc(), kFrames);
        EXPECT_EQ(BoardColours::kField, canvas.Pixel(2, kPlayArea.bottom - 3)) << "the running view was painted";
        EXPECT_EQ(before, CountFrameworkGdi()) << "after " << kFrames << " running views";
    }
    EXPECT_EQ(start, CountFrameworkGdi()) << "the canvas is gone";

    {
        MainDialogProbe dialog;
        ASSERT_TRUE(dialog.Open());
        UiPump pump;
        pump.For(200);
        const long created = CGdiObject::CreatedCount();
        const GameResult game = PlayALostGame(dialog, pump);
        ASSERT_TRUE(game.started) << "the first banner never showed";
        EXPECT_EQ(kHits, game.hits) << "moles hit in the first stage";
        EXPECT_TRUE(game.gameOver) << "the end text never showed";
        ASSERT_TRUE(game.backToTitle) << "the game's thread did not end";
        EXPECT_GT(CGdiObject::CreatedCount(), created) << "the dialog painted the game";
        // The dialog keeps one picture to paint into while it lives.
        EXPECT_TRUE(dialog.BackBufferHeld());
        EXPECT_EQ(WithBackBuffer(start, true), CountFrameworkGdi()) << "after the game";

        EXPECT_TRUE(OpenAndCloseTheAboutBox(dialog)) << "the About box opened";
        pump.For(100);
        EXPECT_EQ(WithBackBuffer(start, true), CountFrameworkGdi()) << "after the About box";
    }
    EXPECT_EQ(0, WorkerThread::RunningThreads());
    EXPECT_EQ(start, CountFrameworkGdi()) << "at the end";

    const long systemEnd = CountSystemGdiObjects();
    std::cout << "system at the end: " << systemEnd << " " << DescribeSystemGdiByKind() << std::endl;
    if (systemStart > 0) {
        EXPECT_EQ(systemStart, systemEnd) << "GDI objects of the process, counted by the system";
    }
}
