#include "MoleScene.h"

#include "framework/CSingleLock.h"

bool CurrentMoleRect(Board& board, RECT* rect)
{
    CSingleLock hold(board.m_moles.GetSection(), TRUE);
    Mole* mole = board.GetMole(0);
    if (mole == nullptr)
        return false;
    *rect = mole->GetRect();
    return true;
}
