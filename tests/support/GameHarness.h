#pragma once
// For the game-loop tests: the game's layout, its windows and waits, and
// where its moles land.
#include <vector>

#include "GameLayout.h"
#include "MoleScene.h"
#include "TestWindow.h"
#include "WaitUntil.h"
#include "game/GameWorker.h"

// Where the n-th moles of a game land: every game thread's rand() starts
// from the same seed, so a fresh thread placing moles on a board with the
// same play area predicts them (on a board at dpi).
std::vector<RECT> PredictMoleSpots(int count, int dpi = 96);
