#include "UiPump.h"

bool UiPump::Until(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const DWORD begin = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - begin > timeoutMs)
            return false;
        MSG msg;
        bool any = false;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            any = true;
            const auto start = std::chrono::steady_clock::now();
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            Note(start);
            if (condition())
                return true;
        }
        if (!any)
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        if (m_onStep)
            m_onStep();
    }
}

void UiPump::For(DWORD ms)
{
    Until([] { return false; }, ms);
}

void UiPump::Timed(const std::function<void()>& action)
{
    const auto start = std::chrono::steady_clock::now();
    action();
    Note(start);
}

void UiPump::Note(std::chrono::steady_clock::time_point start)
{
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (ms > m_longestMs)
        m_longestMs = ms;
    if (m_onStep)
        m_onStep();
}
