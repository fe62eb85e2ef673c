#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "WaitUntil.h"
#include "test_resource_ids.h"
#include "worker/WorkerThread.h"

namespace {

// A worker whose Run passes checkpoints until told to finish, counting them;
// told to, it reports (and is held there) or throws instead.
class LoopingWorker : public WorkerThread {
public:
    ~LoopingWorker() override { StopAndWait(); }
    int Run() override
    {
        m_started = 1;
        while (m_finish.load() == 0) {
            CheckPoint();
            m_passes.fetch_add(1);
            if (m_report.load() != 0)
                Report(CString("half way"));
            if (m_throw.load() != 0)
                throw 3;
            Sleep(1);
        }
        m_returnedNormally = 1;
        return 0;
    }
    std::atomic<int> m_started{0};
    std::atomic<int> m_finish{0};
    std::atomic<int> m_passes{0};
    std::atomic<int> m_returnedNormally{0};
    std::atomic<int> m_report{0};
    std::atomic<int> m_throw{0};
};

// A worker whose Run only waits for a gate, passing no checkpoint.
class GatedWorker : public WorkerThread {
public:
    ~GatedWorker() override
    {
        m_open = 1;
        StopAndWait();
    }
    int Run() override
    {
        while (m_open.load() == 0)
            Sleep(1);
        return 0;
    }
    std::atomic<int> m_open{0};
};

// A worker that owns a message-only window, made before the worker tells
// its handle, and counts the messages its checkpoints dispatch to it.
std::atomic<int> g_dispatched{0};
LRESULT CALLBACK CountingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP)
        g_dispatched.fetch_add(1);
    return DefWindowProcW(hWnd, message, wParam, lParam);
}

class PumpingWorker : public LoopingWorker {
public:
    int Run() override
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = CountingProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"DunkoCountingWindow";
        RegisterClassW(&wc);
        const HWND window = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                          wc.hInstance, nullptr);
        m_window = window;
        const int result = LoopingWorker::Run();
        DestroyWindow(window);
        return result;
    }
    std::atomic<HWND> m_window{nullptr};
};

bool IsStatus(WorkerThread& w, int status) { return w.m_nStatus.load() == status; }

// The kernel handles this process holds. GetProcessHandleCount answers 0
// under Wine whatever is open, so ask for the flags of every handle value
// (multiples of 4) up to a bound far above what this small process uses.
int CountOpenHandles()
{
    int count = 0;
    for (ULONG_PTR value = 4; value < 0x4000; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
            ++count;
    }
    return count;
}

} // namespace

