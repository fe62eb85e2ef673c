// How a mole looks: its picture stretched into its rectangle and the red
// frame around it, pixel by pixel.
#include <gtest/gtest.h>

#include <set>

#include "DibCanvas.h"
#include "GdiProbe.h"
#include "MoleScene.h"
#include "framework/CDC.h"
#include "framework/CGdiObject.h"
#include "game/Mole.h"
#include "util/DpiScale.h"

namespace {

const COLORREF kBackground = RGB(0, 255, 255); // a colour the picture does not use
const COLORREF kFrameRed = RGB(204, 0, 0);

// A mole drawing its frame around a picture that cannot be loaded.
class MoleWithoutPicture : public Mole {
public:
    void DrawBitmap(CDC* pDC, UINT) override { Mole::DrawBitmap(pDC, 9999); }
};

TEST(MoleDrawing, PictureFillsTheRectangleInsideARedFrameThroughItsCorners)
{
    SKIP_UNLESS_GDI_DRAWS();
    DibCanvas canvas(200, 200, kBackground);
    Mole mole;
    DrawMoleOn(canvas, mole, 100, 100, 50, 50);

    std::set<COLORREF> pictureColours;
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const COLORREF c = canvas.Pixel(x, y);
            const bool inSquare = x >= 75 && x <= 125 && y >= 75 && y <= 125;
            const bool onFrame = inSquare && (x == 75 || x == 125 || y == 75 || y == 125);
            if (!inSquare) {
                ASSERT_EQ(ColourText(kBackground), ColourText(c)) << "outside, at " << x << "," << y;
            } else if (onFrame) {
                ASSERT_EQ(ColourText(kFrameRed), ColourText(c)) << "frame, at " << x << "," << y;
            } else {
                ASSERT_NE(kBackground, c) << "picture, at " << x << "," << y;
                pictureColours.insert(c);
            }
        }
    }
    // The picture itself, not a flat fill: the mole has many shades.
    EXPECT_GT(pictureColours.size(), 10u);
}

TEST(MoleDrawing, AClickOnTheLeftOrTopFrameLineHitsAndOnTheRightOrBottomOneMissesAtEveryScaling)
{
    SKIP_UNLESS_GDI_DRAWS();
    for (const int dpi : {96, 120, 144, 192}) {
        DibCanvas canvas(400, 400, kBackground);
        Mole mole;
        mole.SetDpi(dpi);
        DrawMoleOn(canvas, mole, 100, 100, 50, 50);
        // The frame as the player sees it, right and bottom exclusive: the
        // 96-dpi rectangle scaled by its edges, and its right and bottom line.
        const RECT f = canvas.Bounds([](COLORREF c) { return c == kFrameRed; });
        RECT want = DpiScale(dpi).Scale(RECT{75, 75, 125, 125});
        ASSERT_EQ(RectText(RECT{want.left, want.top, want.right + 1, want.bottom + 1}), RectText(f)) << dpi << " dpi";
        const int mid = (f.left + f.right) / 2;
        struct Case { const char* where; POINT point; BOOL hit; };
        for (const Case& c : {Case{"on the left line", {f.left, mid}, TRUE}, {"on the top line", {mid, f.top}, TRUE},
                              {"on the right line", {f.right - 1, mid}, FALSE},
                              {"on the bottom line", {mid, f.bottom - 1}, FALSE},
                              {"just inside the right line", {f.right - 2, mid}, TRUE},
                              {"just inside the bottom line", {mid, f.bottom - 2}, TRUE},
                              {"just left of the frame", {f.left - 1, mid}, FALSE},
                              {"just above the frame", {mid, f.top - 1}, FALSE}}) {
            EXPECT_EQ(c.hit, mole.HitTest(c.point))
                << "a click " << c.where << " at " << c.point.x << "," << c.point.y << ", " << dpi << " dpi";
        }
    }
}

TEST(MoleDrawing, OtherSizesAndPlacesFollowTheRectangle)
{
    SKIP_UNLESS_GDI_DRAWS();
    DibCanvas canvas(100, 80, kBackground);
    Mole mole;
    DrawMoleOn(canvas, mole, 40, 30, 20, 10);

    const RECT drawn = canvas.Bounds([](COLORREF c) { return c != kBackground; });
    EXPECT_EQ(RectText(RECT{30, 25, 51, 36}), RectText(drawn));
    EXPECT_EQ(kFrameRed, canvas.Pixel(50, 35));
    EXPECT_EQ(kFrameRed, canvas.Pixel(30, 35));
    EXPECT_EQ(kFrameRed, canvas.Pixel(50, 25));
}

TEST(MoleDrawing, WithoutItsPictureOnlyTheFrameIsPainted)
{
    SKIP_UNLESS_GDI_DRAWS();
    DibCanvas canvas(200, 200, kBackground);
    MoleWithoutPicture mole;
    DrawMoleOn(canvas, mole, 100, 100, 50, 50);

    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const bool inSquare = x >= 75 && x <= 125 && y >= 75 && y <= 125;
            const bool onFrame = inSquare && (x == 75 || x == 125 || y == 75 || y == 125);
            ASSERT_EQ(ColourText(onFrame ? kFrameRed : kBackground), ColourText(canvas.Pixel(x, y)))
                << "at " << x << "," << y;
        }
    }
}

TEST(MoleDrawing, LeavesTheContextAsItFoundItAndLeaksNothing)
{
    // Reads the context's state back, which a context that cannot draw does
    // not keep.
    SKIP_UNLESS_GDI_DRAWS();
    DibCanvas canvas(200, 200, kBackground);
    HDC hDC = canvas.Hdc();
    const HGDIOBJ pen = GetCurrentObject(hDC, OBJ_PEN);
    const HGDIOBJ brush = GetCurrentObject(hDC, OBJ_BRUSH);
    const HGDIOBJ bitmap = GetCurrentObject(hDC, OBJ_BITMAP);
    const long gdiObjects = CGdiObject::LiveCount();
    const long contexts = CDC::LiveCount();
    // The picture is stretched straight from the resource: no context per draw.
    const long contextsMade = CDC::CreatedCount();
    for (int i = 0; i < 20; ++i) {
        Mole mole;
        DrawMoleOn(canvas, mole, 50 + i * 5, 60, 50, 50);
    }

    EXPECT_EQ(pen, GetCurrentObject(hDC, OBJ_PEN));
    EXPECT_EQ(brush, GetCurrentObject(hDC, OBJ_BRUSH));
    EXPECT_EQ(bitmap, GetCurrentObject(hDC, OBJ_BITMAP));
    EXPECT_EQ(R2_COPYPEN, GetROP2(hDC));
    EXPECT_EQ(gdiObjects, CGdiObject::LiveCount());
    EXPECT_EQ(contexts, CDC::LiveCount());
    EXPECT_EQ(contextsMade, CDC::CreatedCount());
}

} // namespace
