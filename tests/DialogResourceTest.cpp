#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "framework/DialogTemplate.h"
#include "MainDialogProbe.h"
#include "app/AboutDialog.h"
#include "resource.h"

namespace {

std::string Describe(const TemplateItem& item)
{
    return "control " + std::to_string(item.id) + " at " + std::to_string(item.units.left) + "," +
           std::to_string(item.units.top);
}

void ExpectItem(const TemplateItem& actual, int id, const wchar_t* className, const wchar_t* text,
                DWORD style, DWORD exStyle, RECT units)
{
    SCOPED_TRACE(Describe(actual));
    EXPECT_EQ(id, actual.id);
    EXPECT_EQ(std::wstring(className), actual.className);
    EXPECT_EQ(std::wstring(text), actual.text);
    EXPECT_EQ(style, actual.style) << std::hex << "style 0x" << actual.style;
    EXPECT_EQ(exStyle, actual.exStyle);
    EXPECT_TRUE(EqualRect(&units, &actual.units));
}

std::wstring VersionString(const std::vector<BYTE>& block, const wchar_t* key)
{
    const std::wstring path = std::wstring(L"\\StringFileInfo\\041104b0\\") + key;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || value == nullptr)
        return L"(missing)";
    return std::wstring(static_cast<const wchar_t*>(value));
}

} // namespace

TEST(dialog_Resources, AboutTemplateIsAClassicDialogWithIconTwoLinesAndOk)
{
    DialogTemplate dialog;
    ASSERT_TRUE(LoadDialogTemplate(IDD_ABOUTBOX, &dialog));
    EXPECT_FALSE(dialog.extended);
    EXPECT_EQ(static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT), dialog.style);
    const RECT units = {0, 0, 235, 55};
    EXPECT_TRUE(EqualRect(&units, &dialog.units));
    EXPECT_EQ(L"Dunkoのﾊﾞｰｼﾞｮﾝ情報", dialog.caption);
    EXPECT_EQ(9, dialog.pointSize);
    EXPECT_EQ(L"ＭＳ Ｐゴシック", dialog.face);

    ASSERT_EQ(4u, dialog.items.size());
    ExpectItem(dialog.items[0], IDC_STATIC, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ICON, 0,
               RECT{11, 17, 31, 37});
    EXPECT_EQ(IDR_MAINFRAME, dialog.items[0].textOrdinal) << "the icon named by resource id";
    ExpectItem(dialog.items[1], IDC_STATIC, L"STATIC", L"Dunko Version 1.0",
               WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT | SS_NOPREFIX, 0, RECT{40, 10, 159, 18});
    ExpectItem(dialog.items[2], IDC_STATIC, L"STATIC", L"もぐらたたきゲーム",
               WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT, 0, RECT{40, 25, 159, 33});
    ExpectItem(dialog.items[3], IDOK, L"BUTTON", L"OK",
               WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, RECT{178, 7, 228, 21});
}

TEST(dialog_Resources, JapaneseTextsArriveAsTheyWereWritten)
{
    const wchar_t* resource = nullptr;
    const int length = LoadStringW(GetModuleHandleW(nullptr), IDS_ABOUTBOX, reinterpret_cast<LPWSTR>(&resource), 0);
    EXPECT_EQ(L"Dunko のﾊﾞｰｼﾞｮﾝ情報(&A)...", std::wstring(resource, static_cast<size_t>(length)));
    CString narrow;
    ASSERT_TRUE(narrow.LoadString(IDS_ABOUTBOX));
    EXPECT_STREQ("Dunko のﾊﾞｰｼﾞｮﾝ情報(&A)...", narrow.GetString()) << "code page 932 after loading";

    MainDialogProbe main;
    ASSERT_TRUE(main.Open());
    wchar_t text[64] = {};
    GetWindowTextW(main.Hwnd(), text, 64);
    EXPECT_STREQ(L"Dunko叩き", text);
    GetDlgItemTextW(main.Hwnd(), IDC_START, text, 64);
    EXPECT_STREQ(L"スタート", text);
    GetDlgItemTextW(main.Hwnd(), IDC_EXIT, text, 64);
    EXPECT_STREQ(L"終了", text);

    AboutDialog about;
    ASSERT_TRUE(about.Create());
    GetWindowTextW(about.m_hWnd, text, 64);
    EXPECT_STREQ(L"Dunkoのﾊﾞｰｼﾞｮﾝ情報", text);
}

