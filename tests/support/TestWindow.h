#pragma once
// A real, hidden top-level window for tests that need an owner window: it
// can carry child buttons and tells whether it has been invalidated.
#include "framework/CWnd.h"

class TestWindow {
public:
    TestWindow();
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    CWnd* Wnd() { return &m_wnd; }
    HWND Hwnd() const { return m_wnd.m_hWnd; }

    // Adds an enabled child button with the given control id.
    HWND AddButton(int nID);

    // Whether any part of the client area is waiting to be repainted; clears
    // the pending region so the next call sees only newer requests.
    bool TakeInvalidation();

    // Dispatches this thread's messages for about the given time.
    static void PumpFor(DWORD ms);

private:
    CWnd m_wnd;
};
