#pragma once
// A Win32 critical section owned for the object's life. Take it through a
// CSingleLock so every way out of a scope releases it.
#include "framework/AfxCore.h"

class CCriticalSection {
public:
    CCriticalSection() { InitializeCriticalSection(&m_section); }
    ~CCriticalSection() { DeleteCriticalSection(&m_section); }
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;

    BOOL Lock()
    {
        EnterCriticalSection(&m_section);
        return TRUE;
    }
    BOOL Unlock()
    {
        LeaveCriticalSection(&m_section);
        return TRUE;
    }

private:
    CRITICAL_SECTION m_section;
};
