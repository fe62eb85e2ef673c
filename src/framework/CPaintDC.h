#pragma once
// The device context of one WM_PAINT: BeginPaint on construction, EndPaint
// on destruction.
#include "framework/CDC.h"
#include "framework/CWnd.h"

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd)
    {
        m_hDC = ::BeginPaint(m_hWnd, &m_ps);
    }
    ~CPaintDC() override
    {
        ::EndPaint(m_hWnd, &m_ps);
        m_hDC = nullptr;
    }

    PAINTSTRUCT m_ps = {};

private:
    HWND m_hWnd;
};
