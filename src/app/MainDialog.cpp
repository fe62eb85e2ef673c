#include "app/MainDialog.h"

#include <windowsx.h>

#include "app/AboutDialog.h"
#include "app/DialogLayout.h"
#include "draw/OffscreenCanvas.h"
#include "game/BoardColours.h"
#include "framework/CPaintDC.h"
#include "framework/WindowDpi.h"
#include "resource.h"

namespace {

POINT PointFrom(LPARAM lParam)
{
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

// Scope of one box of the game being open: raises its flag, which keeps
// every other box from opening meanwhile, and lowers it on every way out.
class BoxOpen {
public:
    explicit BoxOpen(bool& bOpen) : m_bOpen(bOpen) { m_bOpen = true; }
    ~BoxOpen() { m_bOpen = false; }
    BoxOpen(const BoxOpen&) = delete;
    BoxOpen& operator=(const BoxOpen&) = delete;

private:
    bool& m_bOpen;
};

// Scope of the game held for the abort question: suspended from
// construction, resumed on every way out, a question that throws included,
// so the game thread is never left parked at its checkpoint.
class GameHeld {
public:
    explicit GameHeld(WorkerThread& worker) : m_worker(worker) { m_worker.Suspend(); }
    ~GameHeld() { m_worker.Resume(); }
    GameHeld(const GameHeld&) = delete;
    GameHeld& operator=(const GameHeld&) = delete;

private:
    WorkerThread& m_worker;
};

// Scope of starting a game thread: unless Started() is called, the view
// goes back to the title screen on the way out, whether the start was
// refused or threw, rather than stay on a field where nothing happens.
class TitleUnlessStarted {
public:
    TitleUnlessStarted(Board& board, CWnd& wnd) : m_board(board), m_wnd(wnd) {}
    ~TitleUnlessStarted()
    {
        if (m_bStarted)
            return;
        m_board.m_bRunning.store(0);
        m_wnd.InvalidateRect(nullptr, TRUE);
    }
    TitleUnlessStarted(const TitleUnlessStarted&) = delete;
    TitleUnlessStarted& operator=(const TitleUnlessStarted&) = delete;

    void Started() { m_bStarted = true; }

private:
    Board& m_board;
    CWnd& m_wnd;
    bool m_bStarted = false;
};

} // namespace

MainDialog::MainDialog(CWnd* pParent) : CDialog(IDD_MAIN_DIALOG, pParent)
{
    m_hIcon = LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME));
}

MainDialog::~MainDialog()
{
    StopWorker();
}

LRESULT MainDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SYSCOMMAND:
        return OnSysCommand(static_cast<UINT>(wParam));
    case WM_PAINT:
        return OnPaint();
    case WM_QUERYDRAGICON:
        return OnQueryDragIcon();
    case WM_COMMAND:
        return OnCommand(wParam, lParam);
    case WM_TIMER:
        return OnTimer(wParam);
    case WM_LBUTTONUP:
        return OnLButtonUp(PointFrom(lParam));
    case WM_MOUSEMOVE:
        return OnMouseMove(PointFrom(lParam));
    case WM_DESTROY:
        return OnDestroy();
    case WM_DISPLAYCHANGE:
        return OnDisplayChange();
    case WM_DPICHANGED:
        return OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
    case WM_GETDPISCALEDSIZE:
        return OnGetDpiScaledSize(static_cast<int>(wParam), reinterpret_cast<SIZE*>(lParam));
    default:
        return CDialog::WindowProc(message, wParam, lParam);
    }
}

BOOL MainDialog::OnInitDialog()
{
    CDialog::OnInitDialog();

    CMenu sysMenu = GetSystemMenu(FALSE);
    if (sysMenu.GetSafeHmenu() != nullptr) {
        CString aboutText;
        aboutText.LoadString(IDS_ABOUTBOX);
        if (!aboutText.IsEmpty()) {
            sysMenu.AppendMenu(MF_SEPARATOR);
            sysMenu.AppendMenu(MF_STRING, IDM_ABOUTBOX, aboutText);
        }
    }

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    UpdateData(FALSE);
    // The game's layout is the template's at 96 dpi, whatever the dialog
    // manager made of it at this window's dots per inch, scaled to them.
    // Should the template's font not be measurable, the dialog manager's
    // base units, taken back to 96 dpi, stand in.
    const int dpi = GetWindowDpi(m_hWnd);
    RECT base = {0, 0, 4, 8};
    ::MapDialogRect(m_hWnd, &base);
    const DialogLayout layout(IDD_MAIN_DIALOG, SIZE{::MulDiv(base.right, DpiScale::kBaseDpi, dpi),
                                                    ::MulDiv(base.bottom, DpiScale::kBaseDpi, dpi)});
    m_clientAt96 = layout.Client();
    m_board.SetAreas(BoardAreas{layout.Area(IDC_PLAYFIELD), layout.Area(IDC_TITLE), layout.Area(IDC_START),
                                layout.Area(IDC_EXIT)});
    KeepDialogLayoutOnDpiChange(m_hWnd);
    ApplyDpi(dpi);
    m_board.SetTitle("ぬらぽん");

    m_worker.SetOwner(this);
    m_worker.m_pBoard = &m_board;
    SetTimer(kControlsTimer, kControlsMs, nullptr);
    return TRUE;
}

