#pragma once
// The game's window: a dialog whose client area the board paints. Its
// controls stay hidden; they only lay out the play field, the title box and
// the start and exit areas, which the dialog hit-tests on mouse releases.
// The game itself runs on the worker's thread.
#include "draw/BackBuffer.h"
#include "framework/CDialog.h"
#include "game/Board.h"
#include "game/GameWorker.h"

class MainDialog : public CDialog {
public:
    explicit MainDialog(CWnd* pParent = nullptr);
    // Stops the game thread before the board and the worker go.
    ~MainDialog() override;

    BOOL OnInitDialog() override;
    // Escape, the close box and Alt+F4: never close the dialog; during a
    // game they offer to stop it.
    void OnCancel() override;

    // Timer ids: the periodic control update, and the wait for the previous
    // game's thread to go when a start had to be put off.
    static constexpr UINT_PTR kControlsTimer = 0;
    static constexpr UINT kControlsMs = 500;
    static constexpr UINT_PTR kPendingStartTimer = 1;
    static constexpr UINT kPendingStartMs = 20;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Asks whether to stop the game; IDOK stops it.
    virtual int AskAbort();
    // Starts the game thread: 0 when it runs. A test stands in a failing start.
    virtual int StartWorker();
    // Draws the view into the paint's off-screen picture. A test holds a
    // paint here to see what happens to repaints asked for meanwhile.
    virtual void DrawView(CDC* pDC);

    HICON m_hIcon;
    Board m_board;
    GameWorker m_worker;
    // Every paint draws into this bitmap and blits it; kept while the window lives.
    BackBuffer m_backBuffer;
    // A start was asked for while the previous game's thread was still on
    // its way out; it is carried out as soon as that thread has gone.
    bool m_bStartPending = false;
    // The abort question and the About box: while either is open, the
    // commands that would open a box do nothing.
    bool m_bAskingAbort = false;
    bool m_bAboutOpen = false;
    // The client area as the template lays it out at 96 dpi.
    SIZE m_clientAt96 = {0, 0};

private:
    LRESULT OnSysCommand(UINT nID);
    LRESULT OnPaint();
    LRESULT OnQueryDragIcon();
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnTimer(UINT_PTR nIDEvent);
    LRESULT OnLButtonUp(POINT point);
    LRESULT OnMouseMove(POINT point);
    LRESULT OnDisplayChange();
    LRESULT OnDpiChanged(int dpi, const RECT& suggested);
    LRESULT OnGetDpiScaledSize(int dpi, SIZE* pSize);
    LRESULT OnDestroy();

    // The board and the client area at dpi: the 96-dpi layout scaled.
    void ApplyDpi(int dpi);

    void PaintIcon();
    bool AnyBoxOpen() const;
    // Starts a game now, or as soon as the previous game's thread has gone.
    void StartGame();
    void CarryOutPendingStart();
    // Starts the game thread; only when the last one has gone.
    void BeginGame();
    void CancelPendingStart();
    // Stops the game thread, lifting any suspension, and waits for it.
    void StopWorker();
};
