// The painter's boxes, frames and centred texts, checked pixel by pixel in a
// memory bitmap, and the state it leaves the device context in.
#include <gtest/gtest.h>

#include <cstdlib>
#include <type_traits>
#include <utility>

#include "DibCanvas.h"
#include "GdiProbe.h"
#include "draw/Painter.h"
#include "framework/CGdiObject.h"

namespace {

// Only the types that made a context can end it: neither a borrowed context
// nor a plain CDC pointer offers a way to delete or replace one.
template <class T, class = void>
struct CanEndContext : std::false_type {};
template <class T>
struct CanEndContext<T, std::void_t<decltype(std::declval<T&>().DeleteDC()), decltype(std::declval<T&>().Attach(HDC()))>>
    : std::true_type {};
static_assert(!CanEndContext<CDC>::value && !CanEndContext<CBorrowedDC>::value, "a borrowed context can be ended");
static_assert(CanEndContext<CMemoryDC>::value, "a memory context cannot be ended");

const COLORREF kBackground = RGB(10, 20, 30);
const COLORREF kPen = RGB(200, 30, 40);
const COLORREF kBrush = RGB(20, 60, 220);
const RECT kRect = {10, 12, 30, 25};

// Whether (x, y) is on the outline of r with the right and bottom edges at
// r.right - 1 and r.bottom - 1 (a GDI box) or at r.right and r.bottom (a frame).
bool OnOutline(const RECT& r, int x, int y, bool inclusive)
{
    const int right = inclusive ? r.right : r.right - 1;
    const int bottom = inclusive ? r.bottom : r.bottom - 1;
    if (x < r.left || x > right || y < r.top || y > bottom)
        return false;
    return x == r.left || x == right || y == r.top || y == bottom;
}

// Fills the canvas with a pattern that differs from pixel to pixel.
void PaintPattern(DibCanvas& canvas)
{
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            canvas.Fill(RECT{x, y, x + 1, y + 1}, RGB(x * 7 % 256, y * 11 % 256, (x + y) * 5 % 256));
}

TEST(PainterShapes, BoxIsOutlinedInThePenAndFilledWithTheBrushLeavingOutRightAndBottom)
{
    SKIP_UNLESS_GDI_DRAWS();
    DibCanvas canvas(50, 40, kBackground);
    Painter(canvas.Dc(), FALSE).DrawBox(kRect, kPen, kBrush);

    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            COLORREF expected = kBackground;
            if (OnOutline(kRect, x, y, false))
                expected = kPen;
            else if (Inside(kRect, x, y))
                expected = kBrush;
            ASSERT_EQ(ColourText(expected), ColourText(canvas.Pixel(x, y))) << "at " << x << "," << y;
        }
    }
}

TEST(PainterShapes, FrameRunsThroughAllFourCornersAndLeavesTheInsideAlone)
{
    SKIP_UNLESS_GDI_DRAWS();
    DibCanvas canvas(50, 40, kBackground);
    Painter(canvas.Dc(), FALSE).DrawFrame(kRect, kPen, 1);

    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const COLORREF expected = OnOutline(kRect, x, y, true) ? kPen : kBackground;
            ASSERT_EQ(ColourText(expected), ColourText(canvas.Pixel(x, y))) << "at " << x << "," << y;
        }
    }
    for (const POINT corner : {POINT{10, 12}, POINT{30, 12}, POINT{30, 25}, POINT{10, 25}})
        EXPECT_EQ(kPen, canvas.Pixel(corner.x, corner.y)) << corner.x << "," << corner.y;
}

