#pragma once
// A visible window on the test thread that counts the repaints it gets, for
// tests that check how often the game asks for one.
#include "framework/CWnd.h"

class PaintCounter {
public:
    PaintCounter();
    ~PaintCounter();
    PaintCounter(const PaintCounter&) = delete;
    PaintCounter& operator=(const PaintCounter&) = delete;

    CWnd* Wnd() { return &m_wnd; }
    // The WM_PAINTs handled by any PaintCounter since it was last set.
    static int s_paints;

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    CWnd m_wnd;
};
