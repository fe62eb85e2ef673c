#include <gtest/gtest.h>

#include <string>

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
    sound.SetPath(GetCurrentDirPrefix() + "data\\no-such-sound.wav");
    for (int i = 0; i < 3; ++i) {
        sound.Start();
        ASSERT_TRUE(sound.WaitForThread(3000)) << "the sound thread lives only for the call";
        EXPECT_EQ(WorkerThread::STATUS_IDLE, sound.m_nStatus.load());
    }
}

TEST(SoundWorker, DestroyingItRightAfterStartWaitsForItsThread)
{
    for (int i = 0; i < 20; ++i) {
        SoundWorker sound;
        sound.SetPath(CString("C:\\nowhere\\piko.wav"));
        sound.Start();
    } // each destructor must outlive its thread; a crash here means it did not
    SUCCEED();
}

TEST(SoundWorker, PrefixAtADriveRootEndsInTwoBackslashes)
{
    CurrentDirectory root(L"C:\\");
    ASSERT_TRUE(root.ok());
    const CString prefix = GetCurrentDirPrefix();
    EXPECT_EQ(CString("C:\\\\"), prefix);
    EXPECT_EQ(CString("C:\\\\data\\piko1.wav"), prefix + "data\\piko1.wav");
}

TEST(SoundWorker, PrefixHoldsACurrentDirectoryLongerThan260Bytes)
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
    const CString prefix = GetCurrentDirPrefix();
    EXPECT_EQ(static_cast<int>(length) + 1, prefix.GetLength());
    EXPECT_EQ('\\', prefix.GetString()[prefix.GetLength() - 1]);
    EXPECT_EQ(CString::FromWide(actual, static_cast<int>(length)) + "\\", prefix);
}

TEST(SoundWorker, PrefixKeepsAJapaneseDirectoryName)
{
    const std::wstring dir = TempRoot() + L"ダンコ";
    CreateDirectoryW(dir.c_str(), nullptr);
    CurrentDirectory japanese(dir);
    ASSERT_TRUE(japanese.ok());
    const CString prefix = GetCurrentDirPrefix();
    const std::wstring wide = prefix.ToWide();
    EXPECT_EQ(dir + L"\\", wide);
}
