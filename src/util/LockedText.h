#pragma once
// A text two threads share: every read is a copy and every write a whole
// assignment, each under the text's own critical section, so neither thread
// ever sees a half-written string.
#include "framework/CCriticalSection.h"
#include "framework/CSingleLock.h"
#include "framework/CString.h"

class LockedText {
public:
    LockedText() = default;
    LockedText(const LockedText&) = delete;
    LockedText& operator=(const LockedText&) = delete;

    void Set(const CString& text)
    {
        CSingleLock lock(&m_cs, TRUE);
        m_str = text;
    }
    CString Get()
    {
        CSingleLock lock(&m_cs, TRUE);
        return m_str;
    }

private:
    CCriticalSection m_cs;
    CString m_str;
};
