// Where a sprite is and which points hit it.
#include <gtest/gtest.h>

#include "DibCanvas.h"
#include "framework/CDC.h"
#include "framework/CGdiObject.h"
#include "game/Mole.h"
#include "game/Sprite.h"

namespace {

TEST(SpriteGeometry, NewSpriteIsTenByTenAroundTheOrigin)
{
    Sprite sprite;
    const RECT rect = sprite.GetRect();
    EXPECT_EQ(RectText(RECT{-5, -5, 5, 5}), RectText(rect));
    EXPECT_TRUE(sprite.HitTest(POINT{0, 0}));
    EXPECT_TRUE(sprite.HitTest(POINT{-5, -5}));
    EXPECT_TRUE(sprite.HitTest(POINT{4, 4}));
    EXPECT_FALSE(sprite.HitTest(POINT{5, 0})) << "the right edge is outside";
    EXPECT_FALSE(sprite.HitTest(POINT{0, 5})) << "the bottom edge is outside";
    EXPECT_FALSE(sprite.HitTest(POINT{-6, 0}));
}

TEST(SpriteGeometry, OddSizesLoseAPixel)
{
    Sprite sprite;
    sprite.SetWidth(11);
    sprite.SetHeight(7);
    const RECT rect = sprite.GetRect();
    EXPECT_EQ(10, rect.right - rect.left);
    EXPECT_EQ(6, rect.bottom - rect.top);
}

TEST(SpriteGeometry, RectangleFollowsThePositionAndSize)
{
    Mole mole;
    mole.SetPosition(100, 100);
    mole.SetSize(50, 50);
    EXPECT_EQ(RectText(RECT{75, 75, 125, 125}), RectText(mole.GetRect()));
    EXPECT_TRUE(mole.HitTest(POINT{75, 75}));
    EXPECT_TRUE(mole.HitTest(POINT{124, 124}));
    EXPECT_FALSE(mole.HitTest(POINT{125, 100}));
    EXPECT_FALSE(mole.HitTest(POINT{100, 125}));
    EXPECT_FALSE(mole.HitTest(POINT{74, 100}));

    mole.MoveBy(-20, 10);
    EXPECT_EQ(RectText(RECT{55, 85, 105, 135}), RectText(mole.GetRect()));
    EXPECT_EQ(80, mole.GetPosition().x);
    EXPECT_EQ(110, mole.GetPosition().y);
}

TEST(SpriteBitmap, MissingResourcePaintsNothingAndLeaksNothing)
{
    DibCanvas canvas(60, 60, RGB(1, 2, 3));
    const std::vector<uint32_t> before = canvas.Snapshot();
    const long gdiObjects = CGdiObject::LiveCount();
    const long contexts = CDC::LiveCount();

    Sprite sprite;
    sprite.SetPosition(30, 30);
    sprite.SetSize(40, 40);
    sprite.DrawBitmap(canvas.Dc(), 9999);

    EXPECT_EQ(before, canvas.Snapshot());
    EXPECT_EQ(gdiObjects, CGdiObject::LiveCount());
    EXPECT_EQ(contexts, CDC::LiveCount());
}

} // namespace
