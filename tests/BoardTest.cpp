// The board's two views, its hover tracking, its mole placement and the
// moles' lifetime, on the dialog's real layout.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <string>

#include "DestructionLog.h"
#include "DibCanvas.h"
#include "GameLayout.h"
#include "GdiProbe.h"
#include "framework/CGdiObject.h"
#include "game/Board.h"
#include "util/DpiScale.h"

namespace {

const COLORREF kField = RGB(0, 140, 75);
const COLORREF kTitleBackground = RGB(38, 38, 38);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kGrey = RGB(140, 140, 140);
const COLORREF kBandFill = RGB(183, 196, 224);
const COLORREF kStatusYellow = RGB(229, 209, 0);
const COLORREF kTitleBox = RGB(255, 240, 240);
const COLORREF kLabelBlue = RGB(12, 0, 204);
const COLORREF kHoverPink = RGB(239, 117, 152);
const COLORREF kButtonFrame = RGB(250, 250, 250);
const COLORREF kFrameRed = RGB(204, 0, 0);
// Outside the play area, where nothing may be painted.
const COLORREF kOutside = RGB(255, 0, 255);

const wchar_t kStageText[] = L"ステージ1";
const char kStageNarrow[] = "ステージ1";
const char kStatusNarrow[] = "Stage:1  Dunko：3/10 匹 Time:2.5";
const wchar_t kStatusText[] = L"Stage:1  Dunko：3/10 匹 Time:2.5";

using CountedMole = Noted<Mole>;

void PlaceMole(Board& board, int x, int y)
{
    Mole* mole = board.m_moles.AddNew();
    mole->SetPosition(x, y);
    mole->SetSize(50, 50);
    mole->SetDpi(board.Scale().Dpi());
}

bool OnBoxOutline(const RECT& r, int x, int y)
{
    return Inside(r, x, y) && (x == r.left || x == r.right - 1 || y == r.top || y == r.bottom - 1);
}

bool OnFrame(const RECT& r, int x, int y)
{
    const bool within = x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
    return within && (x == r.left || x == r.right || y == r.top || y == r.bottom);
}

// The interior of a GDI box (inside its 1-pixel outline).
RECT BoxInterior(const RECT& r)
{
    return RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
}

// Compares area with what the text must look like there: area filled with
// background and the text drawn straight through DrawTextW, one line centred
// both ways in textRect, in the game face at the given size and colour. The
// text must lie wholly inside area and leave some ink.
void ExpectText(const DibCanvas& canvas, const RECT& area, COLORREF background, const std::wstring& text,
                const RECT& textRect, int tenthsOfPoint, COLORREF colour, int dpi = 0)
{
    DibCanvas reference(canvas.Width(), canvas.Height(), background);
    DrawReferenceText(reference.Hdc(), text, textRect, tenthsOfPoint, colour, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                      dpi);
    const auto isInk = [background](COLORREF c) { return c != background; };
    const RECT ink = reference.Bounds(isInk);
    ASSERT_FALSE(IsRectEmpty(&ink)) << "the reference text has no ink";
    RECT inside;
    IntersectRect(&inside, &ink, &area);
    EXPECT_TRUE(EqualRect(&inside, &ink)) << "text ink " << RectText(ink) << " leaves " << RectText(area);

    int mismatches = 0;
    std::string first;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (canvas.Pixel(x, y) != reference.Pixel(x, y) && mismatches++ == 0)
                first = std::to_string(x) + "," + std::to_string(y) + ": " + ColourText(canvas.Pixel(x, y)) +
                        " instead of " + ColourText(reference.Pixel(x, y));
        }
    }
    EXPECT_EQ(0, mismatches) << "text differs from the reference in " << RectText(area) << ", first at " << first;
}

// ---------------------------------------------------------------- running view

class BoardRunningView : public ::testing::Test {
protected:
    void SetUp() override
    {
        SKIP_UNLESS_GDI_DRAWS();
        LayOut(m_board);
        m_board.m_bRunning = 1;
    }

    Board m_board;
    DibCanvas m_canvas{kPlayArea.right + 10, kPlayArea.bottom + 10, kOutside};
};

TEST_F(BoardRunningView, EmptyFieldIsOneFlatGreenInsideThePlayArea)
{
    m_board.Draw(m_canvas.Dc(), "");
    for (int y = 0; y < m_canvas.Height(); ++y)
        for (int x = 0; x < m_canvas.Width(); ++x)
            ASSERT_EQ(ColourText(Inside(kPlayArea, x, y) ? kField : kOutside), ColourText(m_canvas.Pixel(x, y)))
                << "at " << x << "," << y;
}

