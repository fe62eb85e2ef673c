#pragma once
// The game's target: the mole picture stretched into its rectangle with a
// red frame around it. It is placed and sized at 96 dots per inch; its
// rectangle, drawn and hit-tested, is that one scaled to the window's.
#include <atomic>

#include "game/Sprite.h"
#include "util/DpiScale.h"

class Mole : public Sprite {
public:
    ~Mole() override = default;
    void Draw(CDC* pDC);

    RECT GetRect() override { return DpiScale(m_nDpi.load()).Scale(Sprite::GetRect()); }
    // Set by the window's thread while the game's may hit-test the mole.
    void SetDpi(int dpi) { m_nDpi.store(dpi); }

    static constexpr COLORREF kFrameColour = 0x000000CC; // RGB(204, 0, 0)

private:
    std::atomic<int> m_nDpi{DpiScale::kBaseDpi};
};
