// Paint: the board's Draw of each view into a memory bitmap the size of the
// client area, against the floor of one plain fill of that area.
#include "BenchStats.h"
#include "Benches.h"
#include "framework/CDC.h"
#include "draw/OffscreenCanvas.h"
#include "framework/CSingleLock.h"
#include "game/Board.h"
#include "util/DpiScale.h"

namespace {

constexpr int kWidth = 478;
constexpr int kHeight = 482;
constexpr int kWarmUp = 50;
constexpr int kSamples = 600;

template <class Paint>
Summary Time(Paint paint)
{
    for (int i = 0; i < kWarmUp; ++i)
        paint();
    std::vector<double> samples;
    for (int i = 0; i < kSamples; ++i) {
        const double start = NowMicros();
        paint();
        GdiFlush();
        samples.push_back(NowMicros() - start);
    }
    return Summarize(samples);
}

// The title and the running view drawn into a memory bitmap the size of
// the client area at dpi, with a floor of one plain fill of it.
struct ViewTimes {
    Summary floor;
    Summary title;
    Summary running;
};

ViewTimes TimeViews(Board& board, int dpi)
{
    const DpiScale scale(dpi);
    const int width = scale.Scale(kWidth);
    const int height = scale.Scale(kHeight);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    CMemoryDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap canvas;
    canvas.Attach(CreateDIBSection(dc.GetSafeHdc(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const CBitmapRef previous = dc.SelectObject(&canvas);
    board.SetDpi(dpi);
    ViewTimes times;
    times.floor = Time([&] { PatBlt(dc.GetSafeHdc(), 0, 0, width, height, BLACKNESS); });
    board.m_bRunning = 0;
    times.title = Time([&] { board.Draw(&dc, CString()); });
    board.m_bRunning = 1;
    times.running = Time([&] { board.Draw(&dc, CString("ステージ1")); });
    dc.SelectObject(previous);
    return times;
}

} // namespace

void RunPaintBench(Report& report)
{
    Board board;
    board.SetAreas(BoardAreas{RECT{0, 0, kWidth, kHeight}, RECT{69, 54, 423, 186}, RECT{177, 234, 313, 286},
                              RECT{177, 323, 313, 375}});
    board.SetTitle("ぬらぽん");
    board.Spawn(1);
    board.SetStatusText("Stage:1  Dunko：3/10 匹 Time:2.5");
    const ViewTimes at144 = TimeViews(board, 144);
    const ViewTimes at192 = TimeViews(board, 192);
    const ViewTimes at96 = TimeViews(board, 96);
    const Summary& floor = at96.floor;
    const Summary& title = at96.title;
    const Summary& running = at96.running;

    // As the dialog paints: into an off-screen bitmap made for a window's
    // context, then one blit onto the window.
    const HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr,
                                        nullptr, GetModuleHandleW(nullptr), nullptr);
    const HDC windowDC = GetDC(window);
    CBorrowedDC screen(windowDC);
    const RECT client = {0, 0, kWidth, kHeight};
    BackBuffer kept;
    const Summary buffered = Time([&] {
        OffscreenCanvas canvas(&screen, client, kept);
        board.Draw(canvas.GetDC(), CString("ステージ1"));
        canvas.Present();
    });
    // The same with a bitmap made for every paint, for comparison.
    const Summary fresh = Time([&] {
        BackBuffer once;
        OffscreenCanvas canvas(&screen, client, once);
        board.Draw(canvas.GetDC(), CString("ステージ1"));
        canvas.Present();
    });
    const Summary direct = Time([&] { board.Draw(&screen, CString("ステージ1")); });
    ReleaseDC(window, windowDC);
    DestroyWindow(window);

    auto line = [](const Summary& s) { return Fixed(s.p50, 1) + " / " + Fixed(s.p95, 1) + " us"; };
    report.push_back({"Paint floor: one fill of 478 x 482 (p50 / p95)", line(floor), ""});
    report.push_back({"Paint, title view (p50 / p95)", line(title),
                      Fixed(title.p50 / floor.p50, 1) + " x floor"});
    report.push_back({"Paint, running view: mole, banner, status (p50 / p95)", line(running),
                      "p50 <= 300 us; " + Fixed(running.p50 / floor.p50, 1) + " x floor"});
    for (const auto& scaled : {std::make_pair(144, &at144), std::make_pair(192, &at192)}) {
        const std::string dpi = std::to_string(scaled.first) + " dpi";
        const ViewTimes& t = *scaled.second;
        report.push_back({"Paint at " + dpi + ", title view (p50 / p95)", line(t.title),
                          Fixed(t.title.p50 / title.p50, 2) + " x at 96 dpi"});
        report.push_back({"Paint at " + dpi + ", running view (p50 / p95)", line(t.running),
                          (scaled.first == 192 ? std::string("p50 <= 4 x at 96 dpi; ") : std::string()) +
                              Fixed(t.running.p50 / running.p50, 2) + " x at 96 dpi"});
    }
    report.push_back({"Paint, running view straight onto a window (p50 / p95)", line(direct),
                      Fixed(direct.p50 / running.p50, 2) + " x the running view"});
    report.push_back({"Paint, running view off-screen (kept bitmap) and blitted to a window (p50 / p95)",
                      line(buffered),
                      "p50 <= 1.5 x the running view; " + Fixed(buffered.p50 / running.p50, 2) + " x"});
    report.push_back({"Paint, the same with a new bitmap for every paint (p50 / p95)", line(fresh),
                      Fixed(fresh.p50 / running.p50, 2) + " x the running view"});
}
