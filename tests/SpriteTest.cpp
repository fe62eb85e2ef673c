// Where a sprite is and which points hit it.
#include <gtest/gtest.h>

#include "DibCanvas.h"
#include "GameLayout.h"
#include "framework/CDC.h"
#include "framework/CGdiObject.h"
#include "game/Mole.h"
#include "game/Sprite.h"

namespace {

TEST(SpriteGeometry, TheRectangleFollowsPositionSizeAndMovesAndAPointHitsFromItsLeftAndTopEdgesOn)
{
    // A new sprite (10 x 10 around the origin), a mole placed and sized,
    // then moved, and odd sizes, which lose a pixel.
    struct Case { bool fresh; POINT at; SIZE size; POINT moveBy; RECT rect; };
    for (const Case& c : {Case{true, {}, {}, {0, 0}, {-5, -5, 5, 5}}, {false, {100, 100}, {50, 50}, {0, 0}, {75, 75, 125, 125}},
                          {false, {100, 100}, {50, 50}, {-20, 10}, {55, 85, 105, 135}},
                          {false, {0, 0}, {11, 7}, {0, 0}, {-5, -3, 5, 3}}}) {
        Mole mole;
        if (!c.fresh) {
            mole.SetPosition(c.at.x, c.at.y);
            mole.SetSize(c.size.cx, c.size.cy);
        }
        mole.MoveBy(c.moveBy.x, c.moveBy.y);
        const RECT& r = c.rect;
        EXPECT_EQ(RectText(r), RectText(mole.GetRect())) << "at " << c.at.x << "," << c.at.y << " moved by " << c.moveBy.x << "," << c.moveBy.y;
        EXPECT_TRUE(Centre(r).x == mole.GetPosition().x && Centre(r).y == mole.GetPosition().y) << "its position";
        for (const POINT p : {POINT{r.left, r.top}, POINT{r.right - 1, r.bottom - 1}, Centre(r)})
            EXPECT_TRUE(mole.HitTest(p)) << p.x << "," << p.y << " in " << RectText(r);
        for (const POINT p : {POINT{r.right, r.top}, POINT{r.left, r.bottom}, POINT{r.left - 1, r.top}})
            EXPECT_FALSE(mole.HitTest(p)) << p.x << "," << p.y << " in " << RectText(r);
    }
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
