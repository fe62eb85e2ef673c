#include "game/Mole.h"

#include "draw/Painter.h"
#include "res/resource.h"

void Mole::Draw(CDC* pDC)
{
    Painter painter(pDC, FALSE);
    DrawBitmap(pDC, IDB_MOLE);
    // The frame runs through the rectangle's corners: its right and bottom
    // lines lie just outside the picture.
    painter.DrawFrame(GetRect(), kFrameColour, 1);
}
