#include "MainDialogProbe.h"

#include "ModalScript.h"

MainDialogProbe::~MainDialogProbe()
{
    DestroyWindow();
}

bool MainDialogProbe::Open()
{
    return Create() != FALSE;
}

BOOL MainDialogProbe::OnInitDialog()
{
    const BOOL result = MainDialog::OnInitDialog();
    m_hReady.store(m_hWnd);
    return result;
}

int MainDialogProbe::AskAbort()
{
    ++m_nAbortAsked;
    m_nStatusWhenAsked = m_worker.m_nStatus.load();
    if (m_whileAsking)
        m_whileAsking();
    return m_bRealAbortBox ? MainDialog::AskAbort() : m_nAbortAnswer;
}

int MainDialogProbe::StartWorker()
{
    if (m_bFailStart)
        return -1;
    const int result = MainDialog::StartWorker();
    if (result == 0)
        ++m_nStarted;
    return result;
}

void MainDialogProbe::DrawView(CDC* pDC)
{
    ++m_nPaints;
    if (m_whilePainting)
        m_whilePainting();
    MainDialog::DrawView(pDC);
}

LRESULT MainDialogProbe::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == ModalScript::kEndMessage) {
        EndDialog(IDABORT);
        return 0;
    }
    return MainDialog::WindowProc(message, wParam, lParam);
}


void MainDialogProbe::Release(POINT point)
{
    SendMessageW(m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
}

void MainDialogProbe::Move(POINT point)
{
    SendMessageW(m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y));
}

void MainDialogProbe::PressKey(UINT vk)
{
    MSG msg = {};
    msg.hwnd = m_hWnd;
    msg.message = WM_KEYDOWN;
    msg.wParam = vk;
    msg.lParam = 1;
    if (!IsDialogMessageW(m_hWnd, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void MainDialogProbe::Command(UINT nID, UINT code)
{
    SendMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(nID, code), 0);
}

bool MainDialogProbe::TakeInvalidation()
{
    RECT rect;
    const bool pending = GetUpdateRect(m_hWnd, &rect, FALSE) != 0;
    ValidateRect(m_hWnd, nullptr);
    return pending;
}
