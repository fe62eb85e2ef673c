// Processor time of a game: user plus kernel time of the game thread and of
// the thread that paints, per second of play, during a banner and a stage.
#include "BenchStats.h"
#include "BenchWindow.h"
#include "Benches.h"

namespace {

struct Share {
    double game;
    double ui;
};

// Percent of one core used by each thread over the given wall time.
Share Measure(HANDLE game, HANDLE ui, DWORD ms)
{
    const double game0 = ThreadCpuMs(game), ui0 = ThreadCpuMs(ui), t0 = NowMicros();
    Sleep(ms);
    const double elapsedMs = (NowMicros() - t0) / 1e3;
    return Share{(ThreadCpuMs(game) - game0) / elapsedMs * 100, (ThreadCpuMs(ui) - ui0) / elapsedMs * 100};
}

} // namespace

void RunCpuBench(Report& report)
{
    Board board;
    board.SetPlayArea(RECT{0, 0, 478, 482});
    GameWorker worker;
    BenchWindow window(board, worker);
    worker.SetOwner(window.Wnd());
    worker.m_pBoard = &board;
    board.m_bRunning = 1;
    worker.Start();
    while (worker.GetMessage().IsEmpty())
        Sleep(1);
    HANDLE game = worker.GetThreadHandle();
    Sleep(100);
    const Share banner = Measure(game, window.ThreadHandle(), 1700);
    while (!worker.GetMessage().IsEmpty() || board.MoleCount() == 0)
        Sleep(1);
    Sleep(200);
    const Share stage = Measure(game, window.ThreadHandle(), 6000);
    worker.RequestStop();
    worker.WaitForThread(INFINITE);

    auto pair = [](const Share& s) {
        return Fixed(s.game, 2) + " % game + " + Fixed(s.ui, 2) + " % paint = " + Fixed(s.game + s.ui, 2) + " %";
    };
    report.push_back({"Processor time during a banner (of one core)", pair(banner), "<= 3 %"});
    report.push_back({"Processor time during a stage, no clicks (of one core)", pair(stage),
                      "<= 3 %; game thread <= 0.83 %"});
}
