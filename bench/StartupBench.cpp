// Start-up: from process creation to the first paint of the main dialog,
// seen on the screen, against the smallest dialog program as the floor.
#include <cstdio>

#include "BenchStats.h"
#include "Benches.h"
#include "framework/AfxCore.h"

namespace {

constexpr COLORREF kTitleBackground = RGB(38, 38, 38);
constexpr int kRuns = 12;

// The screen pixel at the centre of the window's client area, or CLR_INVALID.
COLORREF ClientCentrePixel(HWND hWnd)
{
    RECT client;
    if (!GetClientRect(hWnd, &client) || client.right < 10)
        return CLR_INVALID;
    POINT centre = {client.right / 2, client.bottom * 3 / 4};
    ClientToScreen(hWnd, &centre);
    HDC screen = GetDC(nullptr);
    const COLORREF pixel = GetPixel(screen, centre.x, centre.y);
    ReleaseDC(nullptr, screen);
    return pixel;
}

struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindVisibleOf(HWND hWnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    if (pid == search->pid && IsWindowVisible(hWnd)) {
        search->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

// Milliseconds from CreateProcess to the client showing the title colour;
// negative when it never did.
double TimeToFirstPaint(const std::wstring& exe, const std::wstring& dir)
{
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::wstring commandLine = L"\"" + exe + L"\"";
    const double start = NowMicros();
    if (!CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi))
        return -1;
    double result = -1;
    while (NowMicros() - start < 15e6) {
        Search search = {pi.dwProcessId, nullptr};
        EnumWindows(&FindVisibleOf, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr && ClientCentrePixel(search.found) == kTitleBackground) {
            result = (NowMicros() - start) / 1000;
            break;
        }
        Sleep(1);
    }
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    Sleep(200);
    return result;
}

Summary Measure(const std::wstring& exe, const std::wstring& dir)
{
    TimeToFirstPaint(exe, dir); // warm-up
    std::vector<double> samples;
    for (int i = 0; i < kRuns; ++i) {
        const double ms = TimeToFirstPaint(exe, dir);
        if (ms >= 0)
            samples.push_back(ms);
    }
    return Summarize(samples);
}

} // namespace

void RunStartupBench(Report& report, const std::wstring& gameExe, const std::wstring& floorExe,
                     const std::wstring& workingDir)
{
    const Summary floor = Measure(floorExe, workingDir);
    const Summary game = Measure(gameExe, workingDir);
    auto line = [](const Summary& s) {
        return Fixed(s.p50, 0) + " / " + Fixed(s.p95, 0) + " ms (" + std::to_string(s.count) + " runs)";
    };
    report.push_back({"Start-up floor: minimal dialog to first paint (p50 / p95)", line(floor), ""});
    report.push_back({"Start-up: game to first paint of the title view (p50 / p95)", line(game),
                      "<= 1.2 x floor; " + Fixed(floor.p50 > 0 ? game.p50 / floor.p50 : 0, 2) + " x"});
}
