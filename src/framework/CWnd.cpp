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
