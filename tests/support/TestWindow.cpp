#include "TestWindow.h"

#include "UiPump.h"

namespace {

const wchar_t kClassName[] = L"DunkoTestWindow";

ATOM RegisterTestClass()
{
    static ATOM atom = [] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kClassName;
        wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
        return RegisterClassW(&wc);
    }();
    return atom;
}

} // namespace

TestWindow::TestWindow()
{
    RegisterTestClass();
    m_wnd.m_hWnd = CreateWindowExW(0, kClassName, L"test", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                                   nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

TestWindow::~TestWindow()
{
    if (m_wnd.m_hWnd != nullptr)
        DestroyWindow(m_wnd.m_hWnd);
}

HWND TestWindow::AddButton(int nID)
{
    return CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD | BS_PUSHBUTTON, 0, 0, 20, 20, m_wnd.m_hWnd,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(nID)), GetModuleHandleW(nullptr),
                           nullptr);
}

bool TestWindow::TakeInvalidation()
{
    RECT rc;
    const bool pending = GetUpdateRect(m_wnd.m_hWnd, &rc, FALSE) != 0;
    ValidateRect(m_wnd.m_hWnd, nullptr);
    return pending;
}

void TestWindow::PumpFor(DWORD ms)
{
    UiPump().For(ms);
}
