#include <gtest/gtest.h>

#include <vector>

#include "TestWindow.h"
#include "worker/WindowWorker.h"

namespace {

std::vector<int>* g_destroyedClicks = nullptr;

// A click that notes its own destruction.
class NotingClick : public ClickEvent {
public:
    NotingClick(int x, int y) : ClickEvent(x, y) {}
    ~NotingClick() override
    {
        if (g_destroyedClicks != nullptr)
            g_destroyedClicks->push_back(m_nX);
    }
};

// A worker whose status the test sets by hand, with no thread behind it.
class StatusWorker : public WindowWorker {
public:
    void Force(int status) { m_nStatus.store(status); }
};

} // namespace

TEST(WindowWorker, ClicksComeOutInTheOrderPushedAndQueuedOnesDieWithTheWorker)
{
    std::vector<int> destroyed;
    g_destroyedClicks = &destroyed;
    {
        WindowWorker worker;
        worker.PushClick(new NotingClick(1, 10));
        worker.PushClick(new NotingClick(2, 20));
        worker.PushClick(new NotingClick(3, 30));
        worker.PushClick(new NotingClick(4, 40));
        ClickEvent* first = worker.m_clickQueue.RemoveHead();
        ClickEvent* second = worker.m_clickQueue.RemoveHead();
        EXPECT_EQ(1, first->m_nX);
        EXPECT_EQ(20, second->m_nY);
        delete first;
        delete second;
        destroyed.clear();
    }
    g_destroyedClicks = nullptr;
    EXPECT_EQ((std::vector<int>{4, 3}), destroyed);
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