TEST(PainterShapes, BoxOutlineIsTheFrameOfTheRectangleOnePixelSmaller)
{
    SKIP_UNLESS_GDI_DRAWS();
    DibCanvas box(50, 40, kBackground);
    DibCanvas frame(50, 40, kBackground);
    // The box filled with the background shows its outline alone.
    Painter(box.Dc(), FALSE).DrawBox(kRect, kPen, kBackground);
    Painter(frame.Dc(), FALSE).DrawFrame(RECT{kRect.left, kRect.top, kRect.right - 1, kRect.bottom - 1}, kPen, 1);
    EXPECT_TRUE(box.SameAs(frame));

    // So the frame of the same rectangle differs only on the columns right - 1
    // and right and the rows bottom - 1 and bottom.
    DibCanvas sameRect(50, 40, kBackground);
    Painter(sameRect.Dc(), FALSE).DrawFrame(kRect, kPen, 1);
    for (int y = 0; y < box.Height(); ++y) {
        for (int x = 0; x < box.Width(); ++x) {
            const bool nearRightOrBottom = x >= kRect.right - 1 || y >= kRect.bottom - 1;
            if (!nearRightOrBottom) {
                ASSERT_EQ(box.Pixel(x, y), sameRect.Pixel(x, y)) << "at " << x << "," << y;
            }
        }
    }
    EXPECT_FALSE(box.SameAs(sameRect));
}

TEST(PainterShapes, XorBoxesAndFramesUndoThemselvesWhenDrawnTwice)
{
    SKIP_UNLESS_GDI_DRAWS();
    DibCanvas canvas(50, 40);
    PaintPattern(canvas);
    const std::vector<uint32_t> before = canvas.Snapshot();
    const COLORREF under = canvas.Pixel(kRect.left, kRect.top);

    Painter painter(canvas.Dc(), TRUE);
    painter.DrawBox(kRect, kPen, kBrush);
    // Exclusive-or with the pen colour, not a plain copy.
    EXPECT_EQ(ColourText(under ^ kPen), ColourText(canvas.Pixel(kRect.left, kRect.top)));
    EXPECT_NE(before, canvas.Snapshot());
    painter.DrawBox(kRect, kPen, kBrush);
    EXPECT_EQ(before, canvas.Snapshot()) << "a second XOR box restores the picture";

    const COLORREF corner = canvas.Pixel(kRect.right, kRect.bottom);
    painter.DrawFrame(kRect, kPen, 1);
    EXPECT_EQ(ColourText(corner ^ kPen), ColourText(canvas.Pixel(kRect.right, kRect.bottom)));
    EXPECT_NE(before, canvas.Snapshot());
    painter.DrawFrame(kRect, kPen, 1);
    EXPECT_EQ(before, canvas.Snapshot()) << "a second XOR frame restores the picture";
}

