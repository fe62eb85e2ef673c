#pragma once
// The game's target: the mole picture stretched into its rectangle with a
// red frame around it.
#include "game/Sprite.h"

class Mole : public Sprite {
public:
    ~Mole() override = default;
    void Draw(CDC* pDC);

    static constexpr COLORREF kFrameColour = 0x000000CC; // RGB(204, 0, 0)
};
