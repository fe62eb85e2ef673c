#pragma once
// A worker whose Run hands one sound to the platform and returns: its thread
// lives only for the length of that call, not of the sound. A sound system
// that hangs can hold that call, and so the thread, for as long as it likes.
#include <memory>
#include <string>

#include "worker/WorkerThread.h"

// strPath when it survives a round trip through the ANSI code page, else
// its short name. Some PlaySoundW implementations (Wine's) hand the name on
// through that code page, and a name it cannot hold (Müller under code page
// 932) names no file there; the call is asynchronous, so that failure is
// never reported back. A short name is ASCII where one exists; where the
// volume keeps none, or the file is missing, strPath comes back unchanged.
std::wstring AnsiSafePath(const std::wstring& strPath);

class SoundWorker : public WorkerThread {
public:
    SoundWorker() = default;
    // Waits for the worker's thread, whose Run uses the object. Where that
    // thread may be stuck in the platform's call, hand the worker to
    // Release instead.
    ~SoundWorker() override;

    // Ends a worker's life without waiting for its thread: it is destroyed
    // at once when its thread has ended, else kept, with everything that
    // thread uses, until a later call finds the thread ended. A thread that
    // never comes back is left alone; the process may end while it is in
    // its call. A null worker only destroys the kept ones whose threads
    // have ended since.
    static void Release(std::unique_ptr<SoundWorker> worker);

    // File paths stay UTF-16 from the directory query to the platform: code
    // page 932 cannot hold every folder name. The name played is decided
    // here, once: AnsiSafePath of strPath.
    void SetPath(const std::wstring& strPath) { m_strPath = AnsiSafePath(strPath); }
    int Run() override;
    // Starts playing strPath asynchronously, skipping it when the device is
    // busy. 0 when the platform accepted it, -1 when it refused.
    int Play(const std::wstring& strPath);

    // Flag word handed to the platform: SND_ASYNC | SND_NOWAIT.
    static constexpr DWORD kPlayFlags = 0x2001;

private:
    std::wstring m_strPath;
};

// The current directory with a backslash appended, whatever its length or
// the script of its name; empty when the directory cannot be read.
std::wstring GetCurrentDirPrefix();
