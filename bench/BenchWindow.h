#pragma once
// A visible window on a thread of its own that paints a board the way the
// game's dialog does (the worker's message and the board, off-screen, on every
// WM_PAINT), and tells a waiting thread what each paint showed.
#include <atomic>
#include <thread>

#include "draw/BackBuffer.h"
#include "framework/CEvent.h"
#include "framework/CSingleLock.h"
#include "framework/CWnd.h"
#include "game/GameWorker.h"

class BenchWindow {
public:
    BenchWindow(Board& board, GameWorker& worker);
    ~BenchWindow();

    CWnd* Wnd() { return &m_wnd; }
    HANDLE ThreadHandle() const { return m_hThread; }

    // One finished paint: its number (counting from 1), when the picture was
    // complete, and the status line it showed.
    struct Paint {
        long serial = 0;
        double doneMicros = 0;
        CString status;
    };
    Paint LastPaint();
    // Waits, without spinning, for a paint numbered above `serial`; false
    // when none came within the time.
    bool WaitForPaintAfter(long serial, DWORD milliseconds);

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void Loop();

    Board& m_board;
    GameWorker& m_worker;
    CWnd m_wnd;
    BackBuffer m_backBuffer;
    HANDLE m_hThread = nullptr;
    std::atomic<bool> m_ready{false};
    CCriticalSection m_paintLock;
    Paint m_lastPaint;
    CEvent m_evPainted; // auto-reset: set after every paint
    std::thread m_thread;
};
