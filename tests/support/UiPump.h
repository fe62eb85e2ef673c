#pragma once
// Runs this thread's messages the way a dialog's message loop would, and
// notes the longest time a single message kept the thread busy.
#include <chrono>
#include <functional>

#include <windows.h>

class UiPump {
public:
    // Dispatches messages until the condition holds or the time is up; the
    // condition is also looked at after every message. True when it held.
    bool Until(const std::function<bool()>& condition, DWORD timeoutMs);
    void For(DWORD ms);

    // Runs one action (a sent message, say) and counts its time like a message's.
    void Timed(const std::function<void()>& action);

    // Called after every dispatched message and timed action.
    std::function<void()> m_onStep;
    double m_longestMs = 0;

private:
    void Note(std::chrono::steady_clock::time_point start);
};
