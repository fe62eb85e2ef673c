// Hit latency: from PushClick of a click on the mole to the end of the first
// paint that shows the hit counted, over a few hundred hits in running games.
// The window paints on a thread of its own, as the game's dialog does, and
// the benchmark waits for its paints without polling, so it takes no core
// away from the threads it measures.
#include <cstdio>

#include "BenchStats.h"
#include "BenchWindow.h"
#include "Benches.h"
#include "game/GameWorker.h"

namespace {

// The part of the status line that shows `hits`, as the game formats it.
CString HitsShown(int hits)
{
    CString text;
    text.Format("Dunko：%d/", hits);
    return text;
}

bool Shows(const CString& status, const CString& part)
{
    return std::string(status.GetString()).find(part.GetString()) != std::string::npos;
}

} // namespace

void RunHitLatencyBench(Report& report)
{
    constexpr int kHits = 240;
    constexpr int kWarmUp = 10;
    Board board;
    board.SetPlayArea(RECT{0, 0, 478, 482});
    GameWorker worker;
    BenchWindow window(board, worker);
    worker.SetOwner(window.Wnd());
    worker.m_pBoard = &board;

    std::vector<double> samples;
    unsigned seed = 1;
    int taken = 0;
    while (taken < kHits + kWarmUp) {
        if (!worker.IsThreadAlive()) {
            board.m_bRunning = 1;
            worker.Start();
        }
        POINT centre;
        if (!worker.GetMessage().IsEmpty() || !MoleCentre(board, &centre)) {
            Sleep(1);
            continue;
        }
        // A mole is up and no banner shows. Click it once the game has shown
        // it, as a player would: after the paint that follows the game's
        // 100 ms pause after placing it (a paint asked for earlier may show
        // it sooner, but a click then waits out the pause).
        Sleep(110);
        window.WaitForPaintAfter(window.LastPaint().serial, 1000);
        // A player's click falls anywhere in the game's 20 ms poll, not just
        // after a repaint: spread the clicks over that period.
        seed = seed * 1103515245u + 12345u;
        Sleep((seed >> 16) % 20);
        const int hits = board.m_nHits.load();
        const CString counted = HitsShown(hits + 1);
        long serial = window.LastPaint().serial;
        const double start = NowMicros();
        worker.PushClick(new ClickEvent(centre.x, centre.y));
        const double give_up = start + 1e6;
        double end = 0;
        while (end == 0 && NowMicros() < give_up) {
            if (!window.WaitForPaintAfter(serial, 1000))
                break;
            const BenchWindow::Paint paint = window.LastPaint();
            if (Shows(paint.status, counted))
                end = paint.doneMicros;
            serial = paint.serial;
        }
        if (end != 0 && ++taken > kWarmUp)
            samples.push_back(end - start);
        // Wait for the next mole rather than clicking the same spot again.
        while (board.MoleCount() > 0 && board.m_nHits.load() != hits && NowMicros() < give_up + 1e6) {
            POINT next;
            if (MoleCentre(board, &next) && (next.x != centre.x || next.y != centre.y))
                break;
            Sleep(1);
        }
    }
    worker.RequestStop();
    worker.WaitForThread(INFINITE);

    const Summary s = Summarize(samples);
    report.push_back({"Hit latency to the repaint's end, " + std::to_string(s.count) + " hits (p50 / p95 / p99 / max)",
                      Fixed(s.p50 / 1000, 1) + " / " + Fixed(s.p95 / 1000, 1) + " / " + Fixed(s.p99 / 1000, 1) +
                          " / " + Fixed(s.max / 1000, 1) + " ms",
                      "p95 <= 3 ms, max <= 10 ms"});
}
