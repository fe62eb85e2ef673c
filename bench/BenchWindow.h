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
    // Whether the window has a repaint pending (a rough probe of invalidation).
    bool HasUpdate() const;
    void ClearUpdate();

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Loop();

    Board& m_board;
    GameWorker& m_worker;
    CWnd m_wnd;
    HANDLE m_hThread = nullptr;
    std::atomic<bool> m_ready{false};
    std::atomic<bool> m_painting{true};
    std::thread m_thread;

public:
    // While false, WM_PAINT leaves the update region alone so it can be probed.
    void SetPainting(bool painting) { m_painting = painting; }
};