TEST(WorkerThread, EveryWayARunEndsLeavesItIdleAndTheNextRunSuspendsAndResumes)
{
    // Each way the first run ends; then a second run on the same worker,
    // as a second game is, is suspended and resumed.
    enum End { Returns, Stopped, StoppedSuspended, StoppedInReport, Throws };
    const char* names[] = {"returns", "stopped", "stopped while suspended", "stopped in its report", "throws"};
    for (End end : {Returns, Stopped, StoppedSuspended, StoppedInReport, Throws}) {
        SCOPED_TRACE(std::string("the first run ") + names[end]);
        LoopingWorker worker;
        ASSERT_EQ(0, worker.Start());
        ASSERT_TRUE(WaitUntil([&] { return worker.m_passes.load() > 3; }, 2000));
        EXPECT_TRUE(IsStatus(worker, WorkerThread::STATUS_RUNNING));
        if (end == Returns)
            worker.m_finish = 1;
        if (end == Throws)
            worker.m_throw = 1;
        if (end == StoppedSuspended) {
            worker.Suspend();
            Sleep(50); // parked at its checkpoint
        }
        if (end == StoppedInReport) {
            worker.m_report = 1;
            ASSERT_TRUE(WaitUntil([&] { return worker.m_bReportPending.load() == 1; }, 2000));
            Sleep(50);
            EXPECT_TRUE(worker.IsThreadAlive()) << "only a stop ends a report's wait";
        }
        if (end == Stopped || end == StoppedSuspended || end == StoppedInReport)
            worker.RequestStop();
        ASSERT_TRUE(worker.WaitForThread(500));
        EXPECT_TRUE(IsStatus(worker, WorkerThread::STATUS_IDLE)) << "status " << worker.m_nStatus.load();
        EXPECT_EQ(end == Returns, worker.m_returnedNormally.load() == 1);
        if (end == StoppedInReport) {
            EXPECT_EQ(CString("half way"), worker.GetReportText()); // kept until the next Start
        }

        // The new run starts with no message, and a stop raised before it
        // does not stop it.
        worker.m_finish = worker.m_report = worker.m_throw = worker.m_passes = 0;
        worker.SetMessage(CString("old news"));
        worker.RequestStop();
        ASSERT_EQ(0, worker.Start());
        EXPECT_TRUE(worker.GetMessage().IsEmpty());
        ASSERT_TRUE(WaitUntil([&] { return worker.m_passes.load() > 3; }, 2000));
        worker.Suspend();
        EXPECT_TRUE(IsStatus(worker, WorkerThread::STATUS_SUSPENDED)) << "status " << worker.m_nStatus.load();
        Sleep(50); // let it reach the checkpoint
        const int parkedAt = worker.m_passes.load();
        Sleep(150);
        EXPECT_LE(worker.m_passes.load(), parkedAt + 1) << "passes while suspended";
        worker.Resume();
        EXPECT_TRUE(IsStatus(worker, WorkerThread::STATUS_RUNNING)) << "status " << worker.m_nStatus.load();
        EXPECT_TRUE(WaitUntil([&] { return worker.m_passes.load() > parkedAt + 3; }, 500)) << "no pass after Resume";
        worker.m_finish = 1;
        ASSERT_TRUE(worker.WaitForThread(2000));
        EXPECT_TRUE(IsStatus(worker, WorkerThread::STATUS_IDLE));
    }
}

TEST(WorkerThread, MessageLoadsFromStringResourcesAsShiftJis)
{
    LoopingWorker worker;
    worker.SetMessage(IDS_TEST_GREETING);
    EXPECT_EQ(CString("ステージ開始"), worker.GetMessage());
    EXPECT_EQ(12, worker.GetMessage().GetLength()); // six double-byte characters
    worker.SetMessage(IDS_TEST_MISSING);
    EXPECT_TRUE(worker.GetMessage().IsEmpty());
}

TEST(WorkerThread, CheckpointDispatchesTheWorkerThreadsMessages)
{
    PumpingWorker worker;
    ASSERT_EQ(0, worker.Start());
    ASSERT_TRUE(WaitUntil([&] { return worker.m_passes.load() > 0; }, 2000));
    ASSERT_NE(nullptr, worker.m_window.load());
    ASSERT_TRUE(PostMessageW(worker.m_window.load(), WM_APP, 0, 0));
    EXPECT_TRUE(WaitUntil([&] { return g_dispatched.load() != 0; }, 5000)) << "the message was not dispatched";
    worker.m_finish = 1;
    ASSERT_TRUE(worker.WaitForThread(2000));
    EXPECT_EQ(1, g_dispatched.load());
}

TEST(WorkerThread, StatusReadsIdleOnceTheThreadHasEndedWhateverResumeDid)
{
    // The run ends between Suspend and Resume without passing a checkpoint:
    // Resume must not leave a running status with no thread behind it.
    GatedWorker worker;
    worker.Start();
    ASSERT_TRUE(WaitUntil([&] { return IsStatus(worker, WorkerThread::STATUS_RUNNING); }, 2000));
    worker.Suspend();
    worker.m_open = 1;
    ASSERT_TRUE(worker.WaitForThread(2000));
    worker.Resume();
    EXPECT_TRUE(IsStatus(worker, WorkerThread::STATUS_IDLE));
    worker.Suspend();
    EXPECT_TRUE(IsStatus(worker, WorkerThread::STATUS_IDLE));

    // A worker that never ran is idle after Suspend and Resume as well.
    GatedWorker fresh;
    fresh.Suspend();
    fresh.Resume();
    EXPECT_TRUE(IsStatus(fresh, WorkerThread::STATUS_IDLE));
}

