#pragma once
// Drives a real GameWorker for the game-loop tests: a hidden owner window, a
// board with the game's play area, a recorder that notes every message and
// status line the game shows.
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "GameLayout.h"
#include "MoleScene.h"
#include "TestWindow.h"
#include "WaitUntil.h"
#include "game/GameWorker.h"

// A text shown by the game and when it first appeared (GetTickCount ms).
struct Shown {
    std::string text;
    DWORD at;
};

class GameRecorder {
public:
    explicit GameRecorder(GameWorker& worker, Board& board);
    ~GameRecorder();

    std::vector<Shown> Messages();  // every change of the message text, empties included
    std::vector<Shown> Statuses();  // every change of the status line

private:
    void Loop();

    GameWorker& m_worker;
    Board& m_board;
    std::mutex m_mutex;
    std::vector<Shown> m_messages;
    std::vector<Shown> m_statuses;
    std::atomic<bool> m_quit{false};
    std::thread m_thread;
};

// Where the n-th moles of a game land: every game thread's rand() starts
// from the same seed, so a fresh thread placing moles on a board with the
// same play area predicts them.
std::vector<RECT> PredictMoleSpots(int count);
