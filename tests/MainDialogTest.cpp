#include <gtest/gtest.h>

#include <iostream>
#include <new>
#include <string>
#include <thread>

#include "BoxAnswerer.h"
#include "GdiProbe.h"
#include "MainDialogProbe.h"
#include "OpenMainDialog.h"
#include "MoleScene.h"
#include "UiPump.h"
#include "app/ControlRect.h"
#include "framework/WindowDpi.h"
#include "util/DpiScale.h"
#include "resource.h"

namespace {

std::string Show(const RECT& rect)
{
    return "(" + std::to_string(rect.left) + "," + std::to_string(rect.top) + ")-(" + std::to_string(rect.right) +
           "," + std::to_string(rect.bottom) + ")";
}

// The face the dialog's font really got and the dialog base units it gives.
std::string FontReport(HWND hWnd)
{
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(hWnd, WM_GETFONT, 0, 0));
    const HDC dc = GetDC(hWnd);
    const HGDIOBJ old = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(hWnd, dc);
    RECT base = {0, 0, 4, 8};
    MapDialogRect(hWnd, &base);
    std::string ascii;
    for (const wchar_t* c = face; *c != 0; ++c)
        ascii += *c < 128 ? static_cast<char>(*c) : '?';
    return ascii + ", height " + std::to_string(metrics.tmHeight) + ", base units " + std::to_string(base.right) +
           "x" + std::to_string(base.bottom);
}

RECT DialogUnits(HWND hWnd, RECT units)
{
    MapDialogRect(hWnd, &units);
    return units;
}

// A real left click at a screen point, through the system's input queue.
void ClickAt(POINT screen)
{
    SetCursorPos(screen.x, screen.y);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
}

// Waits until the game thread has started and taken the running status.
bool WaitUntilRunning(UiPump& pump, MainDialogProbe& dialog)
{
    return pump.Until([&] { return dialog.Status() == WorkerThread::STATUS_RUNNING; }, 2000);
}

// Ends a game quickly: its thread stops at its next checkpoint.
void StopGame(UiPump& pump, MainDialogProbe& dialog)
{
    dialog.GetWorker().RequestStop();
    pump.Until([&] { return !dialog.GetWorker().IsThreadAlive(); }, 3000);
}

// Every test here starts with the main dialog open.
using dialog_MainDialog = OpenMainDialog;

} // namespace

TEST_F(dialog_MainDialog, ClientAreaAndTheAreasTakenFromTheHiddenControls)
{
    const HWND hWnd = dialog.Hwnd();
    RECT client;
    GetClientRect(hWnd, &client);
    const Board& board = dialog.GetBoard();
    std::cout << "client " << Show(client) << "  play area " << Show(board.m_rcPlayArea) << "  title "
              << Show(board.m_rcTitle) << "  start " << Show(board.m_rcStart) << "  exit " << Show(board.m_rcExit)
              << "  dialog font " << FontReport(hWnd) << std::endl;

    const RECT whole = DialogUnits(hWnd, RECT{0, 0, 319, 297});
    EXPECT_TRUE(EqualRect(&whole, &client)) << Show(client);
    EXPECT_TRUE(EqualRect(&client, &board.m_rcPlayArea)) << "the play field covers the client area";
    const RECT title = DialogUnits(hWnd, RECT{46, 33, 282, 81});
    const RECT start = DialogUnits(hWnd, RECT{118, 144, 209, 176});
    const RECT exit = DialogUnits(hWnd, RECT{118, 199, 209, 231});
    EXPECT_TRUE(EqualRect(&title, &board.m_rcTitle)) << Show(board.m_rcTitle);
    EXPECT_TRUE(EqualRect(&start, &board.m_rcStart)) << Show(board.m_rcStart);
    EXPECT_TRUE(EqualRect(&exit, &board.m_rcExit)) << Show(board.m_rcExit);
    EXPECT_STREQ("ぬらぽん", board.m_strTitle.GetString());

    for (int id : {IDC_TITLE, IDC_START, IDC_EXIT, IDC_PLAYFIELD}) {
        const HWND control = GetDlgItem(hWnd, id);
        ASSERT_NE(nullptr, control) << id;
        EXPECT_FALSE(IsWindowVisible(control)) << "control " << id << " only marks out an area";
    }
    const RECT none = GetControlRect(dialog, 4242);
    EXPECT_TRUE(IsRectEmpty(&none) && none.left == 0 && none.top == 0) << "no such control: " << Show(none);
}

