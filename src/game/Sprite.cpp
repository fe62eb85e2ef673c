#include "game/Sprite.h"

#include "framework/DibResource.h"

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
    // Stretched straight from the executable's resource: loading it as a
    // bitmap into a memory context for every draw cost more under Wine than
    // all the rest of a frame. No stretch mode is set: the context's applies.
    const DibResource picture(nIDResource);
    if (!picture.IsLoaded())
        return;
    const RECT r = GetRect();
    pDC->StretchDIBits(r.left, r.top, r.right - r.left, r.bottom - r.top, 0, 0, picture.Width(),
                       picture.Height(), picture.Bits(), picture.Info(), DIB_RGB_COLORS, SRCCOPY);
}
