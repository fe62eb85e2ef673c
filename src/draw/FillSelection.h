#pragma once
// A 1-pixel solid pen and a solid brush, for filled boxes.
#include "draw/GdiSelection.h"

class FillSelection : public GdiSelection {
public:
    FillSelection(CDC* pDC, COLORREF penColour, COLORREF brushColour, BOOL bXor)
        : GdiSelection(pDC, penColour, 1, brushColour, bXor)
    {
    }
};
