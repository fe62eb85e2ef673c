// Japanese texts must paint the same pixels whatever the process's ANSI code
// page is: the game's strings are Shift-JIS and reach GDI as UTF-16. So
// must the hit sound's file name reach a sound service that reads it through
// that code page. CTest runs this program once per code page (see
// board_tests.cmake); each run first makes sure it really got the code page
// it was meant to.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "DibCanvas.h"
#include "GdiProbe.h"
#include "draw/Painter.h"
#include "framework/CDC.h"
#include "worker/SoundWorker.h"

namespace {

const UINT kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
const RECT kRect = {0, 0, 240, 60};
const COLORREF kInk = RGB(255, 255, 255);

UINT ExpectedCodePage()
{
    const char* value = std::getenv("DUNKO_EXPECT_ACP");
    return value != nullptr ? static_cast<UINT>(std::strtoul(value, nullptr, 10)) : 0;
}

// A font of the game face at 20 pt, made without the game's wrappers.
class ReferenceFont {
public:
    ReferenceFont()
        : m_hFont(CreateFontW(PointFontHeight(200), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, kGameFace))
    {
    }
    ~ReferenceFont() { DeleteObject(m_hFont); }
    ReferenceFont(const ReferenceFont&) = delete;
    ReferenceFont& operator=(const ReferenceFont&) = delete;
    HFONT Get() const { return m_hFont; }

private:
    HFONT m_hFont;
};

// Sets up a canvas to draw white text in the reference font.
void PrepareText(DibCanvas& canvas, const ReferenceFont& font)
{
    SelectObject(canvas.Hdc(), font.Get());
    SetTextColor(canvas.Hdc(), kInk);
    SetBkMode(canvas.Hdc(), TRANSPARENT);
}

void DrawWide(DibCanvas& canvas, const std::wstring& text)
{
    RECT rect = kRect;
    DrawTextW(canvas.Hdc(), text.c_str(), static_cast<int>(text.size()), &rect, kCentred);
}

int InkCount(const DibCanvas& canvas)
{
    return canvas.Count(canvas.Whole(), [](COLORREF c) { return c != RGB(0, 0, 0); });
}

TEST(TextCodePage, ProcessRunsInTheCodePageItWasStartedFor)
{
    const UINT expected = ExpectedCodePage();
    ASSERT_NE(0u, expected) << "DUNKO_EXPECT_ACP is not set: run this program through CTest";
    EXPECT_EQ(expected, GetACP());
}

TEST(TextCodePage, WrapperDrawTextPaintsTheSameAsTheWideFunction)
{
    SKIP_UNLESS_GDI_DRAWS();
    ReferenceFont font;
    for (const auto& text : {std::pair<const char*, std::wstring>{"ステージ1", L"ステージ1"},
                             {"Stage:1  Dunko：3/10 匹 Time:2.5", L"Stage:1  Dunko：3/10 匹 Time:2.5"},
                             {"Dunko叩き", L"Dunko叩き"}}) {
        DibCanvas ours(kRect.right, kRect.bottom);
        DibCanvas reference(kRect.right, kRect.bottom);
        PrepareText(ours, font);
        PrepareText(reference, font);
        RECT rect = kRect;
        ours.Dc()->DrawText(text.first, -1, &rect, kCentred);
        DrawWide(reference, text.second);
        EXPECT_GT(InkCount(reference), 50);
        EXPECT_TRUE(ours.SameAs(reference)) << "code page " << GetACP();
    }
}

TEST(TextCodePage, PainterTextPaintsTheSameAsTheWideFunction)
{
    SKIP_UNLESS_GDI_DRAWS();
    DibCanvas ours(kRect.right, kRect.bottom);
    DibCanvas reference(kRect.right, kRect.bottom);
    Painter(ours.Dc(), FALSE).DrawCenteredText(kRect, "ステージ1", 200, kInk);
    DrawReferenceText(reference.Hdc(), L"ステージ1", kRect, 200, kInk, kCentred);
    EXPECT_GT(InkCount(reference), 50);
    EXPECT_TRUE(ours.SameAs(reference)) << "code page " << GetACP();
}

TEST(TextCodePage, TheKatakanaHaveRealGlyphs)
{
    SKIP_UNLESS_GDI_DRAWS();
    // Missing glyphs all paint the same box (or nothing): real ones differ.
    ReferenceFont font;
    const std::wstring letters[] = {L"ス", L"テ", L"ー", L"ジ", L"\uE000"};
    std::vector<std::vector<uint32_t>> pictures;
    for (const std::wstring& letter : letters) {
        DibCanvas canvas(kRect.right, kRect.bottom);
        PrepareText(canvas, font);
        DrawWide(canvas, letter);
        pictures.push_back(canvas.Snapshot());
        if (letter != L"\uE000") {
            EXPECT_GT(InkCount(canvas), 10) << "no ink";
        }
    }
    for (size_t i = 0; i < pictures.size(); ++i)
        for (size_t j = i + 1; j < pictures.size(); ++j)
            EXPECT_NE(pictures[i], pictures[j]) << "letters " << i << " and " << j << " look alike";
}

TEST(TextCodePage, TheHitSoundInAFolderNamedMullerIsNamedSoTheCodePageHoldsIt)
{
    // A name passed on through the ANSI code page, as Wine's PlaySoundW
    // does: ü has no place in code page 932, so the file would not be found.
    const std::wstring dir = GetCurrentDirPrefix() + L"Müller";
    CreateDirectoryW(dir.c_str(), nullptr);
    CreateDirectoryW((dir + L"\\data").c_str(), nullptr);
    const std::wstring file = dir + L"\\data\\piko1.wav";
    const HANDLE created =
        CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, created);
    CloseHandle(created);

    const std::wstring played = AnsiSafePath(file);
    char ansi[MAX_PATH * 2] = {};
    ASSERT_NE(0, WideCharToMultiByte(CP_ACP, 0, played.c_str(), -1, ansi, sizeof ansi, nullptr, nullptr));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(ansi)) << "code page " << GetACP();
    if (GetACP() == 1252) {
        EXPECT_EQ(file, played) << "a name the code page holds is played as it is";
    }
}

} // namespace
