#pragma once
// The real main dialog, made from its template, with what the tests need:
// the abort question answered by the test, access to the board and the
// worker, and the inputs a user gives (releases, moves, keys) sent the way
// Windows delivers them. Opened modeless on the test's own thread (Open),
// or modal (DoModal) with a ModalScript driving it from another thread.
#include <atomic>
#include <functional>

#include "GameLayout.h"
#include "app/MainDialog.h"
#include "framework/CWinApp.h"

class MainDialogProbe : public MainDialog {
public:
    MainDialogProbe() { m_app.m_pMainWnd = this; }
    // Destroys a modeless window while the whole object still exists, so
    // WM_DESTROY reaches MainDialog.
    ~MainDialogProbe() override;

    bool Open();
    HWND Hwnd() const { return m_hWnd; }
    Board& GetBoard() { return m_board; }
    GameWorker& GetWorker() { return m_worker; }
    bool IsStartPending() const { return m_bStartPending; }
    int Status() const { return m_worker.m_nStatus.load(); }
    int Running() const { return m_board.m_bRunning.load(); }
    // The picture kept for painting, from the first paint to the window's end.
    bool BackBufferHeld() const { return m_backBuffer.IsHeld(); }

    POINT StartCentre() const { return Centre(m_board.m_rcStart); }
    POINT ExitCentre() const { return Centre(m_board.m_rcExit); }
    // Inside the title box: neither the start nor the exit area.
    POINT QuietPoint() const { return Centre(m_board.m_rcTitle); }

    void Release(POINT point);
    void Move(POINT point);
    // A key as the dialog's message loop would see it: through IsDialogMessage.
    void PressKey(UINT vk);
    void Command(UINT nID, UINT code = BN_CLICKED);
    // Whether anything was invalidated since the last call; clears it.
    bool TakeInvalidation();

    BOOL OnInitDialog() override;

    // The answer AskAbort gives, and what it saw.
    int m_nAbortAnswer = IDCANCEL;
    int m_nAbortAsked = 0;
    int m_nStatusWhenAsked = -1;
    // Runs while the question is open, as the message box's own loop would.
    std::function<void()> m_whileAsking;
    // Ask with the real message box instead.
    bool m_bRealAbortBox = false;
    // Starting the game thread fails, as when the system refuses a thread.
    bool m_bFailStart = false;
    // Game threads started, counted as the dialog starts them.
    int m_nStarted = 0;
    // Runs inside each paint, before the view is drawn.
    std::function<void()> m_whilePainting;
    int m_nPaints = 0;
    // Set once the dialog's window exists (read by a script thread).
    std::atomic<HWND> m_hReady{nullptr};

    // Stands in for the program's application object, whose main window the
    // dialog is: boxes opened with no parent belong to it, as in the game.
    CWinApp m_app;

protected:
    int AskAbort() override;
    int StartWorker() override;
    void DrawView(CDC* pDC) override;
    // Adds ModalScript's end message to the dialog's own.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
