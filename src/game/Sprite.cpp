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
    // all the rest of a frame. Enlarged (at 1.5 and 2 times the picture's
    // size, say), each of its pixels becomes a block of whole device pixels
    // (COLORONCOLOR, the nearest pixel): the picture's hard edges stay hard,
    // where HALFTONE would blur every edge over a pixel or two. At its own
    // size every mode copies it pixel for pixel.
    const DibResource picture(nIDResource);
    if (!picture.IsLoaded())
        return;
    const RECT r = GetRect();
    const int oldMode = pDC->SetStretchBltMode(COLORONCOLOR);
    pDC->StretchDIBits(r.left, r.top, r.right - r.left, r.bottom - r.top, 0, 0, picture.Width(),
                       picture.Height(), picture.Bits(), picture.Info(), DIB_RGB_COLORS, SRCCOPY);
    pDC->SetStretchBltMode(oldMode);
}