TEST(WorkerThread, StartWhileTheThreadLivesStartsNoSecondThread)
{
    GatedWorker worker;
    worker.Start();
    ASSERT_TRUE(WaitUntil([&] { return IsStatus(worker, WorkerThread::STATUS_RUNNING); }, 2000));
    const int handlesBefore = CountOpenHandles();
    worker.SetMessage(CString("kept"));
    EXPECT_EQ(-1, worker.Start()) << "a start while the first thread runs";
    EXPECT_EQ(CString("kept"), worker.GetMessage()); // and nothing was reset
    EXPECT_TRUE(IsStatus(worker, WorkerThread::STATUS_RUNNING));
    EXPECT_EQ(handlesBefore, CountOpenHandles());
    worker.m_open = 1;
    ASSERT_TRUE(worker.WaitForThread(2000));
    EXPECT_EQ(0, worker.Start()) << "a start once the thread is gone";
    EXPECT_TRUE(WaitUntil([&] { return !worker.IsThreadAlive(); }, 2000));
}

TEST(WorkerThread, RunsAfterRunsAndTheDestructorLeaveNoThreadHandleOpen)
{
    const int handlesBefore = CountOpenHandles();
    {
        GatedWorker worker;
        worker.m_open = 1;
        for (int i = 0; i < 5; ++i) {
            worker.Start(); // closes the handle of the run before
            ASSERT_TRUE(worker.WaitForThread(2000));
        }
    }
    EXPECT_EQ(handlesBefore, CountOpenHandles());
}

TEST(WorkerThread, DestroyingAWorkerWaitsForItsThread)
{
    auto* worker = new LoopingWorker;
    ASSERT_EQ(0, worker->Start());
    ASSERT_TRUE(WaitUntil([&] { return worker->m_passes.load() > 0; }, 2000));
    worker->Suspend(); // parked: the destructor must lift it to stop it
    Sleep(30);
    ASSERT_EQ(1, WorkerThread::RunningThreads());
    delete worker;
    EXPECT_EQ(0, WorkerThread::RunningThreads()) << "the thread was still in its run when delete returned";
}

namespace {

// A worker whose thread the system refuses to create, until allowed.
class RefusedWorker : public LoopingWorker {
public:
    bool m_bRefuse = true;

protected:
    CWinThread* BeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam) override
    {
        return m_bRefuse ? nullptr : LoopingWorker::BeginThread(pfnThreadProc, pParam);
    }
};

} // namespace

TEST(WorkerThread, AStartTheSystemRefusesIsReportedAndLeavesTheWorkerIdle)
{
    RefusedWorker worker;
    EXPECT_EQ(-1, worker.Start());
    EXPECT_FALSE(worker.IsThreadAlive());
    EXPECT_TRUE(worker.WaitForThread(0));
    EXPECT_TRUE(IsStatus(worker, WorkerThread::STATUS_IDLE));
    worker.m_bRefuse = false;
    EXPECT_EQ(0, worker.Start());
    EXPECT_TRUE(WaitUntil([&] { return worker.m_started.load() == 1; }, 2000));
    EXPECT_EQ(-1, worker.Start()) << "a second start while the thread lives starts nothing";
    worker.m_finish = 1;
    EXPECT_TRUE(worker.WaitForThread(2000));
}

namespace {

// A worker whose events the system could not make (out of handles), until
// they are there.
class EventlessWorker : public LoopingWorker {
public:
    bool m_bEventless = true;

protected:
    BOOL EventsMade() const override { return m_bEventless ? FALSE : LoopingWorker::EventsMade(); }
};

} // namespace

TEST(WorkerThread, AWorkerWhoseEventsCouldNotBeMadeDoesNotStartRatherThanSpin)
{
    EventlessWorker worker;
    worker.SetStatus(WorkerThread::STATUS_RUNNING); // whatever it said before
    EXPECT_EQ(-1, worker.Start());
    EXPECT_FALSE(worker.IsThreadAlive());
    EXPECT_TRUE(IsStatus(worker, WorkerThread::STATUS_IDLE));
    Sleep(50);
    EXPECT_EQ(0, worker.m_started.load()) << "its run began";
    worker.m_bEventless = false;
    EXPECT_EQ(0, worker.Start());
    EXPECT_TRUE(WaitUntil([&] { return worker.m_started.load() == 1; }, 2000));
    worker.m_finish = 1;
    EXPECT_TRUE(worker.WaitForThread(2000));
}
