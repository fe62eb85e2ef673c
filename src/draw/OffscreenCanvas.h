#pragma once
// One paint drawn off-screen: the window's back buffer takes the drawing, and
// Present puts the whole picture on the target with one blit, so the screen
// never shows a half-drawn frame. The buffer's context starts every paint with
// the attributes a new context has.
#include "draw/BackBuffer.h"
#include "framework/CDC.h"

class OffscreenCanvas {
public:
    // The canvas covers rcArea of pTarget, with the same coordinates, and
    // draws into buffer's context and bitmap, which stay the buffer's.
    OffscreenCanvas(CDC* pTarget, const RECT& rcArea, BackBuffer& buffer);
    OffscreenCanvas(const OffscreenCanvas&) = delete;
    OffscreenCanvas& operator=(const OffscreenCanvas&) = delete;

    // Where to draw: the memory context, or the target itself when no
    // memory context or bitmap could be had (then drawing goes straight on).
    CDC* GetDC() { return m_pMemDC != nullptr ? m_pMemDC : m_pTarget; }
    // Copies the picture to the target; nothing to do when drawing went straight on.
    void Present();

private:
    CDC* m_pTarget;
    RECT m_rcArea;
    CDC* m_pMemDC = nullptr;
};
