#include "draw/OffscreenCanvas.h"

OffscreenCanvas::OffscreenCanvas(CDC* pTarget, const RECT& rcArea) : m_pTarget(pTarget), m_rcArea(rcArea)
{
    const int width = rcArea.right - rcArea.left;
    const int height = rcArea.bottom - rcArea.top;
    if (width <= 0 || height <= 0 || !m_memDC.CreateCompatibleDC(pTarget) ||
        !m_bitmap.CreateCompatibleBitmap(pTarget, width, height))
        return;
    m_oldBitmap = m_memDC.SelectObject(&m_bitmap);
    // The area's top-left corner is the bitmap's origin.
    SetViewportOrgEx(m_memDC.GetSafeHdc(), -rcArea.left, -rcArea.top, nullptr);
    m_bReady = true;
}

OffscreenCanvas::~OffscreenCanvas()
{
    if (m_bReady)
        m_memDC.SelectObject(m_oldBitmap);
}

void OffscreenCanvas::Present()
{
    if (!m_bReady)
        return;
    SetViewportOrgEx(m_memDC.GetSafeHdc(), 0, 0, nullptr);
    m_pTarget->BitBlt(m_rcArea.left, m_rcArea.top, m_rcArea.right - m_rcArea.left, m_rcArea.bottom - m_rcArea.top,
                      &m_memDC, 0, 0, SRCCOPY);
}