TEST_F(BoardRunningView, MessageSitsOnAGreyOutlinedBandAcrossTheMiddle)
{
    m_board.Draw(m_canvas.Dc(), kStageNarrow);
    // mid = 241: the band spans 211..270 down and 10..467 across.
    const RECT band = {10, 211, 468, 271};
    for (int y = 0; y < m_canvas.Height(); ++y) {
        for (int x = 0; x < m_canvas.Width(); ++x) {
            const COLORREF c = m_canvas.Pixel(x, y);
            if (!Inside(kPlayArea, x, y)) {
                ASSERT_EQ(ColourText(kOutside), ColourText(c)) << x << "," << y;
            } else if (OnBoxOutline(band, x, y)) {
                ASSERT_EQ(ColourText(kGrey), ColourText(c)) << "band outline at " << x << "," << y;
            } else if (!Inside(band, x, y)) {
                ASSERT_EQ(ColourText(kField), ColourText(c)) << "field at " << x << "," << y;
            }
        }
    }
    // White, 20 pt, centred in the whole play area, on the band's blue-grey.
    ExpectText(m_canvas, BoxInterior(band), kBandFill, kStageText, kPlayArea, 200, kWhite);
    EXPECT_GT(m_canvas.Count(band, [](COLORREF c) { return c == kWhite; }), 20);
}

TEST_F(BoardRunningView, StatusLineIsCentredInTheTopStrip)
{
    m_board.SetStatusText(kStatusNarrow);
    m_board.Draw(m_canvas.Dc(), "");
    const RECT strip = {0, 0, 478, 30};
    ExpectText(m_canvas, strip, kField, kStatusText, strip, 200, kStatusYellow);
    EXPECT_EQ(0, m_canvas.Count(RECT{0, 30, 478, 482}, [](COLORREF c) { return c != kField; }));
}

TEST_F(BoardRunningView, StatusStripEndsAtThirtyWhereverThePlayAreaStarts)
{
    for (const int top : {0, 10}) {
        SCOPED_TRACE(top);
        LayOut(m_board, RECT{0, top, 478, 482});
        m_board.SetStatusText(kStatusNarrow);
        m_canvas.Fill(kOutside);
        m_board.Draw(m_canvas.Dc(), "");
        const RECT strip = {0, top, 478, 30};
        ExpectText(m_canvas, strip, kField, kStatusText, strip, 200, kStatusYellow);
        // No ink from y = 30 down, and nothing above the play area.
        EXPECT_EQ(0, m_canvas.Count(RECT{0, 30, 478, 482}, [](COLORREF c) { return c != kField; }));
        EXPECT_EQ(top * m_canvas.Width(), m_canvas.Count(RECT{0, 0, m_canvas.Width(), top},
                                                         [](COLORREF c) { return c == kOutside; }));
    }
}

TEST_F(BoardRunningView, MolesLieOnTheFieldAndUnderTheBand)
{
    PlaceMole(m_board, 100, 100);
    PlaceMole(m_board, 239, 200); // rect (214,175,264,225), half under the band
    m_board.Draw(m_canvas.Dc(), kStageNarrow);

    // The first mole whole: red frame at 75 and 125, picture inside.
    for (int i = 75; i <= 125; ++i) {
        ASSERT_EQ(kFrameRed, m_canvas.Pixel(125, i)) << i;
        ASSERT_EQ(kFrameRed, m_canvas.Pixel(i, 125)) << i;
        ASSERT_EQ(kFrameRed, m_canvas.Pixel(75, i)) << i;
        ASSERT_EQ(kFrameRed, m_canvas.Pixel(i, 75)) << i;
        ASSERT_EQ(kField, m_canvas.Pixel(126, i)) << i;
        ASSERT_EQ(kField, m_canvas.Pixel(i, 126)) << i;
    }
    EXPECT_EQ(0, m_canvas.Count(RECT{76, 76, 125, 125}, [](COLORREF c) { return c == kField; }));
    // The second one shows above the band (from y = 211), which covers the
    // rest of it.
    EXPECT_EQ(kFrameRed, m_canvas.Pixel(239, 175));
    EXPECT_EQ(kFrameRed, m_canvas.Pixel(214, 210));
    EXPECT_EQ(kFrameRed, m_canvas.Pixel(264, 210));
    EXPECT_EQ(0, m_canvas.Count(RECT{215, 176, 264, 211}, [](COLORREF c) { return c == kField; }));
    for (int x = 214; x <= 264; ++x) {
        ASSERT_EQ(kGrey, m_canvas.Pixel(x, 211)) << x;
        ASSERT_EQ(kBandFill, m_canvas.Pixel(x, 215)) << x;
        ASSERT_EQ(kBandFill, m_canvas.Pixel(x, 225)) << x;
    }
}

