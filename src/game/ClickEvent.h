#pragma once
// One left-button release in the main dialog's client coordinates, queued
// for the game loop, which destroys it after testing it against the moles.
class ClickEvent {
public:
    ClickEvent() = default;
    ClickEvent(int x, int y) : m_nX(x), m_nY(y) {}
    virtual ~ClickEvent() = default;

    int m_nX = 0;
    int m_nY = 0;
};
