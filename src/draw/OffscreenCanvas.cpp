#include "draw/OffscreenCanvas.h"

OffscreenCanvas::OffscreenCanvas(CDC* pTarget, const RECT& rcArea, BackBuffer& buffer)
    : m_pTarget(pTarget), m_rcArea(rcArea)
{
    m_pMemDC = buffer.Get(pTarget, rcArea.right - rcArea.left, rcArea.bottom - rcArea.top);
    if (m_pMemDC == nullptr)
        return;
    // The context outlives the paint: the attributes the drawing sets and
    // leaves (the selections put back their pens, brushes and fonts, but not
    // these) go back to a new context's values, so every paint starts as it
    // would on a context of its own. SaveDC and RestoreDC would do the same
    // for a tenth of the paint's time.
    const HDC hdc = m_pMemDC->GetSafeHdc();
    SetBkMode(hdc, OPAQUE);
    SetBkColor(hdc, RGB(255, 255, 255));
    SetTextColor(hdc, RGB(0, 0, 0));
    SetROP2(hdc, R2_COPYPEN);
    // The area's top-left corner is the bitmap's origin.
    SetViewportOrgEx(hdc, -rcArea.left, -rcArea.top, nullptr);
}

void OffscreenCanvas::Present()
{
    if (m_pMemDC == nullptr)
        return;
    SetViewportOrgEx(m_pMemDC->GetSafeHdc(), 0, 0, nullptr);
    m_pTarget->BitBlt(m_rcArea.left, m_rcArea.top, m_rcArea.right - m_rcArea.left, m_rcArea.bottom - m_rcArea.top,
                      m_pMemDC, 0, 0, SRCCOPY);
}