TEST_F(dialog_MainDialog, MovedToAScreenOfAnotherScalingTheWindowAndTheBoardScaleAndTheGameGoesOn)
{
    // Wine sends no WM_DPICHANGED: the test sends what Windows would, the
    // size it suggests being the one the window gives when asked. The game
    // is held meanwhile, so that its mole stays up.
    UiPump pump;
    const HWND hWnd = dialog.Hwnd();
    Board& board = dialog.GetBoard();
    RECT client96;
    GetClientRect(hWnd, &client96);
    const RECT areas96[] = {board.m_rcPlayArea, board.m_rcTitle, board.m_rcStart, board.m_rcExit};
    dialog.Release(dialog.StartCentre());
    RECT mole96;
    ASSERT_TRUE(pump.Until([&] { return CurrentMoleRect(board, &mole96); }, 4000)) << "no mole came up";
    dialog.GetWorker().Suspend();
    ASSERT_TRUE(CurrentMoleRect(board, &mole96));

    SIZE size = {};
    ASSERT_TRUE(SendMessageW(hWnd, WM_GETDPISCALEDSIZE, 144, reinterpret_cast<LPARAM>(&size)));
    RECT suggested;
    GetWindowRect(hWnd, &suggested);
    suggested.right = suggested.left + size.cx;
    suggested.bottom = suggested.top + size.cy;
    SendMessageW(hWnd, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));

    const DpiScale scale(144);
    RECT client;
    GetClientRect(hWnd, &client);
    EXPECT_EQ(RectText(scale.Scale(client96)), RectText(client)) << "the client area";
    const RECT areas[] = {board.m_rcPlayArea, board.m_rcTitle, board.m_rcStart, board.m_rcExit};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(RectText(scale.Scale(areas96[i])), RectText(areas[i])) << "area " << i;
    RECT mole;
    ASSERT_TRUE(CurrentMoleRect(board, &mole));
    EXPECT_EQ(RectText(scale.Scale(mole96)), RectText(mole)) << "the mole, in the field's terms where it was";
    // A click on the mole as it is drawn now hits it.
    dialog.Release(POINT{mole.right - 2, mole.bottom - 2});
    dialog.GetWorker().Resume();
    EXPECT_TRUE(pump.Until([&] { return board.m_nHits.load() == 1; }, 1000)) << "hits " << board.m_nHits.load();
    StopGame(pump, dialog);
}

TEST_F(dialog_MainDialog, TheWindowIsCaptionedInTheTaskbarWithoutMinimiseOrMaximiseBoxes)
{
    wchar_t caption[64] = {};
    GetWindowTextW(dialog.Hwnd(), caption, 64);
    EXPECT_EQ(std::wstring(L"Dunko叩き"), caption);
    const LONG style = GetWindowLongW(dialog.Hwnd(), GWL_STYLE);
    EXPECT_EQ(WS_CAPTION | WS_SYSMENU, style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME))
        << std::hex << "style 0x" << style;
    EXPECT_NE(0, GetWindowLongW(dialog.Hwnd(), GWL_EXSTYLE) & WS_EX_APPWINDOW) << "shown in the taskbar";
}

