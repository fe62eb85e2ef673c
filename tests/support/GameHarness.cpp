#include "GameHarness.h"

#include <thread>

std::vector<RECT> PredictMoleSpots(int count, int dpi)
{
    std::vector<RECT> spots;
    std::thread fresh([&] {
        Board board;
        board.SetPlayArea(kPlayArea);
        board.SetDpi(dpi);
        for (int i = 0; i < count; ++i) {
            board.Spawn(1);
            spots.push_back(board.GetMole(0)->GetRect());
        }
    });
    fresh.join();
    return spots;
}
