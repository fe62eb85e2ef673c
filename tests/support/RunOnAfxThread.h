#pragma once
// Runs a function on a thread started by AfxBeginThread, as the game starts
// its worker and sound threads (through _beginthreadex), and waits for it.
#include <gtest/gtest.h>

#include "framework/CWinThread.h"

template <class Fn>
void RunOnAfxThread(Fn fn)
{
    struct Call {
        Fn* fn;
        static UINT Entry(LPVOID p)
        {
            (*static_cast<Call*>(p)->fn)();
            return 0;
        }
    } call{&fn};
    CWinThread* thread = AfxBeginThread(&Call::Entry, &call, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, thread);
    thread->m_bAutoDelete = FALSE;
    thread->ResumeThread();
    WaitForSingleObject(thread->m_hThread, INFINITE);
    delete thread;
}
