#pragma once
// A Win32 event owned for the object's life: one thread signals it, another
// waits on it with a timeout instead of sleeping blindly.
#include "framework/AfxCore.h"

class CEvent {
public:
    // bManualReset: stays signalled until ResetEvent; otherwise one wait
    // consumes the signal.
    explicit CEvent(BOOL bInitiallyOwn = FALSE, BOOL bManualReset = FALSE)
        : m_hObject(CreateEventW(nullptr, bManualReset, bInitiallyOwn, nullptr))
    {
    }
    ~CEvent()
    {
        if (m_hObject != nullptr)
            CloseHandle(m_hObject);
    }
    CEvent(const CEvent&) = delete;
    CEvent& operator=(const CEvent&) = delete;

    BOOL SetEvent() { return ::SetEvent(m_hObject); }
    BOOL ResetEvent() { return ::ResetEvent(m_hObject); }
    // TRUE when the event was signalled within the time.
    BOOL Lock(DWORD dwTimeout = INFINITE) { return WaitForSingleObject(m_hObject, dwTimeout) == WAIT_OBJECT_0; }

    HANDLE m_hObject;
};
