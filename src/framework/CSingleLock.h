#pragma once
// Scope of one hold on a critical section: locks on construction when asked,
// and releases on destruction if still held (also when an exception passes).
#include "framework/CCriticalSection.h"

class CSingleLock {
public:
    explicit CSingleLock(CCriticalSection* pObject, BOOL bInitialLock = FALSE)
        : m_pObject(pObject)
    {
        if (bInitialLock)
            Lock();
    }
    ~CSingleLock() { Unlock(); }
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

    BOOL Lock()
    {
        if (!m_bLocked) {
            m_pObject->Lock();
            m_bLocked = TRUE;
        }
        return TRUE;
    }
    BOOL Unlock()
    {
        if (m_bLocked) {
            m_bLocked = FALSE;
            m_pObject->Unlock();
        }
        return TRUE;
    }
    BOOL IsLocked() const { return m_bLocked; }

private:
    CCriticalSection* m_pObject;
    BOOL m_bLocked = FALSE;
};
