#include "game/Board.h"

#include <cstdlib>

#include "framework/CSingleLock.h"
#include "game/BoardColours.h"

Board::~Board()
{
    RemoveAllMoles();
}

void Board::Draw(CDC* pDC, CString message)
{
    if (m_bRunning.load() != 0) {
        FillPlayArea(pDC, BoardColours::kField);
        DrawMoles(pDC);
        DrawCenterMessage(pDC, message, 200, BoardColours::kMessage, FALSE);
        DrawStatus(pDC, BoardColours::kStatus);
    } else {
        FillPlayArea(pDC, BoardColours::kShadow);
        DrawTitle(pDC);
        DrawButtons(pDC, 250);
    }
}

void Board::Clear()
{
    RemoveAllMoles();
    m_nHits.store(0);
    SetStatusText("");
}

int Board::RandomCentre(int low, int high)
{
    const int range = high - low - 60;
    if (range <= 0)
        return (low + high) / 2;
    // rand() is never seeded and its state is per thread, so every game's
    // thread places its n-th mole on the same spot.
    return std::rand() % range + low + 30;
}

void Board::Spawn(int count)
{
    // Held across the whole replacement so a painter never sees a mole that
    // is being destroyed or one not yet placed and sized.
    CSingleLock hold(m_moles.GetSection(), TRUE);
    RemoveAllMoles();
    const RECT& area = m_areas96.playArea;
    for (int i = 0; i < count; ++i) {
        const int x = RandomCentre(area.left, area.right);
        const int y = RandomCentre(area.top, area.bottom);
        Mole* mole = m_moles.AddNew();
        mole->SetX(x);
        mole->SetY(y);
        mole->SetSize(50, 50);
        mole->SetDpi(Scale().Dpi());
    }
}

void Board::SetDpi(int dpi)
{
    // Under the moles' section, as Spawn: no mole is placed meanwhile at
    // the old scale.
    CSingleLock hold(m_moles.GetSection(), TRUE);
    BoardBase::SetDpi(dpi);
    for (int i = 0; i < MoleCount(); ++i)
        GetMole(i)->SetDpi(Scale().Dpi());
}

void Board::DrawMoles(CDC* pDC)
{
    // The whole pass holds the list's section: the game thread cannot destroy
    // a mole while it is drawn.
    CSingleLock pass(m_moles.GetSection(), TRUE);
    const int count = MoleCount();
    for (int i = 0; i < count; ++i) {
        Mole* mole = GetMole(i);
        if (mole != nullptr)
            mole->Draw(pDC);
    }
}
