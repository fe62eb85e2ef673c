#pragma once
// The game's layout on a 96-dpi screen: the main dialog's 319 x 297
// dialog-unit client in its 9 pt font, with the title, start and exit areas
// its hidden controls give, in pixels.
#include "game/Board.h"

constexpr RECT kPlayArea = {0, 0, 478, 482};
constexpr RECT kTitle = {69, 54, 423, 132};
constexpr RECT kStart = {177, 234, 313, 286};
constexpr RECT kExit = {177, 323, 313, 375};

inline POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// Gives a board the game's areas at 96 dpi (the play area may be another)
// and title.
inline void LayOut(Board& board, RECT playArea = kPlayArea)
{
    board.SetAreas(BoardAreas{playArea, kTitle, kStart, kExit});
    board.SetTitle("ぬらぽん");
}
