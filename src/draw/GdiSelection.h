#pragma once
// Scope of one pen and one brush selected into a device context: made and
// selected on construction (optionally with XOR drawing), put back and
// deleted on destruction, which also returns the context to copy drawing.
#include "framework/CDC.h"

class GdiSelection {
public:
    virtual ~GdiSelection();
    GdiSelection(const GdiSelection&) = delete;
    GdiSelection& operator=(const GdiSelection&) = delete;

protected:
    GdiSelection(CDC* pDC, COLORREF penColour, int penWidth, COLORREF brushColour, BOOL bXor);

private:
    CBrushRef m_pOldBrush;
    CPenRef m_pOldPen;
    CBrush m_brush;
    CPen m_pen;
    CDC* m_pDC;
};
