#include "framework/CWinThread.h"

#include <process.h>

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_pfnThreadProc(pfnThreadProc), m_pThreadParams(pParam)
{
}

CWinThread::~CWinThread()
{
    if (m_hThread != nullptr)
        CloseHandle(m_hThread);
}

DWORD CWinThread::ResumeThread()
{
    return ::ResumeThread(m_hThread);
}

unsigned __stdcall CWinThread::Trampoline(void* pThis)
{
    CWinThread* thread = static_cast<CWinThread*>(pThis);
    UINT exitCode = static_cast<UINT>(-1);
    // Nothing may unwind past this frame: on 32-bit Windows an exception
    // reaching the system's thread start ends the whole process.
    try {
        exitCode = thread->m_pfnThreadProc(thread->m_pThreadParams);
    } catch (...) {
    }
    if (thread->m_bAutoDelete)
        delete thread;
    return exitCode;
}

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority,
                           UINT nStackSize, DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    CWinThread* thread = new CWinThread(pfnThreadProc, pParam);
    // Always created suspended, so the priority is set and the object is
    // complete before the thread can run and delete it.
    unsigned threadId = 0;
    const uintptr_t handle = _beginthreadex(lpSecurityAttrs, nStackSize, &CWinThread::Trampoline,
                                            thread, CREATE_SUSPENDED, &threadId);
    if (handle == 0) {
        delete thread;
        return nullptr;
    }
    thread->m_hThread = reinterpret_cast<HANDLE>(handle);
    thread->m_nThreadID = threadId;
    if (nPriority != THREAD_PRIORITY_NORMAL)
        SetThreadPriority(thread->m_hThread, nPriority);
    if ((dwCreateFlags & CREATE_SUSPENDED) == 0)
        thread->ResumeThread();
    return thread;
}
