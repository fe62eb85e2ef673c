#pragma once
// A worker that works for a window: it takes the window's mouse releases in
// a locked queue, keeps the stage index of its job, and enables registered
// controls of the owner window according to its status.
#include "framework/CEvent.h"
#include "game/ClickEvent.h"
#include "util/LockedPtrList.h"
#include "worker/WorkerThread.h"

class WindowWorker : public WorkerThread {
public:
    WindowWorker();
    ~WindowWorker() override;

    int Run() override { return 0; }
    virtual void UpdateControls();

    // Queues a release for the worker thread; the queue owns it from now on.
    // Wakes a worker that waits for clicks.
    void PushClick(ClickEvent* pClick);
    // Signalled by each push until a wait on it returns (auto-reset).
    HANDLE ClickSignal() const { return m_evClick.m_hObject; }

    int m_nStage = 0;
    LockedPtrList<ClickEvent> m_clickQueue;
    LockedPtrList<int> m_runningControls;
    LockedPtrList<int> m_idleControls;

protected:
    void InitWindowWorker();
    // The stop event and the click signal.
    BOOL EventsMade() const override;

private:
    CEvent m_evClick;

    void EnableListed(LockedPtrList<int>& controls, BOOL bEnable);
};
