#include <gtest/gtest.h>

#include <vector>

#include "DestructionLog.h"
#include "TestWindow.h"
#include "worker/WindowWorker.h"

namespace {

// A worker whose status the test sets by hand, with no thread behind it.
class StatusWorker : public WindowWorker {
public:
    void Force(int status) { m_nStatus.store(status); }
};

} // namespace

TEST(WindowWorker, ClicksComeOutInTheOrderPushedAndQueuedOnesDieWithTheWorker)
{
    DestructionLog destroyed;
    {
        WindowWorker worker;
        for (int i = 1; i <= 4; ++i)
            worker.PushClick(new Noted<ClickEvent>(destroyed, i, i, i * 10));
        ClickEvent* first = worker.m_clickQueue.RemoveHead();
        ClickEvent* second = worker.m_clickQueue.RemoveHead();
        EXPECT_EQ(1, first->m_nX);
        EXPECT_EQ(20, second->m_nY);
        delete first;
        delete second;
    }
    EXPECT_EQ((std::vector<int>{1, 2, 4, 3}), destroyed.Tags()) << "the taken clicks, then the queue's from its tail";
}

TEST(WindowWorker, RegisteredControlsFollowTheStatus)
{
    TestWindow owner;
    const HWND running = owner.AddButton(2001);
    const HWND idle = owner.AddButton(2002);
    const HWND untouched = owner.AddButton(2003);
    StatusWorker worker;
    worker.SetOwner(owner.Wnd());
    worker.m_runningControls.AddTail(new int(2001));
    worker.m_idleControls.AddTail(new int(2002));
    worker.m_idleControls.AddTail(new int(4242)); // names no child: skipped

    struct Case {
        int status;
        BOOL runningEnabled;
        BOOL idleEnabled;
    };
    const Case cases[] = {
        {WorkerThread::STATUS_RUNNING, TRUE, FALSE},
        {WorkerThread::STATUS_IDLE, FALSE, TRUE},
        {WorkerThread::STATUS_SUSPENDED, FALSE, FALSE},
        {WorkerThread::STATUS_RUNNING, TRUE, FALSE},
    };
    for (const Case& c : cases) {
        worker.Force(c.status);
        worker.UpdateControls();
        EXPECT_EQ(c.runningEnabled, IsWindowEnabled(running) != 0) << "status " << c.status;
        EXPECT_EQ(c.idleEnabled, IsWindowEnabled(idle) != 0) << "status " << c.status;
        EXPECT_TRUE(IsWindowEnabled(untouched));
    }
}

TEST(WindowWorker, WithNothingRegisteredUpdateControlsChangesNothing)
{
    TestWindow owner;
    const HWND button = owner.AddButton(2001);
    EnableWindow(button, FALSE);
    StatusWorker worker;
    worker.SetOwner(owner.Wnd());
    for (int status : {0, 1, 2}) {
        worker.Force(status);
        worker.UpdateControls();
        EXPECT_FALSE(IsWindowEnabled(button));
    }
}

TEST(WindowWorker, ItsOwnRunEndsAtOnce)
{
    WindowWorker worker;
    worker.Start();
    ASSERT_TRUE(worker.WaitForThread(2000));
    EXPECT_EQ(WorkerThread::STATUS_IDLE, worker.m_nStatus.load());
}
