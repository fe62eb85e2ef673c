#pragma once
// A dialog template's areas in pixels as the dialog manager lays them out
// at 96 dots per inch: each dialog unit mapped as MapDialogRect maps it,
// with the base units of the template's font made at its 96-dpi size
// (measured once, here). The game's layout is this one at every scaling,
// scaled to the window's dots per inch, so that the game is the same game
// on every screen, whatever the dialog manager made of the template there.
#include "framework/DialogTemplate.h"

class DialogLayout {
public:
    // A layout with no areas when the program has no such template. Where
    // the font cannot be measured (a GDI that draws no text, as Wine's
    // WoW64 mode here), the base units given stand in.
    DialogLayout(UINT nIDTemplate, SIZE fallbackBaseUnits);

    // The dialog's client area.
    SIZE Client() const { return SIZE{MapX(m_template.units.right), MapY(m_template.units.bottom)}; }
    // A control's rectangle; all zero when the template has no such control.
    RECT Area(int nID) const;
    // The base units: the font's average character width and its height.
    SIZE BaseUnits() const { return m_base; }

private:
    // As the dialog manager does: a control's position and its size are
    // mapped each on its own, not its two edges.
    int MapX(int units) const { return ::MulDiv(units, m_base.cx, 4); }
    int MapY(int units) const { return ::MulDiv(units, m_base.cy, 8); }

    DialogTemplate m_template;
    SIZE m_base = {0, 0};
};
