#pragma once
// Draws the game's shapes and texts into a device context: filled boxes,
// frames of lines and one line of text centred in a rectangle. Made on the
// stack for one drawing pass; creates and deletes its GDI objects per call.
// Lines are one device pixel wide at every scaling (or the width asked, in
// device pixels); texts are sized for the window's dots per inch.
#include "framework/CDC.h"

class Painter {
public:
    Painter(CDC* pDC, BOOL bXor, int dpi = 96) : m_pDC(pDC), m_bXor(bXor), m_nDpi(dpi) {}
    virtual ~Painter() = default;

    // A 1-pixel outline in penColour filled with brushColour; like Rectangle,
    // it leaves out the right and bottom edge.
    void DrawBox(RECT rect, COLORREF penColour, COLORREF brushColour);
    // The outline alone, through all four corners (so it includes the right
    // and bottom edge).
    void DrawFrame(RECT rect, COLORREF penColour, int width);
    // One line centred both ways, in "ＭＳ ゴシック" at tenthsOfPoint (at the
    // painter's dots per inch), on a
    // transparent background. An ampersand marks a mnemonic, as in menus.
    void DrawCenteredText(RECT rect, CString text, int tenthsOfPoint, COLORREF colour);

    // The face every painted text uses.
    static const char* const kFaceName;

private:
    CDC* m_pDC;
    BOOL m_bXor;
    int m_nDpi;
};
