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
    CString path = m_strPath;
    return Play(path);
}

int SoundWorker::Play(CString strPath)
{
    // The path is Shift-JIS; the wide call keeps it intact under any system
    // code page.
    const std::wstring widePath = strPath.ToWide();
    return PlaySoundW(widePath.c_str(), nullptr, kPlayFlags) ? 0 : -1;
}

CString GetCurrentDirPrefix()
{
    // Ask for the size first and retry if the directory changed in between:
    // a fixed buffer would silently yield garbage for a long directory.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length == 0)
            return CString();
        if (length < buffer.size())
            return CString::FromWide(buffer.data(), static_cast<int>(length)) + "\\";
        buffer.resize(length);
    }
}