TEST(BoardScaling, EachFigureLiesWhereItsPlaceAt96DpiScaledPutsItAndTheStatusLineFillsItsStrip)
{
    SKIP_UNLESS_GDI_DRAWS();
    // Each figure at 96 dpi, its colour and the colour around it; a box's
    // outline leaves out its right and bottom edge, a frame runs through them.
    struct Figure { const char* name; bool running; RECT at96; bool frame; COLORREF edge; COLORREF around; };
    const Figure figures[] = {{"message band", true, {10, 211, 468, 271}, false, kGrey, kField},
                              {"mole", true, {75, 75, 125, 125}, true, kFrameRed, kField},
                              {"title box", false, kTitle, false, kTitleBox, kTitleBackground},
                              {"start button", false, kStart, true, kButtonFrame, kTitleBackground}};
    for (const int dpi : {96, 120, 144, 192}) {
        const DpiScale scale(dpi);
        Board board;
        LayOut(board);
        board.SetDpi(dpi);
        PlaceMole(board, 100, 100);
        board.SetStatusText(kStatusNarrow);
        for (const Figure& f : figures) {
            const RECT r = scale.Scale(f.at96);
            const int last = f.frame ? 0 : 1; // the last row and column in the figure
            const int midX = (r.left + r.right) / 2;
            const int midY = (r.top + r.bottom) / 2;
            DibCanvas canvas(scale.Scale(kPlayArea.right) + 10, scale.Scale(kPlayArea.bottom) + 10, kOutside);
            board.m_bRunning = f.running ? 1 : 0;
            board.Draw(canvas.Dc(), kStageNarrow);
            for (const POINT p : {POINT{r.left, midY}, POINT{r.right - last, midY}, POINT{midX, r.top}, POINT{midX, r.bottom - last}})
                EXPECT_EQ(ColourText(f.edge), ColourText(canvas.Pixel(p.x, p.y))) << f.name << "'s edge at " << p.x << "," << p.y << ", " << dpi << " dpi";
            for (const POINT p : {POINT{r.left - 1, midY}, POINT{r.right - last + 1, midY}, POINT{midX, r.top - 1}, POINT{midX, r.bottom - last + 1}})
                EXPECT_EQ(ColourText(f.around), ColourText(canvas.Pixel(p.x, p.y))) << "beside the " << f.name << " at " << p.x << "," << p.y << ", " << dpi << " dpi";
            if (f.running) {
                // The status line at this dpi, whole inside the strip that ends at 30 scaled.
                const RECT strip = scale.Scale(RECT{0, 0, kPlayArea.right, 30});
                ExpectText(canvas, strip, kField, kStatusText, strip, 200, kStatusYellow, dpi);
            }
        }
    }
}

// ---------------------------------------------------------------- title view

class BoardTitleView : public ::testing::Test {
protected:
    void SetUp() override
    {
        SKIP_UNLESS_GDI_DRAWS();
        LayOut(m_board);
    }

    // Every pixel outside the title box and the buttons is the dark
    // background (and outside the play area, untouched).
    void ExpectOnlyTitleAndButtons()
    {
        for (int y = 0; y < m_canvas.Height(); ++y) {
            for (int x = 0; x < m_canvas.Width(); ++x) {
                const bool inButton = (x >= kStart.left && x <= kStart.right && y >= kStart.top && y <= kStart.bottom) ||
                                      (x >= kExit.left && x <= kExit.right && y >= kExit.top && y <= kExit.bottom);
                if (Inside(kTitle, x, y) || inButton)
                    continue;
                const COLORREF expected = Inside(kPlayArea, x, y) ? kTitleBackground : kOutside;
                ASSERT_EQ(ColourText(expected), ColourText(m_canvas.Pixel(x, y))) << "at " << x << "," << y;
            }
        }
    }

    // A button that is not hovered: a light 1-pixel frame through all four
    // corners, and its blue 25 pt label centred on the dark background.
    void ExpectPlainButton(const RECT& r, const wchar_t* label)
    {
        for (int y = r.top; y <= r.bottom; ++y) {
            for (int x = r.left; x <= r.right; ++x) {
                if (OnFrame(r, x, y)) {
                    ASSERT_EQ(ColourText(kButtonFrame), ColourText(m_canvas.Pixel(x, y))) << "frame at " << x << "," << y;
                }
            }
        }
        ExpectText(m_canvas, RECT{r.left + 1, r.top + 1, r.right, r.bottom}, kTitleBackground, label, r, 250, kLabelBlue);
    }

