// Painting off-screen: the picture reaches the target only on Present, at the
// area's own coordinates; the back buffer is kept between paints, and every
// paint starts on it as on a new context.
#include <gtest/gtest.h>

#include "DibCanvas.h"
#include "GdiProbe.h"
#include "draw/OffscreenCanvas.h"
#include "framework/CGdiObject.h"

namespace {

const COLORREF kTargetColour = RGB(0, 0, 200);
const COLORREF kInk = RGB(220, 0, 0);

SIZE SelectedBitmapSize(CDC* pDC)
{
    BITMAP info = {};
    GetObjectW(GetCurrentObject(pDC->GetSafeHdc(), OBJ_BITMAP), sizeof(info), &info);
    return SIZE{info.bmWidth, info.bmHeight};
}

} // namespace

TEST(OffscreenCanvas, ThePictureReachesTheTargetOnlyOnPresentAtTheAreasCoordinates)
{
    SKIP_UNLESS_GDI_DRAWS();
    DibCanvas target(60, 40, kTargetColour);
    BackBuffer buffer;
    const RECT area = {10, 5, 50, 35};
    OffscreenCanvas canvas(target.Dc(), area, buffer);
    ASSERT_NE(target.Dc(), canvas.GetDC()) << "drawing went straight onto the target";
    const HBRUSH ink = CreateSolidBrush(kInk);
    const RECT box = {10, 5, 30, 20};
    FillRect(canvas.GetDC()->GetSafeHdc(), &box, ink);
    DeleteObject(ink);
    EXPECT_EQ(kTargetColour, target.Pixel(15, 10)) << "the target showed the picture before Present";

    canvas.Present();
    EXPECT_EQ(RectText(box), RectText(target.Bounds([](COLORREF c) { return c == kInk; })));
    EXPECT_EQ(kTargetColour, target.Pixel(5, 10)) << "outside the area";
    EXPECT_EQ(kTargetColour, target.Pixel(55, 10)) << "outside the area";
}

TEST(OffscreenCanvas, EveryPaintStartsWithTheAttributesOfANewContext)
{
    SKIP_UNLESS_GDI_DRAWS();
    DibCanvas target(50, 40);
    BackBuffer buffer;
    const RECT area = {0, 0, 40, 30};
    HDC firstDC = nullptr;
    {
        OffscreenCanvas first(target.Dc(), area, buffer);
        const HDC hdc = first.GetDC()->GetSafeHdc();
        firstDC = hdc;
        SetBkMode(hdc, TRANSPARENT);
        SetBkColor(hdc, RGB(0, 0, 0));
        SetTextColor(hdc, kInk);
        SetROP2(hdc, R2_XORPEN);
    }
    // The same size elsewhere: the same context, moved.
    OffscreenCanvas second(target.Dc(), RECT{4, 6, 44, 36}, buffer);
    const HDC hdc = second.GetDC()->GetSafeHdc();
    ASSERT_EQ(firstDC, hdc);
    EXPECT_EQ(OPAQUE, GetBkMode(hdc));
    EXPECT_EQ(RGB(255, 255, 255), GetBkColor(hdc));
    EXPECT_EQ(RGB(0, 0, 0), GetTextColor(hdc));
    EXPECT_EQ(R2_COPYPEN, GetROP2(hdc));
    POINT origin = {};
    GetViewportOrgEx(hdc, &origin);
    EXPECT_EQ(-4, origin.x);
    EXPECT_EQ(-6, origin.y);
}

TEST(BackBuffer, KeepsOneContextAndBitmapAcrossPaintsAndMakesThemAgainForANewSize)
{
    SKIP_UNLESS_GDI_DRAWS();
    DibCanvas target(10, 10);
    const long liveBefore = CGdiObject::LiveCount();
    const long contextsBefore = CDC::LiveCount();
    BackBuffer buffer;
    EXPECT_FALSE(buffer.IsHeld());

    CDC* first = buffer.Get(target.Dc(), 40, 30);
    ASSERT_NE(nullptr, first);
    const long created = CGdiObject::CreatedCount();
    const HDC hdc = first->GetSafeHdc();
    for (int paint = 0; paint < 3; ++paint)
        ASSERT_EQ(hdc, buffer.Get(target.Dc(), 40, 30)->GetSafeHdc());
    EXPECT_EQ(created, CGdiObject::CreatedCount()) << "a paint of the same size made a new bitmap";
    EXPECT_EQ(40, SelectedBitmapSize(first).cx);

    CDC* wider = buffer.Get(target.Dc(), 50, 30);
    ASSERT_NE(nullptr, wider);
    const SIZE size = SelectedBitmapSize(wider);
    EXPECT_EQ(50, size.cx);
    EXPECT_EQ(30, size.cy);
    EXPECT_EQ(liveBefore + 1, CGdiObject::LiveCount()) << "the old bitmap was kept too";
    EXPECT_EQ(contextsBefore + 1, CDC::LiveCount());

    EXPECT_EQ(nullptr, buffer.Get(target.Dc(), 0, 30));
    buffer.Release();
    EXPECT_FALSE(buffer.IsHeld());
    EXPECT_EQ(liveBefore, CGdiObject::LiveCount());
    EXPECT_EQ(contextsBefore, CDC::LiveCount());
}
