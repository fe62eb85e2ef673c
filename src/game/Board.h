#pragma once
// The board of a game: the live moles and the stage's hit count on top of
// the layout and drawing of BoardBase, and the two views.
#include <atomic>

#include "game/BoardBase.h"
#include "game/Mole.h"
#include "util/LockedPtrList.h"

class Board : public BoardBase {
public:
    Board() = default;
    // Destroys the moles still on the board.
    ~Board() override;

    // The running view (field, moles, message band, status line) while a
    // game runs, the title view otherwise.
    void Draw(CDC* pDC, CString message) override;

    // Destroys every mole, then places count new 50 x 50 moles at random
    // spots at least 5 pixels inside the play area: at 96 dpi, so that the
    // same spots come up at every scaling, and scaled to the board's.
    void Spawn(int count);
    // Moles included.
    void SetDpi(int dpi) override;
    void DrawMoles(CDC* pDC);
    int MoleCount() const { return m_moles.GetCount(); }
    Mole* GetMole(int index) { return m_moles.GetAt(index); }
    void RemoveMole(int index) { m_moles.RemoveAt(index); }
    void RemoveAllMoles() { m_moles.DeleteAll(); }
    // Removes what a game left: its moles, hit count and status line.
    void Clear();

    LockedPtrList<Mole> m_moles;
    std::atomic<int> m_nHits{0};

private:
    // A random coordinate for a mole centre in [low + 30, high - 31] (at 96
    // dpi); the middle of the range when it is 60 pixels or less.
    static int RandomCentre(int low, int high);
};