    Board m_board;
    DibCanvas m_canvas{kPlayArea.right + 10, kPlayArea.bottom + 10, kOutside};
};

TEST_F(BoardTitleView, ShowsTheTitleBoxAndFramedButtonsOnDarkGrey)
{
    m_board.Draw(m_canvas.Dc(), "");
    ExpectOnlyTitleAndButtons();
    // The title box, outline and fill alike, with the blue 40 pt title centred.
    ExpectText(m_canvas, kTitle, kTitleBox, L"ぬらぽん", kTitle, 400, kLabelBlue);
    ExpectPlainButton(kStart, L"Start");
    ExpectPlainButton(kExit, L"Exit");
}

TEST_F(BoardTitleView, HoveredButtonIsAPinkBoxWithAGreyOutline)
{
    ASSERT_TRUE(m_board.UpdateHover(POINT{200, 250}));
    m_board.Draw(m_canvas.Dc(), "");
    ExpectOnlyTitleAndButtons();

    // A GDI box: outline on left..right-1 and top..bottom-1.
    for (int y = kStart.top; y <= kStart.bottom; ++y) {
        for (int x = kStart.left; x <= kStart.right; ++x) {
            const COLORREF c = m_canvas.Pixel(x, y);
            if (x == kStart.right || y == kStart.bottom) {
                ASSERT_EQ(ColourText(kTitleBackground), ColourText(c)) << "beyond the box at " << x << "," << y;
            } else if (OnBoxOutline(kStart, x, y)) {
                ASSERT_EQ(ColourText(kGrey), ColourText(c)) << "outline at " << x << "," << y;
            }
        }
    }
    ExpectText(m_canvas, BoxInterior(kStart), kHoverPink, L"Start", kStart, 250, kLabelBlue);
    // The other button stays plain.
    ExpectPlainButton(kExit, L"Exit");
}

TEST_F(BoardTitleView, MolesMessageAndStatusAreNotShown)
{
    PlaceMole(m_board, 30, 30);
    PlaceMole(m_board, 239, 241);
    m_board.SetStatusText(kStatusNarrow);
    TextRecordingDC recorder(m_canvas.Hdc());
    m_board.Draw(&recorder, kStageNarrow);
    ExpectOnlyTitleAndButtons();
    EXPECT_EQ(0, m_canvas.Count(m_canvas.Whole(), [](COLORREF c) { return c == kFrameRed; }));
    EXPECT_EQ(nullptr, recorder.Find(kStageText));
    EXPECT_EQ(nullptr, recorder.Find(kStatusText));
}

// ---------------------------------------------------------------- hover

TEST(BoardHover, ReportsEnteringAndLeavingAButtonOnce)
{
    Board board;
    LayOut(board);
    EXPECT_FALSE(board.UpdateHover(POINT{10, 10}));
    EXPECT_TRUE(board.UpdateHover(POINT{200, 250})) << "entering Start";
    EXPECT_EQ(1, board.m_bHoverStart);
    EXPECT_FALSE(board.UpdateHover(POINT{201, 251}));
    EXPECT_FALSE(board.UpdateHover(POINT{312, 285})) << "the last pixel inside";
    EXPECT_TRUE(board.UpdateHover(POINT{313, 260})) << "the right edge is outside";
    EXPECT_EQ(0, board.m_bHoverStart);
    EXPECT_FALSE(board.UpdateHover(POINT{200, 286})) << "the bottom edge is outside";
    EXPECT_TRUE(board.UpdateHover(POINT{177, 234})) << "the top-left corner is inside";
    EXPECT_TRUE(board.UpdateHover(POINT{200, 340})) << "straight from Start to Exit";
    EXPECT_EQ(0, board.m_bHoverStart);
    EXPECT_EQ(1, board.m_bHoverExit);
    EXPECT_TRUE(board.UpdateHover(POINT{0, 0}));
    // The spare and Read rectangles are never set, so no point enters them.
    for (const POINT p : {POINT{0, 0}, POINT{-1, -1}, POINT{1, 1}, POINT{477, 481}})
        EXPECT_FALSE(board.UpdateHover(p)) << p.x << "," << p.y;
    EXPECT_FALSE(board.HitRead(POINT{0, 0}));
    EXPECT_FALSE(board.HitSpare(POINT{0, 0}));
    EXPECT_TRUE(board.HitStart(POINT{177, 234}));
    EXPECT_FALSE(board.HitExit(POINT{313, 323}));
}

