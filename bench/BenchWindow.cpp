#include "BenchWindow.h"

#include "draw/OffscreenCanvas.h"
#include "framework/CPaintDC.h"
#include "BenchStats.h"

namespace {
const wchar_t kClass[] = L"DunkoBenchWindow";
}

BenchWindow::BenchWindow(Board& board, GameWorker& worker)
    : m_board(board), m_worker(worker), m_thread([this] { Loop(); })
{
    while (!m_ready)
        Sleep(1);
}

BenchWindow::~BenchWindow()
{
    PostMessageW(m_wnd.m_hWnd, WM_CLOSE, 0, 0);
    m_thread.join();
    CloseHandle(m_hThread);
}

LRESULT CALLBACK BenchWindow::Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<BenchWindow*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    switch (message) {
    case WM_PAINT:
        if (self != nullptr) {
            self->OnPaint();
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_CLOSE:
        DestroyWindow(hWnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hWnd, message, wParam, lParam);
}

void BenchWindow::OnPaint()
{
    CPaintDC dc(&m_wnd);
    RECT client;
    GetClientRect(m_wnd.m_hWnd, &client);
    const CString status = m_board.GetStatusText();
    {
        OffscreenCanvas canvas(&dc, client, m_backBuffer);
        m_board.Draw(canvas.GetDC(), m_worker.GetMessage());
        canvas.Present();
    }
    GdiFlush();
    {
        CSingleLock lock(&m_paintLock, TRUE);
        m_lastPaint.serial += 1;
        m_lastPaint.doneMicros = NowMicros();
        m_lastPaint.status = status;
    }
    m_evPainted.SetEvent();
}

BenchWindow::Paint BenchWindow::LastPaint()
{
    CSingleLock lock(&m_paintLock, TRUE);
    return m_lastPaint;
}

bool BenchWindow::WaitForPaintAfter(long serial, DWORD milliseconds)
{
    const double giveUp = NowMicros() + milliseconds * 1000.0;
    while (LastPaint().serial <= serial) {
        const double left = giveUp - NowMicros();
        if (left <= 0)
            return false;
        m_evPainted.Lock(static_cast<DWORD>(left / 1000) + 1);
    }
    return true;
}

void BenchWindow::Loop()
{
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &m_hThread, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &BenchWindow::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
    RECT frame = {0, 0, 478, 482};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    m_wnd.m_hWnd = CreateWindowExW(0, kClass, L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                   frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(m_wnd.m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_ready = true;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
