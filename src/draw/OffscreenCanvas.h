#pragma once
// A bitmap the size of an area, in a memory context compatible with a target
// context: drawing goes into it, and Present puts the whole picture on the
// target with one blit, so the screen never shows a half-drawn frame.
#include "framework/CDC.h"

class OffscreenCanvas {
public:
    // The canvas covers rcArea of pTarget, with the same coordinates.
    OffscreenCanvas(CDC* pTarget, const RECT& rcArea);
    ~OffscreenCanvas();
    OffscreenCanvas(const OffscreenCanvas&) = delete;
    OffscreenCanvas& operator=(const OffscreenCanvas&) = delete;

    // Where to draw: the memory context, or the target itself when no
    // memory context or bitmap could be had (then drawing goes straight on).
    CDC* GetDC() { return m_bReady ? &m_memDC : m_pTarget; }
    // Copies the picture to the target; nothing to do when drawing went straight on.
    void Present();

private:
    CDC* m_pTarget;
    RECT m_rcArea;
    CMemoryDC m_memDC;
    CBitmap m_bitmap;
    CBitmapRef m_oldBitmap;
    bool m_bReady = false;
};