// ---------------------------------------------------------------- spawning

TEST(BoardSpawn, OneMoleLandsAtARandomSpotAtLeastFivePixelsInside)
{
    Board board;
    board.SetPlayArea(RECT{0, 0, 640, 480});
    int minX = 10000, maxX = -1, minY = 10000, maxY = -1;
    for (int i = 0; i < 3000; ++i) {
        board.Spawn(1);
        ASSERT_EQ(1, board.MoleCount());
        Mole* mole = board.GetMole(0);
        ASSERT_EQ(50, mole->GetWidth());
        ASSERT_EQ(50, mole->GetHeight());
        const POINT c = mole->GetPosition();
        const RECT r = mole->GetRect();
        ASSERT_TRUE(c.x >= 30 && c.x <= 609 && c.y >= 30 && c.y <= 449) << c.x << "," << c.y;
        ASSERT_TRUE(r.left >= 5 && r.right <= 634 && r.top >= 5 && r.bottom <= 474) << RectText(r);
        minX = std::min<int>(minX, c.x);
        maxX = std::max<int>(maxX, c.x);
        minY = std::min<int>(minY, c.y);
        maxY = std::max<int>(maxY, c.y);
    }
    // Spread over the whole range, up to its ends.
    EXPECT_LE(minX, 40);
    EXPECT_GE(maxX, 599);
    EXPECT_LE(minY, 40);
    EXPECT_GE(maxY, 439);
}

TEST(BoardSpawn, ReplacesEveryMoleAndCreatesTheCountAsked)
{
    Board board;
    board.SetPlayArea(RECT{0, 0, 640, 480});
    for (const int count : {3, 0, -2, 1}) {
        SCOPED_TRACE(count);
        DestructionLog destroyed;
        board.m_moles.AddTail(new CountedMole(destroyed, 1));
        board.m_moles.AddTail(new CountedMole(destroyed, 2));
        const int before = board.MoleCount();
        board.Spawn(count);
        EXPECT_EQ(2, destroyed.Count()) << "the old moles are destroyed";
        EXPECT_EQ(std::max(count, 0), board.MoleCount()) << "had " << before;
        for (int i = 0; i < board.MoleCount(); ++i)
            EXPECT_EQ(50, board.GetMole(i)->GetWidth());
    }
}

TEST(BoardSpawn, NarrowPlayAreasPutTheMoleInTheMiddle)
{
    Board board;
    board.SetPlayArea(RECT{0, 0, 60, 400});
    for (int i = 0; i < 50; ++i) {
        board.Spawn(1);
        ASSERT_EQ(1, board.MoleCount());
        const POINT c = board.GetMole(0)->GetPosition();
        ASSERT_EQ(30, c.x);
        ASSERT_TRUE(c.y >= 30 && c.y <= 369) << c.y;
    }
    board.SetPlayArea(RECT{10, 10, 50, 40});
    board.Spawn(2);
    ASSERT_EQ(2, board.MoleCount());
    EXPECT_EQ(30, board.GetMole(0)->GetPosition().x);
    EXPECT_EQ(25, board.GetMole(0)->GetPosition().y);
    board.SetPlayArea(RECT{0, 0, 0, 0});
    board.Spawn(1);
    EXPECT_EQ(0, board.GetMole(0)->GetPosition().x);
}

TEST(BoardLifetime, DestroyingTheBoardDestroysItsMoles)
{
    DestructionLog destroyed;
    {
        Board board;
        for (int i = 1; i <= 3; ++i)
            board.m_moles.AddTail(new CountedMole(destroyed, i));
    }
    EXPECT_EQ(3, destroyed.Count());
}

TEST(BoardLifetime, DrawingLeaksNoGdiObjectOrContext)
{
    Board board;
    LayOut(board);
    PlaceMole(board, 100, 100);
    board.SetStatusText(kStatusNarrow);
    DibCanvas canvas(478, 482);
    const long gdiObjects = CGdiObject::LiveCount();
    const long contexts = CDC::LiveCount();
    for (const int running : {0, 1}) {
        board.m_bRunning = running;
        board.Draw(canvas.Dc(), kStageNarrow);
    }
    EXPECT_EQ(gdiObjects, CGdiObject::LiveCount());
    EXPECT_EQ(contexts, CDC::LiveCount());
}

} // namespace
