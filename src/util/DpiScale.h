#pragma once
// Places and sizes laid out at 96 dots per inch, scaled to a window's dots
// per inch. Every scaled length goes through Scale, so all of them round
// alike (MulDiv: to the nearest pixel, halves away from zero); a rectangle
// is scaled by its edges, so that two rectangles that touch at 96 dpi still
// touch, and an odd width is not cut to an even one.
#include "framework/AfxCore.h"

class DpiScale {
public:
    static constexpr int kBaseDpi = 96;

    explicit DpiScale(int dpi = kBaseDpi) : m_nDpi(dpi > 0 ? dpi : kBaseDpi) {}

    int Dpi() const { return m_nDpi; }
    int Scale(int value) const { return ::MulDiv(value, m_nDpi, kBaseDpi); }
    POINT Scale(POINT point) const { return POINT{Scale(point.x), Scale(point.y)}; }
    SIZE Scale(SIZE size) const { return SIZE{Scale(size.cx), Scale(size.cy)}; }
    RECT Scale(const RECT& rect) const
    {
        return RECT{Scale(rect.left), Scale(rect.top), Scale(rect.right), Scale(rect.bottom)};
    }

private:
    int m_nDpi;
};
