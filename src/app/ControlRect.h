#pragma once
// Where a control of a dialog sits, in the dialog's client coordinates. The
// main dialog's hidden controls only mark out the areas the game paints and
// hit-tests itself.
#include "framework/CWnd.h"

// The control's rectangle; all zero when the dialog has no such control.
RECT GetControlRect(const CWnd& dialog, int nID);
