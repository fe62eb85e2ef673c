#include "worker/SoundWorker.h"

#include <mmsystem.h>

#include <vector>

static_assert(SoundWorker::kPlayFlags == (SND_ASYNC | SND_NOWAIT), "flag word of the hit sound");

SoundWorker::~SoundWorker()
{
    StopAndWait();
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
