#include "BenchStats.h"

#include <algorithm>
#include <cstdio>

#include "framework/AfxCore.h"
#include "framework/CSingleLock.h"

Summary Summarize(std::vector<double> samples)
{
    Summary s;
    if (samples.empty())
        return s;
    std::sort(samples.begin(), samples.end());
    auto at = [&](double q) { return samples[static_cast<size_t>(q * static_cast<double>(samples.size() - 1) + 0.5)]; };
    s.p50 = at(0.50);
    s.p95 = at(0.95);
    s.p99 = at(0.99);
    s.max = samples.back();
    s.count = samples.size();
    return s;
}

double NowMicros()
{
    static const double perMicro = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1e6;
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / perMicro;
}

std::string Fixed(double value, int decimals)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

double ThreadCpuMs(HANDLE thread)
{
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(thread, &created, &exited, &kernel, &user))
        return 0;
    auto ms = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

bool MoleCentre(Board& board, POINT* centre)
{
    CSingleLock hold(board.m_moles.GetSection(), TRUE);
    Mole* mole = board.GetMole(0);
    if (mole == nullptr)
        return false;
    const RECT r = mole->GetRect();
    *centre = POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    return true;
}