LRESULT MainDialog::OnSysCommand(UINT nID)
{
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        // One box at a time, even when the command comes while a box is open
        // (the box holds the dialog disabled, but a command queued behind
        // the key that opened it still reaches the dialog): opened over the
        // abort question, the About box would belong to the question.
        if (AnyBoxOpen())
            return 0;
        const BoxOpen open(m_bAboutOpen);
        AboutDialog about;
        about.DoModal();
        return 0;
    }
    return Default();
}

LRESULT MainDialog::OnPaint()
{
    if (IsIconic()) {
        PaintIcon();
        return 0;
    }
    CPaintDC dc(this);
    RECT client;
    GetClientRect(&client);
    OffscreenCanvas canvas(&dc, client, m_backBuffer);
    DrawView(canvas.GetDC());
    canvas.Present();
    // Fully handled: the dialog manager's own WM_PAINT would begin and end
    // another paint, validating whatever the game thread invalidated while
    // this one drew, and that repaint would be lost.
    return 0;
}

void MainDialog::DrawView(CDC* pDC)
{
    // While the last game's thread is on its way out, the new game's field
    // shows empty rather than what that thread left on the board.
    if (m_bStartPending) {
        m_board.FillPlayArea(pDC, BoardColours::kField);
        return;
    }
    const CString message = m_worker.GetMessage();
    m_board.Draw(pDC, message);
}

void MainDialog::PaintIcon()
{
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    const int cxIcon = GetSystemMetrics(SM_CXICON);
    const int cyIcon = GetSystemMetrics(SM_CYICON);
    RECT rect;
    GetClientRect(&rect);
    const int x = (rect.right - rect.left - cxIcon + 1) / 2;
    const int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

LRESULT MainDialog::OnQueryDragIcon()
{
    return reinterpret_cast<LRESULT>(m_hIcon);
}

LRESULT MainDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nID = LOWORD(wParam);
    const bool clicked = HIWORD(wParam) == BN_CLICKED;
    if (clicked && nID == IDC_START) {
        if (m_worker.m_nStatus.load() == WorkerThread::STATUS_IDLE) {
            UpdateData(TRUE);
            m_worker.Start();
        }
        return 0;
    }
    if (clicked && nID == IDC_STOP) {
        m_worker.RequestStop();
        return 0;
    }
    if (clicked && nID == IDC_NOP)
        return 0;
    if (clicked && nID == IDC_EXIT) {
        CDialog::OnOK();
        return 0;
    }
    // IDOK, IDCANCEL and the rest.
    return CDialog::WindowProc(WM_COMMAND, wParam, lParam);
}

LRESULT MainDialog::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kControlsTimer)
        m_worker.UpdateControls();
    else if (nIDEvent == kPendingStartTimer && m_bStartPending)
        CarryOutPendingStart();
    return Default();
}

LRESULT MainDialog::OnLButtonUp(POINT point)
{
    // While a game thread is about, it gets every release; whether one hits
    // a mole is for the game loop to decide.
    if (m_worker.m_nStatus.load() != WorkerThread::STATUS_IDLE)
        m_worker.PushClick(new ClickEvent(point.x, point.y));

    if (m_board.m_bRunning.load() == 0) {
        if (PtInRect(&m_board.m_rcStart, point)) {
            m_board.m_bRunning.store(1);
            InvalidateRect(nullptr, TRUE);
            UpdateData(TRUE);
            StartGame();
        } else if (PtInRect(&m_board.m_rcExit, point)) {
            OnOK();
        }
    }
    return Default();
}

