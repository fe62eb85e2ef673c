#include "worker/WindowWorker.h"

WindowWorker::WindowWorker()
{
    InitWindowWorker();
}

WindowWorker::~WindowWorker()
{
    StopAndWait();
    m_clickQueue.DeleteAll();
    m_runningControls.FreeAll();
    m_idleControls.FreeAll();
}

void WindowWorker::InitWindowWorker()
{
    m_nStage = 0;
    m_runningControls.FreeAll();
    m_idleControls.FreeAll();
}

BOOL WindowWorker::EventsMade() const
{
    return WorkerThread::EventsMade() && m_evClick.m_hObject != nullptr;
}

void WindowWorker::PushClick(ClickEvent* pClick)
{
    m_clickQueue.AddTail(pClick);
    m_evClick.SetEvent();
}

void WindowWorker::UpdateControls()
{
    const int status = m_nStatus.load();
    EnableListed(m_runningControls, status == STATUS_RUNNING);
    EnableListed(m_idleControls, status == STATUS_IDLE);
}

void WindowWorker::EnableListed(LockedPtrList<int>& controls, BOOL bEnable)
{
    // The count is re-read before each step and the fetch yields null for an
    // index that has gone meanwhile, so a list changing under us does no harm.
    for (int i = 0; i < controls.GetCount(); ++i) {
        const int* pId = controls.GetAt(i);
        if (pId == nullptr)
            continue;
        CWnd child = GetOwner()->GetDlgItem(*pId);
        if (child.GetSafeHwnd() != nullptr)
            child.EnableWindow(bEnable);
    }
}
