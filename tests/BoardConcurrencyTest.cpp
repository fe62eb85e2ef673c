// The game thread replaces moles while the window thread paints them: every
// painted picture must be a whole mole at a spot Spawn can choose.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "DibCanvas.h"
#include "GdiProbe.h"
#include "MoleScene.h"
#include "game/Board.h"

namespace {

const COLORREF kBackground = RGB(0, 255, 255);
const RECT kPlayArea = {0, 0, 300, 240};

TEST(BoardConcurrency, PaintingWhileSpawningAndRemovingShowsOnlyWholeMoles)
{
    SKIP_UNLESS_GDI_DRAWS();
    // What one mole looks like, drawn alone at (25, 25): a 51 x 51 block.
    DibCanvas reference(51, 51, kBackground);
    {
        Mole mole;
        DrawMoleOn(reference, mole, 25, 25, 50, 50);
    }

    Board board;
    board.SetPlayArea(kPlayArea);
    std::atomic<bool> stop{false};
    std::atomic<int> spawns{0};

    std::thread game([&] {
        while (!stop.load()) {
            board.Spawn(1);
            std::this_thread::yield();
            board.RemoveMole(0);
            spawns.fetch_add(1);
        }
    });

    int paints = 0, withMole = 0, faults = 0;
    std::string firstFault;
    std::thread window([&] {
        DibCanvas canvas(kPlayArea.right, kPlayArea.bottom, kBackground);
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < 1000) {
            canvas.Fill(kBackground);
            board.DrawMoles(canvas.Dc());
            ++paints;
            const RECT drawn = canvas.Bounds([](COLORREF c) { return c != kBackground; });
            if (IsRectEmpty(&drawn))
                continue;
            ++withMole;
            // Centres lie in 30..269 x 30..209, so the rectangle's corner in
            // 5..244 x 5..184, and the frame makes it 51 pixels square.
            bool whole = drawn.right - drawn.left == 51 && drawn.bottom - drawn.top == 51 && drawn.left >= 5 &&
                         drawn.left <= 244 && drawn.top >= 5 && drawn.top <= 184;
            for (int y = 0; whole && y < 51; ++y)
                for (int x = 0; whole && x < 51; ++x)
                    whole = canvas.Pixel(drawn.left + x, drawn.top + y) == reference.Pixel(x, y);
            if (!whole && faults++ == 0)
                firstFault = RectText(drawn);
        }
    });

    window.join();
    stop = true;
    game.join();

    EXPECT_EQ(0, faults) << "first broken picture at " << firstFault;
    EXPECT_GT(paints, 20);
    EXPECT_GT(withMole, 0) << "the painter never saw a mole";
    EXPECT_GT(spawns.load(), 20);
    EXPECT_EQ(0, board.MoleCount());
}

} // namespace
