#pragma once
// A worker whose Run hands one sound to the platform and returns: its thread
// lives only for the length of that call, not of the sound.
#include "worker/WorkerThread.h"

class SoundWorker : public WorkerThread {
public:
    SoundWorker() = default;
    ~SoundWorker() override;

    void SetPath(CString strPath) { m_strPath = strPath; }
    int Run() override;
    // Starts playing strPath asynchronously, skipping it when the device is
    // busy. 0 when the platform accepted it, -1 when it refused.
    int Play(CString strPath);

    // Flag word handed to the platform: SND_ASYNC | SND_NOWAIT.
    static constexpr DWORD kPlayFlags = 0x2001;

private:
    CString m_strPath;
};

// The current directory with a backslash appended, whatever its length, in
// code page 932; empty when the directory cannot be read.
CString GetCurrentDirPrefix();
