#include "worker/SoundWorker.h"

#include <mmsystem.h>

#include <algorithm>
#include <vector>

#include "framework/CCriticalSection.h"
#include "framework/CSingleLock.h"

static_assert(SoundWorker::kPlayFlags == (SND_ASYNC | SND_NOWAIT), "flag word of the hit sound");

namespace {

// The workers handed to Release whose threads had not ended yet.
struct KeptWorkers {
    CCriticalSection lock;
    std::vector<SoundWorker*> workers;
};

KeptWorkers& Kept()
{
    // Never destroyed: at the process's end the threads of the workers it
    // holds may still be in their calls, using them.
    static KeptWorkers* const kept = new KeptWorkers;
    return *kept;
}

} // namespace

SoundWorker::~SoundWorker()
{
    StopAndWait();
}

void SoundWorker::Release(std::unique_ptr<SoundWorker> worker)
{
    KeptWorkers& kept = Kept();
    CSingleLock lock(&kept.lock, TRUE);
    if (worker) {
        kept.workers.push_back(worker.get());
        worker.release();
    }
    // A thread found ended is gone for good: destroying its worker waits
    // for nothing.
    const auto ended = std::partition(kept.workers.begin(), kept.workers.end(),
                                      [](SoundWorker* candidate) { return candidate->IsThreadAlive(); });
    for (auto it = ended; it != kept.workers.end(); ++it)
        delete *it;
    kept.workers.erase(ended, kept.workers.end());
}

int SoundWorker::Run()
{
    const std::wstring path = m_strPath;
    return Play(path);
}

int SoundWorker::Play(const std::wstring& strPath)
{
    return PlaySoundW(strPath.c_str(), nullptr, kPlayFlags) ? 0 : -1;
}

std::wstring AnsiSafePath(const std::wstring& strPath)
{
    // No best-fit mapping: a character that would come back as another one
    // (ü as u) counts as lost too. Under a UTF-8 code page the call refuses
    // the flag and every name survives anyway.
    BOOL lost = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, strPath.c_str(), -1, nullptr, 0, nullptr, &lost);
    if (!lost)
        return strPath;
    const DWORD size = GetShortPathNameW(strPath.c_str(), nullptr, 0);
    if (size == 0)
        return strPath;
    std::vector<wchar_t> buffer(size);
    const DWORD length = GetShortPathNameW(strPath.c_str(), buffer.data(), size);
    if (length == 0 || length >= size)
        return strPath;
    return std::wstring(buffer.data(), length);
}

std::wstring GetCurrentDirPrefix()
{
    // Ask for the size first and retry if the directory changed in between:
    // a fixed buffer would silently yield garbage for a long directory.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length == 0)
            return std::wstring();
        if (length < buffer.size())
            return std::wstring(buffer.data(), length) + L"\\";
        buffer.resize(length);
    }
}
