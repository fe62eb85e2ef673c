#include "PaintCounter.h"

int PaintCounter::s_paints = 0;

PaintCounter::PaintCounter()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &PaintCounter::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"DunkoPaintCounter";
    RegisterClassW(&wc);
    m_wnd.m_hWnd = CreateWindowExW(0, wc.lpszClassName, L"paints", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                   nullptr, wc.hInstance, nullptr);
}

PaintCounter::~PaintCounter()
{
    DestroyWindow(m_wnd.m_hWnd);
}

LRESULT CALLBACK PaintCounter::Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        BeginPaint(hWnd, &ps);
        EndPaint(hWnd, &ps);
        ++s_paints;
        return 0;
    }
    return DefWindowProcW(hWnd, message, wParam, lParam);
}
