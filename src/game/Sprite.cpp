#include "game/Sprite.h"

RECT Sprite::GetRect()
{
    // Half sizes truncate, so an odd size gives a rectangle one pixel smaller.
    const int hw = m_nWidth / 2;
    const int hh = m_nHeight / 2;
    RECT rect;
    SetRect(&rect, m_nX - hw, m_nY - hh, m_nX + hw, m_nY + hh);
    OffsetRect(&rect, m_nOffsetX, m_nOffsetY);
    return rect;
}

POINT Sprite::GetPosition()
{
    return POINT{m_nX + m_nOffsetX, m_nY + m_nOffsetY};
}

void Sprite::SetPosition(POINT point)
{
    m_nX = point.x;
    m_nY = point.y;
}

void Sprite::SetPosition(int x, int y)
{
    m_nX = x;
    m_nY = y;
}

void Sprite::MoveBy(int dx, int dy)
{
    m_nX += dx;
    m_nY += dy;
}

void Sprite::Step()
{
    m_nY += static_cast<int>(m_dSpeedY);
    m_nX += static_cast<int>(m_dSpeedX);
}

void Sprite::SetSize(int width, int height)
{
    m_nWidth = width;
    m_nHeight = height;
}

BOOL Sprite::HitTest(POINT point)
{
    const RECT rect = GetRect();
    return PtInRect(&rect, point);
}

void Sprite::DrawBitmap(CDC* pDC, UINT nIDResource)
{
    CDC memDC;
    memDC.CreateCompatibleDC(pDC);
    CBitmap bitmap;
    if (bitmap.LoadBitmap(nIDResource)) {
        BITMAP info = {};
        bitmap.GetObject(sizeof(info), &info);
        // The memory context is deleted below with the bitmap still in it;
        // deleting the context releases the selection.
        memDC.SelectObject(&bitmap);
        const RECT r = GetRect();
        pDC->StretchBlt(r.left, r.top, r.right - r.left, r.bottom - r.top, &memDC, 0, 0,
                        info.bmWidth, info.bmHeight, SRCCOPY);
    }
    memDC.DeleteDC();
    bitmap.DeleteObject();
}
