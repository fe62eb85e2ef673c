#pragma once
// A mole drawn on a memory canvas: placed by its centre, sized, and drawn
// through the canvas's device context, as the board would draw it.
#include "DibCanvas.h"
#include "game/Mole.h"

inline void DrawMoleOn(DibCanvas& canvas, Mole& mole, int centreX, int centreY, int width, int height)
{
    mole.SetPosition(centreX, centreY);
    mole.SetSize(width, height);
    mole.Draw(canvas.Dc());
}
