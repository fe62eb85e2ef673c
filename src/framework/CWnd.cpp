#include "framework/CWnd.h"

CWnd CWnd::GetDlgItem(int nID) const
{
    return CWnd(::GetDlgItem(m_hWnd, nID));
}

BOOL CWnd::EnableWindow(BOOL bEnable)
{
    return ::EnableWindow(m_hWnd, bEnable);
}

BOOL CWnd::IsWindowEnabled() const
{
    return ::IsWindowEnabled(m_hWnd);
}

void CWnd::InvalidateRect(const RECT* pRect, BOOL bErase)
{
    ::InvalidateRect(m_hWnd, pRect, bErase);
}

void CWnd::GetClientRect(RECT* pRect) const
{
    ::GetClientRect(m_hWnd, pRect);
}

void CWnd::GetWindowRect(RECT* pRect) const
{
    ::GetWindowRect(m_hWnd, pRect);
}

void CWnd::ScreenToClient(RECT* pRect) const
{
    // A RECT is two POINTs, top-left then bottom-right.
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(pRect), 2);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer)
{
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent)
{
    return ::KillTimer(m_hWnd, nIDEvent);
}

BOOL CWnd::IsIconic() const
{
    return ::IsIconic(m_hWnd);
}

CMenu CWnd::GetSystemMenu(BOOL bRevert) const
{
    return CMenu(::GetSystemMenu(m_hWnd, bRevert));
}

int CWnd::MessageBox(CString text, CString caption, UINT nType)
{
    const std::wstring wideText = text.ToWide();
    const std::wstring wideCaption = caption.ToWide();
    return ::MessageBoxW(m_hWnd, wideText.c_str(), wideCaption.c_str(), nType);
}

BOOL CWnd::UpdateData(BOOL)
{
    return TRUE;
}