TEST_F(dialog_MainDialog, SystemMenuEndsWithTheAboutItemWhichOpensTheVersionBox)
{
    const HMENU menu = GetSystemMenu(dialog.Hwnd(), FALSE);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    EXPECT_EQ(static_cast<UINT>(IDM_ABOUTBOX), GetMenuItemID(menu, count - 1));
    wchar_t text[64] = {};
    GetMenuStringW(menu, count - 1, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(L"Dunko のﾊﾞｰｼﾞｮﾝ情報(&A)...", text);
    EXPECT_TRUE(GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR);

    // The low four bits of a system command are the system's own. While the
    // box is open it holds the main window: a real click on the start area
    // starts nothing, and another About command opens no second box.
    bool mainDisabled = false;
    bool gameStarted = false;
    size_t dialogsAfterSecondCommand = 0;
    BoxAnswerer answerer(GetCurrentThreadId(), {dialog.Hwnd()}, IDOK, [&](HWND box) {
        mainDisabled = !IsWindowEnabled(dialog.Hwnd());
        POINT start = dialog.StartCentre();
        ClientToScreen(dialog.Hwnd(), &start);
        ClickAt(start);
        PostMessageW(dialog.Hwnd(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        Sleep(300);
        gameStarted = dialog.GetWorker().IsThreadAlive() || dialog.Running() != 0;
        const std::vector<HWND> open = ThreadDialogs(GetWindowThreadProcessId(dialog.Hwnd(), nullptr));
        dialogsAfterSecondCommand = open.size();
        for (HWND extra : open)
            if (extra != box && extra != dialog.Hwnd())
                PostMessageW(extra, WM_COMMAND, IDOK, 0);
    });
    SendMessageW(dialog.Hwnd(), WM_SYSCOMMAND, IDM_ABOUTBOX | 0x3, 0);
    answerer.Join();
    ASSERT_TRUE(answerer.m_bFound) << "the About box opened";
    EXPECT_EQ(L"Dunkoのﾊﾞｰｼﾞｮﾝ情報", answerer.m_caption);
    EXPECT_EQ(dialog.Hwnd(), answerer.m_hOwner) << "the main window owns it";
    EXPECT_TRUE(mainDisabled) << "the main window is disabled while the box is open";
    EXPECT_FALSE(gameStarted) << "a click on the start area behind the box started a game";
    EXPECT_EQ(2u, dialogsAfterSecondCommand) << "the main dialog and one box";
    EXPECT_TRUE(IsWindowEnabled(dialog.Hwnd())) << "enabled again once the box is closed";
    // The first child is the icon, whose text is no text.
    ASSERT_EQ(4u, answerer.m_texts.size());
    const std::vector<std::wstring> texts(answerer.m_texts.begin() + 1, answerer.m_texts.end());
    const std::vector<std::wstring> expected = {L"Dunko Version 1.0", L"もぐらたたきゲーム", L"OK"};
    EXPECT_EQ(expected, texts);
    UiPump().For(100); // a second box, if one was opened, would show here
    EXPECT_EQ(1u, ThreadDialogs(GetCurrentThreadId()).size());
    EXPECT_EQ(-1, dialog.m_nModalResult) << "the main dialog stays";
}

TEST_F(dialog_MainDialog, IconsAreTheApplicationIcon)
{
    SKIP_UNLESS_GDI_DRAWS();
    const HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_NE(nullptr, icon);
    EXPECT_EQ(reinterpret_cast<LRESULT>(icon), SendMessageW(dialog.Hwnd(), WM_GETICON, ICON_BIG, 0));
    EXPECT_EQ(reinterpret_cast<LRESULT>(icon), SendMessageW(dialog.Hwnd(), WM_GETICON, ICON_SMALL, 0));
    EXPECT_EQ(reinterpret_cast<LRESULT>(icon), SendMessageW(dialog.Hwnd(), WM_QUERYDRAGICON, 0, 0));
}

TEST_F(dialog_MainDialog, ReleasesQueueClicksOnlyWhileTheWorkerIsNotIdle)
{
    struct Case {
        int status;
        int running;
        int queued;
    };
    const Case cases[] = {
        {WorkerThread::STATUS_IDLE, 0, 0},      {WorkerThread::STATUS_IDLE, 1, 0},
        {WorkerThread::STATUS_RUNNING, 1, 1},   {WorkerThread::STATUS_RUNNING, 0, 1},
        {WorkerThread::STATUS_SUSPENDED, 1, 1}, {WorkerThread::STATUS_SUSPENDED, 0, 1},
    };
    for (const Case& c : cases) {
        dialog.GetWorker().SetStatus(c.status);
        dialog.GetBoard().m_bRunning.store(c.running);
        const POINT point = dialog.QuietPoint();
        dialog.Release(point);
        const int count = dialog.GetWorker().m_clickQueue.GetCount();
        EXPECT_EQ(c.queued, count) << "status " << c.status << ", running " << c.running;
        if (count == 1) {
            ClickEvent* click = dialog.GetWorker().m_clickQueue.RemoveHead();
            EXPECT_EQ(point.x, click->m_nX);
            EXPECT_EQ(point.y, click->m_nY);
            delete click;
        }
        EXPECT_FALSE(dialog.GetWorker().IsThreadAlive()) << "a quiet spot starts nothing";
    }
    dialog.GetWorker().SetIdle();
}

TEST_F(dialog_MainDialog, TheStartAreaStartsAGameOnlyWhenNoneRuns)
{
    UiPump pump;

    // The view shows a game already: the start area is just a spot on the field.
    dialog.GetBoard().m_bRunning.store(1);
    dialog.Release(dialog.StartCentre());
    EXPECT_FALSE(dialog.GetWorker().IsThreadAlive());
    EXPECT_FALSE(dialog.IsStartPending());

    dialog.GetBoard().m_bRunning.store(0);
    dialog.TakeInvalidation();
    dialog.Release(dialog.StartCentre());
    EXPECT_EQ(1, dialog.Running());
    EXPECT_TRUE(dialog.TakeInvalidation()) << "the running view is asked for";
    EXPECT_TRUE(dialog.GetWorker().IsThreadAlive());
    ASSERT_TRUE(WaitUntilRunning(pump, dialog));
    EXPECT_TRUE(pump.Until([&] { return dialog.GetWorker().GetMessage() == "ステージ1"; }, 1000))
        << "the first banner";

    // During the game the same release is a click for the game loop.
    dialog.Release(dialog.StartCentre());
    EXPECT_EQ(1, dialog.GetWorker().m_clickQueue.GetCount());
    EXPECT_FALSE(dialog.IsStartPending());
    StopGame(pump, dialog);
}

TEST_F(dialog_MainDialog, AStartThatFailsLeavesTheTitleScreen)
{
    dialog.m_bFailStart = true;
    dialog.Release(dialog.StartCentre());
    EXPECT_EQ(0, dialog.Running()) << "no game thread, so no game view";
    EXPECT_FALSE(dialog.GetWorker().IsThreadAlive());
    dialog.Release(dialog.ExitCentre());
    EXPECT_EQ(IDOK, dialog.m_nModalResult) << "the exit area works as on the title screen";
}

TEST_F(dialog_MainDialog, ARepaintAskedForWhileTheViewIsDrawnIsNotLost)
{
    UiPump pump;
    pump.For(100);
    // The game thread asks for a repaint while the window paints.
    dialog.m_whilePainting = [&] {
        dialog.m_whilePainting = nullptr;
        std::thread([&] { InvalidateRect(dialog.Hwnd(), nullptr, FALSE); }).join();
    };
    const int before = dialog.m_nPaints;
    InvalidateRect(dialog.Hwnd(), nullptr, FALSE);
    EXPECT_TRUE(pump.Until([&] { return dialog.m_nPaints >= before + 2; }, 500)) << "the second repaint was lost";
}

TEST_F(dialog_MainDialog, ADisplayChangeDropsThePictureKeptForPaintingUntilTheNextPaint)
{
    SKIP_UNLESS_GDI_DRAWS();
    UiPump pump;
    ASSERT_TRUE(pump.Until([&] { return dialog.m_nPaints > 0; }, 1000));
    EXPECT_TRUE(dialog.BackBufferHeld());
    // The kept bitmap is in the old screen format after a change of mode.
    SendMessageW(dialog.Hwnd(), WM_DISPLAYCHANGE, 16, MAKELPARAM(800, 600));
    EXPECT_FALSE(dialog.BackBufferHeld());
    const int before = dialog.m_nPaints;
    InvalidateRect(dialog.Hwnd(), nullptr, FALSE);
    ASSERT_TRUE(pump.Until([&] { return dialog.m_nPaints > before; }, 1000));
    EXPECT_TRUE(dialog.BackBufferHeld());
}

TEST_F(dialog_MainDialog, TheExitAreaClosesOnlyOnTheTitleScreen)
{
    dialog.GetBoard().m_bRunning.store(1);
    dialog.Release(dialog.ExitCentre());
    EXPECT_EQ(-1, dialog.m_nModalResult) << "during a game";

    dialog.GetBoard().m_bRunning.store(0);
    dialog.Release(dialog.QuietPoint());
    EXPECT_EQ(-1, dialog.m_nModalResult) << "outside the exit area";
    dialog.Release(dialog.ExitCentre());
    EXPECT_EQ(IDOK, dialog.m_nModalResult) << "on the title screen";
}

TEST_F(dialog_MainDialog, EscapeAndTheCloseBoxDoNothingOnTheTitleScreen)
{
    UiPump pump;
    dialog.TakeInvalidation();

    dialog.PressKey(VK_ESCAPE);
    dialog.Command(IDCANCEL);
    SendMessageW(dialog.Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    SendMessageW(dialog.Hwnd(), WM_CLOSE, 0, 0);
    pump.For(100); // the close box's IDCANCEL may come posted

    EXPECT_EQ(0, dialog.m_nAbortAsked);
    EXPECT_EQ(-1, dialog.m_nModalResult);
    EXPECT_TRUE(IsWindowVisible(dialog.Hwnd()));
    EXPECT_FALSE(dialog.TakeInvalidation());
    EXPECT_EQ(WorkerThread::STATUS_IDLE, dialog.Status());
}

TEST_F(dialog_MainDialog, EscapeDuringAGameAsksWithTheGameSuspended)
{
    UiPump pump;
    dialog.Release(dialog.StartCentre());
    ASSERT_TRUE(WaitUntilRunning(pump, dialog));

    // A close that reaches the dialog while the question is open (the
    // question's own loop dispatches it as a cancel) asks nothing more.
    dialog.m_nAbortAnswer = IDCANCEL;
    dialog.m_whileAsking = [&] {
        SendMessageW(dialog.Hwnd(), WM_CLOSE, 0, 0);
        dialog.Command(IDCANCEL);
        pump.For(50);
    };
    dialog.PressKey(VK_ESCAPE);
    dialog.m_whileAsking = nullptr;
    EXPECT_EQ(1, dialog.m_nAbortAsked);
    EXPECT_EQ(WorkerThread::STATUS_SUSPENDED, dialog.m_nStatusWhenAsked);
    EXPECT_EQ(1, dialog.Running()) << "Cancel: the game goes on";
    EXPECT_EQ(WorkerThread::STATUS_RUNNING, dialog.Status());
    EXPECT_EQ(-1, dialog.m_nModalResult);

    dialog.m_nAbortAnswer = IDOK;
    dialog.TakeInvalidation();
    SendMessageW(dialog.Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); // the close box asks the same
    EXPECT_TRUE(pump.Until([&] { return dialog.m_nAbortAsked == 2; }, 500));
    EXPECT_EQ(0, dialog.Running()) << "OK: back to the title";
    EXPECT_TRUE(dialog.TakeInvalidation());
    EXPECT_EQ(-1, dialog.m_nModalResult) << "the dialog stays";
    EXPECT_TRUE(pump.Until([&] { return !dialog.GetWorker().IsThreadAlive(); }, 3000))
        << "the game thread stops at its next checkpoint";
}

TEST_F(dialog_MainDialog, AClickWhileTheQuestionIsOpenCountsAfterCancelAndNotAfterOK)
{
    UiPump pump;
    dialog.Release(dialog.StartCentre());
    Board& board = dialog.GetBoard();
    ASSERT_TRUE(pump.Until([&] { return board.MoleCount() > 0 && dialog.GetWorker().GetMessage().IsEmpty(); }, 4000));
    // While the question is open: once the game has parked at its checkpoint
    // (within a spawn pause and a poll), a release on the mole it shows.
    RECT mole = {};
    dialog.m_whileAsking = [&] {
        pump.For(200);
        ASSERT_TRUE(CurrentMoleRect(board, &mole));
        dialog.Release(Centre(mole));
    };
    struct Case { int answer; int hits; int running; };
    for (const Case& c : {Case{IDCANCEL, 1, 1}, {IDOK, 1, 0}}) {
        dialog.m_nAbortAnswer = c.answer;
        dialog.PressKey(VK_ESCAPE);
        const char* answer = c.answer == IDOK ? "OK" : "Cancel";
        pump.For(300);
        EXPECT_EQ(c.hits, board.m_nHits.load()) << "hits after a click in the question answered " << answer;
        EXPECT_EQ(c.running, dialog.Running()) << "after " << answer;
    }
    ASSERT_TRUE(pump.Until([&] { return !dialog.GetWorker().IsThreadAlive(); }, 3000));
    EXPECT_EQ(1, dialog.GetWorker().m_clickQueue.GetCount()) << "the click the stopped game left, kept for the next";
    dialog.Release(Centre(mole));
    EXPECT_EQ(1, dialog.GetWorker().m_clickQueue.GetCount()) << "a release after the game's thread has gone is queued";
    EXPECT_EQ(1, board.m_nHits.load());
}

TEST_F(dialog_MainDialog, AQuestionThatThrowsLeavesTheGameGoingAndTheNextEscapeAsksAgain)
{
    UiPump pump;
    dialog.Release(dialog.StartCentre());
    ASSERT_TRUE(WaitUntilRunning(pump, dialog));

    // The question fails once, as a failed allocation for its text would.
    bool thrown = false;
    dialog.m_whileAsking = [&] {
        if (!thrown) {
            thrown = true;
            throw std::bad_alloc();
        }
    };
    dialog.PressKey(VK_ESCAPE);
    ASSERT_TRUE(thrown);
    EXPECT_EQ(WorkerThread::STATUS_RUNNING, dialog.Status()) << "the game is not left suspended";
    // Held at a checkpoint, the game would show the stage's first tenths
    // for good: its status line is written between checkpoints.
    EXPECT_TRUE(pump.Until(
        [&] { return std::string(dialog.GetBoard().GetStatusText().GetString()).find("Time:1.") != std::string::npos; },
        4000))
        << "the game goes on";

    dialog.m_nAbortAnswer = IDOK;
    dialog.PressKey(VK_ESCAPE);
    EXPECT_EQ(2, dialog.m_nAbortAsked) << "the next Escape asks again";
    EXPECT_EQ(0, dialog.Running()) << "and OK stops the game";
    EXPECT_TRUE(pump.Until([&] { return !dialog.GetWorker().IsThreadAlive(); }, 3000));
}

TEST_F(dialog_MainDialog, TheAbortQuestionIsAMessageBoxOwnedByTheDialog)
{
    dialog.m_bRealAbortBox = true;
    dialog.GetBoard().m_bRunning.store(1);

    struct Case {
        int button;
        int runningAfter;
    };
    for (const Case c : {Case{IDCANCEL, 1}, Case{IDOK, 0}}) {
        BoxAnswerer answerer(GetCurrentThreadId(), {dialog.Hwnd()}, c.button);
        dialog.PressKey(VK_ESCAPE);
        answerer.Join();
        ASSERT_TRUE(answerer.m_bFound);
        EXPECT_EQ(dialog.Hwnd(), answerer.m_hOwner);
        EXPECT_EQ(L"", answerer.m_caption);
        bool textShown = false;
        for (const std::wstring& text : answerer.m_texts)
            textShown = textShown || text == L"中断します";
        EXPECT_TRUE(textShown) << "the question reads 中断します";
        EXPECT_EQ(c.runningAfter, dialog.Running()) << "button " << c.button;
    }
}

TEST_F(dialog_MainDialog, ACommandThatWouldOpenABoxWhileAnotherIsOpenDoesNothing)
{
    dialog.m_bRealAbortBox = true;
    dialog.GetBoard().m_bRunning.store(1);
    const DWORD thread = GetCurrentThreadId();
    // Input queued behind the key that opened a box reaches the dialog
    // through that box's loop. Any box besides the first is noted and closed.
    auto postWhileOpen = [&](UINT message, WPARAM wParam, size_t& open) {
        return [&, message, wParam](HWND box) {
            PostMessageW(dialog.Hwnd(), message, wParam, 0);
            Sleep(300);
            const std::vector<HWND> boxes = ThreadDialogs(thread);
            open = boxes.size();
            for (HWND extra : boxes)
                if (extra != box && extra != dialog.Hwnd())
                    PostMessageW(extra, WM_COMMAND, IDCANCEL, 0);
        };
    };

    size_t openWithQuestion = 0;
    BoxAnswerer question(thread, {dialog.Hwnd()}, IDCANCEL,
                         postWhileOpen(WM_SYSCOMMAND, IDM_ABOUTBOX, openWithQuestion));
    dialog.PressKey(VK_ESCAPE);
    question.Join();
    ASSERT_TRUE(question.m_bFound);
    EXPECT_EQ(2u, openWithQuestion) << "the About command opened a box over the question";

    size_t openWithAbout = 0;
    BoxAnswerer about(thread, {dialog.Hwnd()}, IDOK,
                      postWhileOpen(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), openWithAbout));
    SendMessageW(dialog.Hwnd(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    about.Join();
    ASSERT_TRUE(about.m_bFound);
    EXPECT_EQ(2u, openWithAbout) << "Escape asked over the About box";
    EXPECT_EQ(1, dialog.m_nAbortAsked);
    UiPump().For(100);
    EXPECT_EQ(1u, ThreadDialogs(thread).size());
}

TEST_F(dialog_MainDialog, MouseMovesRepaintOnlyWhenAHoverFlagChanges)
{
    const RECT start = dialog.GetBoard().m_rcStart;
    struct Step {
        const char* what;
        POINT point;
        bool repaint;
    };
    const Step steps[] = {
        {"quiet spot", dialog.QuietPoint(), false},
        {"into start", dialog.StartCentre(), true},
        {"within start", POINT{start.left + 1, start.top + 1}, false},
        {"from start into exit", dialog.ExitCentre(), true},
        {"within exit", dialog.ExitCentre(), false},
        {"back to a quiet spot", dialog.QuietPoint(), true},
    };
    dialog.TakeInvalidation();
    for (const Step& step : steps) {
        dialog.Move(step.point);
        EXPECT_EQ(step.repaint, dialog.TakeInvalidation()) << step.what;
    }
}

TEST_F(dialog_MainDialog, OnlyTimerZeroUpdatesTheControls)
{
    UiPump pump;
    const HWND start = GetDlgItem(dialog.Hwnd(), IDC_START);
    ASSERT_FALSE(IsWindowEnabled(start));
    // Registered as a control for the idle worker, so an update enables it.
    dialog.GetWorker().m_idleControls.AddTail(new int(IDC_START));
    dialog.TakeInvalidation();

    for (WPARAM id : {1, 2, 7, 0x4242}) {
        SendMessageW(dialog.Hwnd(), WM_TIMER, id, 0);
        EXPECT_FALSE(IsWindowEnabled(start)) << "timer " << id;
        EXPECT_FALSE(dialog.TakeInvalidation()) << "timer " << id;
        EXPECT_FALSE(dialog.GetWorker().IsThreadAlive()) << "timer " << id;
        EXPECT_EQ(0, dialog.Running()) << "timer " << id;
    }
    SendMessageW(dialog.Hwnd(), WM_TIMER, 0, 0);
    EXPECT_TRUE(IsWindowEnabled(start));

    // And the dialog's own periodic timer really arrives.
    EnableWindow(start, FALSE);
    EXPECT_TRUE(pump.Until([&] { return IsWindowEnabled(start) != FALSE; }, 1500));
}

TEST_F(dialog_MainDialog, HiddenButtonCommandsDriveTheWorker)
{
    UiPump pump;

    dialog.Command(IDC_NOP);
    dialog.Command(IDC_START, BN_SETFOCUS);
    EXPECT_FALSE(dialog.GetWorker().IsThreadAlive()) << "only a click counts";

    dialog.Command(IDC_START);
    ASSERT_TRUE(WaitUntilRunning(pump, dialog));
    dialog.Command(IDC_STOP);
    EXPECT_TRUE(pump.Until([&] { return !dialog.GetWorker().IsThreadAlive(); }, 3000)) << "the stop was taken";

    dialog.Command(IDC_EXIT);
    EXPECT_EQ(IDOK, dialog.m_nModalResult);
}
