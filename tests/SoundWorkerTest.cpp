#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>

#include "WaitUntil.h"
#include "worker/SoundWorker.h"

namespace {

// Changes the current directory for one test and puts it back.
class CurrentDirectory {
public:
    explicit CurrentDirectory(const std::wstring& path)
    {
        wchar_t saved[4096];
        GetCurrentDirectoryW(4096, saved);
        m_saved = saved;
        m_ok = SetCurrentDirectoryW(path.c_str()) != 0;
    }
    ~CurrentDirectory() { SetCurrentDirectoryW(m_saved.c_str()); }
    bool ok() const { return m_ok; }

private:
    std::wstring m_saved;
    bool m_ok = false;
};

std::wstring TempRoot()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return temp;
}

} // namespace

TEST(SoundWorker, MissingFileLeavesTheWorkerIdleAndTheCallerGoingOn)
{
    SoundWorker sound;
    sound.SetPath(GetCurrentDirPrefix() + L"data\\no-such-sound.wav");
    for (int i = 0; i < 3; ++i) {
        sound.Start();
        ASSERT_TRUE(sound.WaitForThread(3000)) << "the sound thread lives only for the call";
        EXPECT_EQ(WorkerThread::STATUS_IDLE, sound.m_nStatus.load());
    }
}

TEST(SoundWorker, DestroyingItRightAfterStartWaitsForItsThread)
{
    for (int i = 0; i < 20; ++i) {
        {
            SoundWorker sound;
            sound.SetPath(L"C:\\nowhere\\piko.wav");
            ASSERT_EQ(0, sound.Start());
        }
        ASSERT_EQ(0, WorkerThread::RunningThreads()) << "sound threads still in their run after the destructor, round " << i;
    }
}

namespace {

// A sound worker whose call lasts until the test lets it go (or 20 s). The
// calls under way and the workers destroyed are counted.
std::atomic<int> g_inCall{0};
std::atomic<int> g_destroyed{0};
HANDLE g_release = nullptr;

class HeldSound : public SoundWorker {
public:
    explicit HeldSound(DWORD callMs) : m_callMs(callMs) {}
    ~HeldSound() override
    {
        StopAndWait();
        g_destroyed.fetch_add(1);
    }
    int Run() override
    {
        g_inCall.fetch_add(1);
        WaitForSingleObject(g_release, m_callMs);
        g_inCall.fetch_sub(1);
        return 0;
    }

private:
    const DWORD m_callMs;
};

} // namespace

TEST(SoundWorker, ReleaseKeepsAWorkerUntilItsCallReturnsAndNeverWaits)
{
    g_release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    g_destroyed = 0;

    // Ended: destroyed at once.
    auto ended = std::make_unique<HeldSound>(0);
    ASSERT_EQ(0, ended->Start());
    ASSERT_TRUE(ended->WaitForThread(3000));
    SoundWorker::Release(std::move(ended));
    EXPECT_EQ(1, g_destroyed.load()) << "workers destroyed at once; wanted the one whose thread had ended";

    // Stuck in its call: kept, and Release returns at once.
    auto stuck = std::make_unique<HeldSound>(20000);
    ASSERT_EQ(0, stuck->Start());
    ASSERT_TRUE(WaitUntil([] { return g_inCall.load() == 1; }, 3000));
    const DWORD before = GetTickCount();
    SoundWorker::Release(std::move(stuck));
    const DWORD took = GetTickCount() - before;
    EXPECT_LT(took, 500u) << "ms Release took with a call under way";
    EXPECT_EQ(1, g_destroyed.load()) << "workers destroyed so far; wanted only the ended one, not the one in its call";

    // The call returns; a Release after its thread's end destroys the worker.
    SetEvent(g_release);
    EXPECT_TRUE(WaitUntil([] { SoundWorker::Release(nullptr); return g_destroyed.load() == 2; }, 3000))
        << "workers destroyed: " << g_destroyed.load() << ", wanted 2 once the call had returned";
    CloseHandle(g_release);
}

TEST(SoundWorker, PrefixAtADriveRootEndsInTwoBackslashes)
{
    CurrentDirectory root(L"C:\\");
    ASSERT_TRUE(root.ok());
    const std::wstring prefix = GetCurrentDirPrefix();
    EXPECT_EQ(L"C:\\\\", prefix);
    EXPECT_EQ(L"C:\\\\data\\piko1.wav", prefix + L"data\\piko1.wav");
}

TEST(SoundWorker, PrefixHoldsACurrentDirectoryLongerThan260Characters)
{
    // Build a directory chain well past MAX_PATH with the long-path prefix.
    std::wstring path = L"\\\\?\\" + TempRoot() + L"dunko-long";
    CreateDirectoryW(path.c_str(), nullptr);
    for (int i = 0; i < 6; ++i) {
        path += L"\\" + std::wstring(50, static_cast<wchar_t>(L'a' + i));
        CreateDirectoryW(path.c_str(), nullptr);
    }
    CurrentDirectory deep(path);
    if (!deep.ok())
        GTEST_SKIP() << "this system cannot enter a directory that long";
    wchar_t actual[4096];
    const DWORD length = GetCurrentDirectoryW(4096, actual);
    ASSERT_GT(length, 260u);
    EXPECT_EQ(std::wstring(actual, length) + L"\\", GetCurrentDirPrefix());
}

TEST(SoundWorker, HitSoundPathFindsTheFileInAFolderNamedInAnyScript)
{
    // Japanese, a Latin ü, Hangul and an emoji (a surrogate pair): only the
    // first can be written in code page 932.
    for (const wchar_t* name : {L"ダンコ", L"Müller", L"둔코", L"dunko-\U0001F439"}) {
        const std::wstring dir = TempRoot() + name;
        CreateDirectoryW(dir.c_str(), nullptr);
        CreateDirectoryW((dir + L"\\data").c_str(), nullptr);
        const std::wstring file = dir + L"\\data\\piko1.wav";
        const HANDLE created = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, created);
        CloseHandle(created);

        CurrentDirectory inside(dir);
        ASSERT_TRUE(inside.ok());
        const std::wstring path = GetCurrentDirPrefix() + L"data\\piko1.wav";
        EXPECT_EQ(file, path);
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path.c_str())) << "in " << name;
    }
}
