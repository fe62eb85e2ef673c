#pragma once
// A bitmap resource of the executable read in place: its header, colour
// table and pixels, straight from the loaded image. No GDI object is made,
// so drawing it costs only the stretch.
#include "framework/AfxCore.h"

class DibResource {
public:
    explicit DibResource(UINT nIDResource);

    BOOL IsLoaded() const { return m_pInfo != nullptr; }
    const BITMAPINFO* Info() const { return m_pInfo; }
    const void* Bits() const { return m_pBits; }
    int Width() const { return m_pInfo->bmiHeader.biWidth; }
    // Rows, whichever way they are stored.
    int Height() const;

private:
    const BITMAPINFO* m_pInfo = nullptr;
    const void* m_pBits = nullptr;
};
