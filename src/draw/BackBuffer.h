#pragma once
// The off-screen picture a window draws into before one blit shows it: a
// memory context holding a bitmap the size of the area. Both are kept from one
// paint to the next and made again when the area's size changes, or after
// Release (the window's end, or a change of the screen's format, which would
// leave the kept bitmap in the old one): under Wine, making the context and
// the bitmap for every paint cost several times the drawing itself.
#include "framework/CBitmap.h"
#include "framework/CDC.h"

class BackBuffer {
public:
    BackBuffer() = default;
    ~BackBuffer() { Release(); }
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;

    // The memory context, compatible with pTarget and holding a bitmap of
    // nWidth x nHeight; nullptr when either cannot be made.
    CDC* Get(CDC* pTarget, int nWidth, int nHeight);
    // Deletes the context and the bitmap; the next Get makes new ones.
    void Release();
    bool IsHeld() const { return m_memDC.GetSafeHdc() != nullptr; }

private:
    CMemoryDC m_memDC;
    CBitmap m_bitmap;
    CBitmapRef m_oldBitmap;
    int m_nWidth = 0;
    int m_nHeight = 0;
};