TEST(dialog_Resources, VersionInformationNamesVersion1003InJapanese)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    ASSERT_NE(0u, size);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(0x00010000u, fixed->dwFileVersionMS);
    EXPECT_EQ(0x00000003u, fixed->dwFileVersionLS);
    EXPECT_EQ(0x00010000u, fixed->dwProductVersionMS);
    EXPECT_EQ(0x00000003u, fixed->dwProductVersionLS);
    EXPECT_EQ(0x3Fu, fixed->dwFileFlagsMask);
    EXPECT_EQ(0u, fixed->dwFileFlags);
    EXPECT_EQ(static_cast<DWORD>(VOS__WINDOWS32), fixed->dwFileOS);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);
    EXPECT_EQ(0u, fixed->dwFileSubtype);

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length));
    ASSERT_EQ(4u, length);
    EXPECT_EQ(0x411, translation[0]);
    EXPECT_EQ(1200, translation[1]);

    EXPECT_EQ(L"1, 0, 0, 3", VersionString(block, L"FileVersion"));
    EXPECT_EQ(L"1, 0, 0, 3", VersionString(block, L"ProductVersion"));
    EXPECT_EQ(L"Dunko叩き", VersionString(block, L"ProductName"));
    for (const wchar_t* key : {L"CompanyName", L"FileDescription", L"InternalName", L"LegalCopyright",
                               L"OriginalFilename"}) {
        const std::wstring value = VersionString(block, key);
        EXPECT_FALSE(value.empty() || value == L"(missing)") << "key " << std::string(key, key + wcslen(key));
    }
}

TEST(dialog_Resources, ThePlayersTextIsForNotepadAndNamesTheProgramsVersion)
{
    // The copy of dist/ReadMe.txt in the working directory, byte for byte.
    std::ifstream file("ReadMe.txt", std::ios::binary);
    ASSERT_TRUE(file.good()) << "ReadMe.txt is missing from the working directory";
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());

    // Notepad on Windows 7 reads UTF-8 by its byte-order mark and breaks
    // lines only at CR LF.
    ASSERT_GE(text.size(), 3u);
    EXPECT_EQ("\xEF\xBB\xBF", text.substr(0, 3)) << "no UTF-8 byte-order mark";
    EXPECT_NE(0, MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                                     nullptr, 0))
        << "not valid UTF-8";
    int lines = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "a line ending in LF alone, line " << lines + 1;
            ++lines;
        } else if (text[i] == '\r') {
            ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "a CR alone, line " << lines + 1;
        }
    }
    EXPECT_GT(lines, 10);
    EXPECT_EQ("\r\n", text.substr(text.size() - 2)) << "the last line has no line end";

    // The version the program carries: the version resource's file version.
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    std::vector<BYTE> block(GetFileVersionInfoSizeW(path, &ignored));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, static_cast<DWORD>(block.size()), block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    const std::string version = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                                std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                                std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
                                std::to_string(LOWORD(fixed->dwFileVersionLS));
    EXPECT_NE(std::string::npos, text.find("version " + version)) << "the text does not name version " << version;
}

TEST(dialog_Resources, ManifestAsksForCommonControls6AsInvokerAwareOfEachMonitorsScaling)
{
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)); // RT_MANIFEST
    ASSERT_NE(nullptr, found);
    const char* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
    const std::string manifest(data, SizeofResource(module, found));
    // Common controls 6, no elevation, per-monitor v2 with the system's
    // scaling before Windows 10 and as its fallback, and each system.
    for (const char* wanted : {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"", "level=\"asInvoker\"",
                               ">true</dpiAware>", ">PerMonitorV2, System</dpiAwareness>",
                               "e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
                               "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
                               "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"})
        EXPECT_NE(std::string::npos, manifest.find(wanted)) << "the manifest does not say " << wanted;
}
