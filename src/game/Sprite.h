#pragma once
// A picture object placed by its centre: position, size, step speeds and a
// draw offset, with a hit test by the PtInRect rule (left and top inside,
// right and bottom outside).
#include "framework/CDC.h"

class Sprite {
public:
    Sprite() = default;
    virtual ~Sprite() = default;

    // Paints the bitmap resource stretched into GetRect(); nothing when the
    // resource cannot be loaded.
    virtual void DrawBitmap(CDC* pDC, UINT nIDResource);
    virtual RECT GetRect();
    virtual POINT GetPosition();
    virtual void SetPosition(POINT point);
    virtual void SetPosition(int x, int y);
    virtual void SetX(int x) { m_nX = x; }
    virtual void SetY(int y) { m_nY = y; }
    virtual void MoveBy(int dx, int dy);
    virtual void StepLeft() { m_nX -= static_cast<int>(m_dSpeedX); }
    virtual void StepRight() { m_nX += static_cast<int>(m_dSpeedX); }
    virtual void StepUp() { m_nY -= static_cast<int>(m_dSpeedY); }
    virtual void StepDown() { m_nY += static_cast<int>(m_dSpeedY); }
    virtual void Step();
    virtual int GetWidth() { return m_nWidth; }
    virtual void SetWidth(int width) { m_nWidth = width; }
    virtual int GetHeight() { return m_nHeight; }
    virtual void SetHeight(int height) { m_nHeight = height; }

    void SetSize(int width, int height);
    BOOL HitTest(POINT point);

protected:
    int m_nX = 0;
    int m_nY = 0;
    int m_nWidth = 10;
    int m_nHeight = 10;
    double m_dSpeedX = 1.0;
    double m_dSpeedY = 1.0;
    int m_nOffsetX = 0;
    int m_nOffsetY = 0;
};
