#pragma once
// A solid pen of a given width and a solid brush, for frames of lines.
#include "draw/GdiSelection.h"

class LineSelection : public GdiSelection {
public:
    LineSelection(CDC* pDC, COLORREF penColour, COLORREF brushColour, int width, BOOL bXor)
        : GdiSelection(pDC, penColour, width, brushColour, bXor)
    {
    }
};