// A context with its own pen, brush and font selected and unusual modes set,
// to see what each painter call leaves behind.
class PainterState : public ::testing::Test {
protected:
    void SetUp() override
    {
        SKIP_UNLESS_GDI_DRAWS();
        m_pen = CreatePen(PS_SOLID, 3, RGB(1, 2, 3));
        m_brush = CreateSolidBrush(RGB(4, 5, 6));
        m_font = CreateFontW(-12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Arial");
        HDC hDC = m_canvas.Hdc();
        m_oldPen = SelectObject(hDC, m_pen);
        m_oldBrush = SelectObject(hDC, m_brush);
        m_oldFont = SelectObject(hDC, m_font);
        SetROP2(hDC, R2_MERGEPEN);
        SetBkColor(hDC, RGB(255, 0, 0));
        SetBkMode(hDC, OPAQUE);
        SetTextColor(hDC, RGB(7, 8, 9));
        m_gdiObjects = CGdiObject::LiveCount();
    }

    void TearDown() override
    {
        HDC hDC = m_canvas.Hdc();
        SelectObject(hDC, m_oldPen);
        SelectObject(hDC, m_oldBrush);
        SelectObject(hDC, m_oldFont);
        DeleteObject(m_pen);
        DeleteObject(m_brush);
        DeleteObject(m_font);
    }

    void ExpectSelectionsKept()
    {
        HDC hDC = m_canvas.Hdc();
        EXPECT_EQ(static_cast<HGDIOBJ>(m_pen), GetCurrentObject(hDC, OBJ_PEN));
        EXPECT_EQ(static_cast<HGDIOBJ>(m_brush), GetCurrentObject(hDC, OBJ_BRUSH));
        EXPECT_EQ(static_cast<HGDIOBJ>(m_font), GetCurrentObject(hDC, OBJ_FONT));
        EXPECT_EQ(ColourText(RGB(7, 8, 9)), ColourText(GetTextColor(hDC)));
        EXPECT_EQ(m_gdiObjects, CGdiObject::LiveCount()) << "GDI objects leaked";
    }

    void ExpectShapeModes()
    {
        EXPECT_EQ(R2_COPYPEN, GetROP2(m_canvas.Hdc()));
        EXPECT_EQ(ColourText(RGB(0, 0, 0)), ColourText(GetBkColor(m_canvas.Hdc())));
    }

    DibCanvas m_canvas{60, 40, kBackground};
    HPEN m_pen = nullptr;
    HBRUSH m_brush = nullptr;
    HFONT m_font = nullptr;
    HGDIOBJ m_oldPen = nullptr;
    HGDIOBJ m_oldBrush = nullptr;
    HGDIOBJ m_oldFont = nullptr;
    long m_gdiObjects = 0;
};

TEST_F(PainterState, BoxesAndFramesLeaveCopyModeABlackBackgroundAndTheOldObjects)
{
    for (const BOOL bXor : {FALSE, TRUE}) {
        SCOPED_TRACE(bXor ? "xor" : "copy");
        Painter(m_canvas.Dc(), bXor).DrawBox(kRect, kPen, kBrush);
        ExpectShapeModes();
        ExpectSelectionsKept();

        SetROP2(m_canvas.Hdc(), R2_NOT);
        SetBkColor(m_canvas.Hdc(), RGB(255, 255, 255));
        Painter(m_canvas.Dc(), bXor).DrawFrame(kRect, kPen, 1);
        ExpectShapeModes();
        ExpectSelectionsKept();
        SetROP2(m_canvas.Hdc(), R2_MASKPEN);
    }
}

TEST_F(PainterState, TextLeavesATransparentBackgroundAndTheOldFontAndColour)
{
    Painter(m_canvas.Dc(), FALSE).DrawCenteredText(RECT{0, 0, 60, 40}, "Ab", 200, RGB(255, 255, 255));
    EXPECT_EQ(TRANSPARENT, GetBkMode(m_canvas.Hdc()));
    ExpectSelectionsKept();
    // Transparent while drawing too: the red background colour never shows.
    EXPECT_EQ(0, m_canvas.Count(m_canvas.Whole(), [](COLORREF c) { return c == RGB(255, 0, 0); }));
    EXPECT_GT(m_canvas.Count(m_canvas.Whole(), [](COLORREF c) { return c != kBackground; }), 0);
}

TEST_F(PainterState, EmptyTextDrawsNothing)
{
    const std::vector<uint32_t> before = m_canvas.Snapshot();
    Painter(m_canvas.Dc(), FALSE).DrawCenteredText(RECT{0, 0, 60, 40}, "", 200, RGB(255, 255, 255));
    EXPECT_EQ(before, m_canvas.Snapshot());
    ExpectSelectionsKept();
}

bool IsInk(COLORREF c)
{
    return c != RGB(0, 0, 0);
}

TEST(PainterText, OneLineIsCentredBothWaysInItsRectangle)
{
    SKIP_UNLESS_GDI_DRAWS();
    const RECT small = {10, 10, 210, 70};
    const RECT large = {10, 10, 410, 170};
    DibCanvas a(420, 180);
    DibCanvas b(420, 180);
    Painter(a.Dc(), FALSE).DrawCenteredText(small, "HOH", 200, RGB(255, 255, 255));
    Painter(b.Dc(), FALSE).DrawCenteredText(large, "HOH", 200, RGB(255, 255, 255));
    const RECT inkA = a.Bounds(IsInk);
    const RECT inkB = b.Bounds(IsInk);
    ASSERT_FALSE(IsRectEmpty(&inkA));
    ASSERT_FALSE(IsRectEmpty(&inkB));

    // A symmetric word sits in the middle across (sums are twice the centre).
    EXPECT_LE(std::abs((inkA.left + inkA.right) - (small.left + small.right)), 4) << RectText(inkA);
    EXPECT_LE(std::abs((inkB.left + inkB.right) - (large.left + large.right)), 4) << RectText(inkB);
    // Capitals sit about the middle down, and follow the rectangle's middle
    // exactly when it moves.
    EXPECT_LE(std::abs((inkA.top + inkA.bottom) - (small.top + small.bottom)), 6) << RectText(inkA);
    EXPECT_EQ((large.top + large.bottom) - (small.top + small.bottom), (inkB.top + inkB.bottom) - (inkA.top + inkA.bottom));
    EXPECT_EQ(inkA.bottom - inkA.top, inkB.bottom - inkB.top);
}

TEST(PainterText, InkIsInTheTextColourAndStaysInsideTheRectangle)
{
    SKIP_UNLESS_GDI_DRAWS();
    const RECT narrow = {50, 30, 90, 50};
    DibCanvas canvas(140, 80);
    Painter(canvas.Dc(), FALSE).DrawCenteredText(narrow, "WWWWWWWWWWWW", 200, RGB(255, 220, 0));
    const RECT ink = canvas.Bounds(IsInk);
    ASSERT_FALSE(IsRectEmpty(&ink));
    EXPECT_GE(ink.left, narrow.left) << RectText(ink);
    EXPECT_GE(ink.top, narrow.top) << RectText(ink);
    EXPECT_LE(ink.right, narrow.right) << RectText(ink);
    EXPECT_LE(ink.bottom, narrow.bottom) << RectText(ink);
    EXPECT_GT(canvas.Count(canvas.Whole(), [](COLORREF c) { return c == RGB(255, 220, 0); }), 0);
    // Anti-aliased edges lie between the background and the text colour.
    EXPECT_EQ(0, canvas.Count(canvas.Whole(), [](COLORREF c) { return GetBValue(c) != 0 || GetGValue(c) > GetRValue(c); }));
}

TEST(PainterText, AmpersandMarksAMnemonicAndTwoMakeOne)
{
    SKIP_UNLESS_GDI_DRAWS();
    const RECT rect = {0, 0, 200, 50};
    DibCanvas ours(200, 50);
    DibCanvas reference(200, 50);
    Painter(ours.Dc(), FALSE).DrawCenteredText(rect, "A&&B", 200, RGB(255, 255, 255));
    DrawReferenceText(reference.Hdc(), L"A&B", rect, 200, RGB(255, 255, 255),
                      DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_TRUE(ours.SameAs(reference));

    TextRecordingDC recorder(ours.Hdc());
    Painter(&recorder, FALSE).DrawCenteredText(rect, "&Start", 250, RGB(255, 255, 255));
    ASSERT_EQ(1u, recorder.m_calls.size());
    EXPECT_EQ(static_cast<UINT>(DT_CENTER | DT_VCENTER | DT_SINGLELINE), recorder.m_calls[0].format);
}

TEST(PainterText, SizesAreInPointsOfTheGameFaceRoundedToThePixel)
{
    SKIP_UNLESS_GDI_DRAWS();
    DibCanvas canvas(100, 100);
    TextRecordingDC recorder(canvas.Hdc());
    Painter painter(&recorder, FALSE);
    for (const int tenths : {200, 250, 400}) {
        painter.DrawCenteredText(RECT{0, 0, 100, 100}, "X", tenths, RGB(255, 255, 255));
        const LOGFONTW& font = recorder.m_calls.back().font;
        EXPECT_EQ(PointFontHeight(tenths), font.lfHeight) << tenths / 10 << " pt";
        EXPECT_STREQ(kGameFace, font.lfFaceName);
    }
    // At the usual 96 dots per inch: 20 pt is 26.7 pixels, 25 pt 33.3, 40 pt 53.3.
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    if (dpi == 96) {
        EXPECT_EQ(-27, PointFontHeight(200));
        EXPECT_EQ(-33, PointFontHeight(250));
        EXPECT_EQ(-53, PointFontHeight(400));
    }
}

} // namespace
