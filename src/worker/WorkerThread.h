#pragma once
// A cooperative worker thread. The controlling thread only raises request
// words; the worker honours them at the checkpoints its Run passes, where it
// also drains its own message queue. A stop arrives as a thrown int -1 that
// unwinds Run and is caught in the thread's entry function.
#include <atomic>

#include "framework/CEvent.h"
#include "framework/CString.h"
#include "framework/CWinThread.h"
#include "framework/CWnd.h"
#include "util/LockedText.h"

class WorkerThread {
public:
    enum { STATUS_IDLE = 0, STATUS_RUNNING = 1, STATUS_SUSPENDED = 2 };

    WorkerThread();
    // Raises the stop request, lifts any suspension and waits for the thread:
    // the object must outlive the thread that runs its Run.
    virtual ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    virtual void CheckPoint();
    virtual int Run() = 0;
    virtual void OnReport() {}
    virtual void OnSuspend() {}
    virtual void OnResume() {}
    virtual void OnStop() {}
    virtual void SetMessage(UINT nID);
    virtual void SetMessage(CString text);
    virtual void Report(UINT nID);
    virtual void Report(CString text);

    // Starts Run on a new thread: 0 when it runs, -1 when none was started.
    // That is so while the previous thread of this worker is still alive
    // (it runs on, and the status stays what it says of it), and when the
    // worker's events could not be made or the system refused a new thread
    // (then the worker is idle).
    int Start();
    int Suspend();
    int Resume();
    int RequestStop();

    CString GetMessage();
    CString GetReportText();
    void SetReportText(CString text);

    void SetOwner(CWnd* pOwner) { m_pOwner.store(pOwner); }
    CWnd* GetOwner() const { return m_pOwner.load(); }

    void SetStatus(int nStatus) { m_nStatus.store(nStatus); }
    void SetIdle() { SetStatus(STATUS_IDLE); }
    void SetRunning() { SetStatus(STATUS_RUNNING); }
    void SetSuspended() { SetStatus(STATUS_SUSPENDED); }

    // Whether the thread of the last Start still exists, from its handle
    // rather than the status word.
    BOOL IsThreadAlive() const;
    // Waits up to dwMilliseconds for that thread to end; TRUE once it has
    // (or when there is none).
    BOOL WaitForThread(DWORD dwMilliseconds);
    // The thread of the last Start (null before the first), for timing it.
    HANDLE GetThreadHandle() const { return m_pThread != nullptr ? m_pThread->m_hThread : nullptr; }
    // Worker threads of every worker in the process that are inside their
    // run right now, for tests that check no thread is left over.
    static int RunningThreads() { return s_nRunningThreads.load(); }

    std::atomic<int> m_bSuspendRequest{0};
    std::atomic<int> m_bStopRequest{0};
    // The thread of the last Start, owned here (not deleting itself) so its
    // handle stays waitable after the thread is gone.
    CWinThread* m_pThread = nullptr;
    std::atomic<int> m_nStatus{STATUS_IDLE};
    std::atomic<int> m_bReportPending{0};

protected:
    // Makes the thread object, created suspended; null when the system
    // refuses. A test stands in a failing one here.
    virtual CWinThread* BeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
    // Whether every event the worker's waits end on was made: without them
    // each wait would return at once and the run would spin. A derived
    // worker with events of its own adds them; a test stands in a worker
    // whose events could not be made.
    virtual BOOL EventsMade() const;
    void Reset();
    // On the worker thread: takes a raised stop request the way a checkpoint
    // does (throws), without draining messages or honouring a suspension.
    void StopIfRequested();
    // Signalled from RequestStop until the stop is taken, to wait on.
    HANDLE StopEvent() const { return m_evStop.m_hObject; }
    // For the destructors of derived classes: the thread runs their Run, so
    // it has to be gone before their part of the object is.
    void StopAndWait();

private:
    static UINT ThreadEntry(LPVOID pParam);
    void PumpMessages();
    [[noreturn]] void ThrowStop();
    // After a thread's end the status must read idle; the controller checks
    // this flag after writing a status so it cannot revive a finished run.
    void KeepIdleAfterEnd();

    LockedText m_message;
    LockedText m_report;
    std::atomic<CWnd*> m_pOwner{nullptr};

    CEvent m_evStop{FALSE, TRUE};        // mirrors m_bStopRequest, so waits can end on it
    std::atomic<int> m_bRunEnded{0};     // set by the thread just before it writes STATUS_IDLE
    static std::atomic<int> s_nRunningThreads;
};
