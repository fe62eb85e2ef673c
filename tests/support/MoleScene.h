#pragma once
// Moles in tests: one drawn on a memory canvas, and the board's current one
// read safely while another thread replaces it.
#include "DibCanvas.h"
#include "game/Board.h"
#include "game/Mole.h"

// Places a mole by its centre, sizes it and draws it through the canvas's
// device context, as the board would draw it.
inline void DrawMoleOn(DibCanvas& canvas, Mole& mole, int centreX, int centreY, int width, int height)
{
    mole.SetPosition(centreX, centreY);
    mole.SetSize(width, height);
    mole.Draw(canvas.Dc());
}

// The rectangle of the board's current mole, read while the list is held;
// false when there is none.
bool CurrentMoleRect(Board& board, RECT* rect);
