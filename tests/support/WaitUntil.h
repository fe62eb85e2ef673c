#pragma once
// Waiting, without a message loop, for another thread to make something true.
#include <windows.h>

// Polls a condition every millisecond or so for up to timeoutMs; true as
// soon as it holds, false when the time ran out first.
template <class Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(1);
    }
    return true;
}