LRESULT MainDialog::OnMouseMove(POINT point)
{
    if (m_board.UpdateHover(point))
        InvalidateRect(nullptr, FALSE);
    return Default();
}

LRESULT MainDialog::OnDisplayChange()
{
    // The kept picture is in the old screen format; the next paint makes one
    // in the new.
    m_backBuffer.Release();
    return Default();
}

LRESULT MainDialog::OnDpiChanged(int dpi, const RECT& suggested)
{
    // The window moves to where Windows suggests, at the size it suggests
    // (the one OnGetDpiScaledSize gave it); a game in progress goes on, its
    // mole where it was in the field's terms.
    SetWindowPos(nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ApplyDpi(dpi);
    InvalidateRect(nullptr, FALSE);
    return 0;
}

LRESULT MainDialog::OnGetDpiScaledSize(int dpi, SIZE* pSize)
{
    const RECT window = WindowRectForClient(DpiScale(dpi).Scale(m_clientAt96), GetStyle(), GetExStyle(), dpi);
    *pSize = SIZE{window.right, window.bottom};
    return TRUE;
}

void MainDialog::ApplyDpi(int dpi)
{
    m_board.SetDpi(dpi);
    // The client area the layout wants, in the frame this window has now
    // (the system's frame at dpi, as AdjustWindowRectEx would give it, but
    // measured: it is the one the window really has); nothing moves when
    // it is the size it already is.
    const SIZE wanted = m_board.Scale().Scale(m_clientAt96);
    RECT client;
    RECT window;
    GetClientRect(&client);
    GetWindowRect(&window);
    if (client.right == wanted.cx && client.bottom == wanted.cy)
        return;
    SetWindowPos(nullptr, 0, 0, window.right - window.left - client.right + wanted.cx,
                 window.bottom - window.top - client.bottom + wanted.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT MainDialog::OnDestroy()
{
    KillTimer(kControlsTimer);
    CancelPendingStart();
    // The game thread paints into this window and uses the board: it must
    // be gone before either is.
    StopWorker();
    m_backBuffer.Release();
    return Default();
}

void MainDialog::OnCancel()
{
    // A cancel while the question or the About box is open (a WM_CLOSE its
    // message loop dispatches) asks nothing more.
    if (AnyBoxOpen() || m_board.m_bRunning.load() != 1)
        return;
    {
        const GameHeld held(m_worker);
        const BoxOpen open(m_bAskingAbort);
        if (AskAbort() == IDOK) {
            m_worker.RequestStop();
            m_board.m_bRunning.store(0);
            CancelPendingStart();
        }
    }
    InvalidateRect(nullptr, TRUE);
}

bool MainDialog::AnyBoxOpen() const
{
    return m_bAskingAbort || m_bAboutOpen;
}

int MainDialog::AskAbort()
{
    return MessageBox("中断します", "", MB_OKCANCEL);
}

void MainDialog::StartGame()
{
    // The status word cannot tell whether the last game's thread has gone
    // (an abort takes effect only at its next checkpoint, and a finished
    // game clears the running flag just before its thread ends), and Start
    // ignores a call while that thread lives. So look at the thread itself,
    // and put the start off rather than lose it.
    if (!m_worker.IsThreadAlive()) {
        BeginGame();
        return;
    }
    if (!m_bStartPending) {
        m_bStartPending = true;
        SetTimer(kPendingStartTimer, kPendingStartMs, nullptr);
    }
}

void MainDialog::CarryOutPendingStart()
{
    // Not while the abort question is open: its answer may drop the start.
    if (m_bAskingAbort || m_worker.IsThreadAlive())
        return;
    CancelPendingStart();
    // The old thread may have cleared the running flag on its way out.
    m_board.m_bRunning.store(1);
    InvalidateRect(nullptr, TRUE);
    BeginGame();
}

void MainDialog::BeginGame()
{
    // Releases still queued (made during the last end text, say) stay: the
    // game tests them against the first mole it shows. What the last game
    // left on the board goes: no thread uses it now.
    TitleUnlessStarted title(m_board, *this);
    m_board.Clear();
    if (StartWorker() == 0)
        title.Started();
}

int MainDialog::StartWorker()
{
    return m_worker.Start();
}

void MainDialog::CancelPendingStart()
{
    if (!m_bStartPending)
        return;
    m_bStartPending = false;
    KillTimer(kPendingStartTimer);
}

void MainDialog::StopWorker()
{
    m_worker.RequestStop();
    m_worker.Resume();
    m_worker.WaitForThread(INFINITE);
}
