#include "worker/WorkerThread.h"


std::atomic<int> WorkerThread::s_nRunningThreads{0};

WorkerThread::WorkerThread()
{
    Reset();
}

WorkerThread::~WorkerThread()
{
    RequestStop();
    StopAndWait();
    delete m_pThread;
}

void WorkerThread::StopAndWait()
{
    if (m_pThread == nullptr)
        return;
    RequestStop();
    m_bSuspendRequest.store(0);
    WaitForSingleObject(m_pThread->m_hThread, INFINITE);
}

void WorkerThread::Reset()
{
    m_bSuspendRequest.store(0);
    m_nStatus.store(STATUS_IDLE);
    m_bStopRequest.store(0);
    m_evStop.ResetEvent();
    m_bReportPending.store(0);
    m_bRunEnded.store(0);
    m_message.Set("");
    m_report.Set("");
}

int WorkerThread::Start()
{
    if (IsThreadAlive())
        return -1;
    delete m_pThread;
    m_pThread = nullptr;
    Reset();
    if (!EventsMade())
        return -1;
    CWinThread* thread = BeginThread(&WorkerThread::ThreadEntry, this);
    if (thread == nullptr)
        return -1;
    // Still suspended: the object cannot have deleted itself yet, and from
    // now on it never will; it is ours until the next start.
    thread->m_bAutoDelete = FALSE;
    if (thread->ResumeThread() == static_cast<DWORD>(-1)) {
        // It never ran a line of ours: end it, and this start has failed.
        TerminateThread(thread->m_hThread, 0);
        WaitForSingleObject(thread->m_hThread, INFINITE);
        delete thread;
        return -1;
    }
    m_pThread = thread;
    return 0;
}

CWinThread* WorkerThread::BeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
{
    return AfxBeginThread(pfnThreadProc, pParam, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED, nullptr);
}

BOOL WorkerThread::EventsMade() const
{
    return m_evStop.m_hObject != nullptr;
}

int WorkerThread::Suspend()
{
    OnSuspend();
    m_bSuspendRequest.store(1);
    SetSuspended();
    KeepIdleAfterEnd();
    return 0;
}

int WorkerThread::Resume()
{
    OnResume();
    m_bSuspendRequest.store(0);
    SetRunning();
    KeepIdleAfterEnd();
    return 0;
}

int WorkerThread::RequestStop()
{
    m_bStopRequest.store(1);
    m_evStop.SetEvent();
    return 0;
}

void WorkerThread::StopIfRequested()
{
    if (m_bStopRequest.load() != 0)
        ThrowStop();
}

void WorkerThread::KeepIdleAfterEnd()
{
    // The thread raises m_bRunEnded before its final STATUS_IDLE store. If we
    // see the flag, our store may have come after that one, so write idle
    // again; if we do not, the thread's idle store is still to come.
    if (m_bRunEnded.load() != 0 || m_pThread == nullptr)
        SetIdle();
}

BOOL WorkerThread::IsThreadAlive() const
{
    return m_pThread != nullptr && WaitForSingleObject(m_pThread->m_hThread, 0) == WAIT_TIMEOUT;
}

BOOL WorkerThread::WaitForThread(DWORD dwMilliseconds)
{
    return m_pThread == nullptr || WaitForSingleObject(m_pThread->m_hThread, dwMilliseconds) != WAIT_TIMEOUT;
}

UINT WorkerThread::ThreadEntry(LPVOID pParam)
{
    WorkerThread* worker = static_cast<WorkerThread*>(pParam);
    s_nRunningThreads.fetch_add(1);
    worker->SetRunning();
    try {
        worker->Run();
    } catch (...) {
        // A stop (the int -1 from CheckPoint) or any other failure ends the run quietly.
    }
    worker->m_bRunEnded.store(1);
    worker->SetIdle();
    s_nRunningThreads.fetch_sub(1);
    return 0;
}

void WorkerThread::PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void WorkerThread::ThrowStop()
{
    OnStop();
    m_bStopRequest.store(0);
    m_evStop.ResetEvent();
    throw -1;
}

void WorkerThread::CheckPoint()
{
    if (m_bSuspendRequest.load() != 0) {
        do {
            PumpMessages();
            Sleep(10);
            if (m_bStopRequest.load() != 0)
                ThrowStop();
        } while (m_bSuspendRequest.load() != 0);
    }
    while (m_bReportPending.load() != 0) {
        PumpMessages();
        Sleep(10);
        if (m_bStopRequest.load() != 0)
            ThrowStop();
    }
    PumpMessages();
    if (m_bStopRequest.load() != 0)
        ThrowStop();
}

void WorkerThread::SetMessage(UINT nID)
{
    CString text;
    text.LoadString(nID);
    m_message.Set(text);
}

void WorkerThread::SetMessage(CString text)
{
    m_message.Set(text);
}

CString WorkerThread::GetMessage()
{
    return m_message.Get();
}

void WorkerThread::Report(UINT nID)
{
    CString text;
    text.LoadString(nID);
    Report(text);
}

void WorkerThread::Report(CString text)
{
    SetReportText(text);
    m_bReportPending.store(1);
    OnReport();
    CheckPoint();
}

void WorkerThread::SetReportText(CString text)
{
    m_report.Set(text);
}

CString WorkerThread::GetReportText()
{
    return m_report.Get();
}
