#pragma once
// A visible window on a thread of its own that paints a board the way the
// game's dialog does: the worker's message and the board, on every WM_PAINT.
#include <atomic>
#include <thread>

#include "framework/CWnd.h"
#include "game/GameWorker.h"

class BenchWindow {
public:
    BenchWindow(Board& board, GameWorker& worker);
    ~BenchWindow();

    CWnd* Wnd() { return &m_wnd; }
    HANDLE ThreadHandle() const { return m_hThread; }

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Loop();

    Board& m_board;
    GameWorker& m_worker;
    CWnd m_wnd;
    HANDLE m_hThread = nullptr;
    std::atomic<bool> m_ready{false};
    std::thread m_thread;
};
