#pragma once
// A borrowed window handle with the window operations the game calls. It does
// not own the window: copying one copies the handle, destroying one leaves
// the window alone. Windows are owned by whoever created them (a dialog by
// its modal run).
#include "framework/AfxCore.h"
#include "framework/CMenu.h"
#include "framework/CString.h"

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
    BOOL SetWindowPos(HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
    {
        return ::SetWindowPos(m_hWnd, hWndInsertAfter, x, y, cx, cy, nFlags);
    }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE)); }

    // windows.h renames SendMessage and MessageBox to their "A" functions;
    // the members merely carry that name and call the wide functions.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer);
    BOOL KillTimer(UINT_PTR nIDEvent);
    BOOL IsIconic() const;
    // The window's own copy of the system menu, to add items to.
    CMenu GetSystemMenu(BOOL bRevert) const;
    // A message box owned by this window; texts are code page 932.
    int MessageBox(CString text, CString caption = CString(), UINT nType = MB_OK);
    // The windows of this game exchange no data with their controls, so
    // there is nothing to save or load; always succeeds.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    HWND m_hWnd = nullptr;
};
