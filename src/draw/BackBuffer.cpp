#include "draw/BackBuffer.h"

CDC* BackBuffer::Get(CDC* pTarget, int nWidth, int nHeight)
{
    if (nWidth <= 0 || nHeight <= 0)
        return nullptr;
    if (IsHeld() && nWidth == m_nWidth && nHeight == m_nHeight)
        return &m_memDC;
    Release();
    if (!m_memDC.CreateCompatibleDC(pTarget) || !m_bitmap.CreateCompatibleBitmap(pTarget, nWidth, nHeight)) {
        Release();
        return nullptr;
    }
    m_oldBitmap = m_memDC.SelectObject(&m_bitmap);
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    return &m_memDC;
}

void BackBuffer::Release()
{
    // The bitmap leaves the context before either is deleted.
    if (m_oldBitmap.GetSafeHandle() != nullptr)
        m_memDC.SelectObject(m_oldBitmap);
    m_oldBitmap = CBitmapRef();
    m_memDC.DeleteDC();
    m_bitmap.DeleteObject();
    m_nWidth = m_nHeight = 0;
}
