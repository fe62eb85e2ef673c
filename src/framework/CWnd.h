#pragma once
// A borrowed window handle with the window operations the game calls. It does
// not own the window: copying one copies the handle, destroying one leaves
// the window alone. Windows are owned by whoever created them (a dialog by
// its modal run).
#include "framework/AfxCore.h"

class CWnd {
public:
    CWnd() = default;
    explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}
    virtual ~CWnd() = default;

    HWND GetSafeHwnd() const { return m_hWnd; }

    // The child with the given control id; its handle is null when there is none.
    CWnd GetDlgItem(int nID) const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    void InvalidateRect(const RECT* pRect, BOOL bErase = TRUE);
    void GetClientRect(RECT* pRect) const;
    void GetWindowRect(RECT* pRect) const;
    void ScreenToClient(RECT* pRect) const;

    HWND m_hWnd = nullptr;
};
