#pragma once
#include "framework/CGdiObject.h"

class CDC;

class CBitmap : public CGdiObject {
public:
    // Loads a bitmap resource of the executable.
    BOOL LoadBitmap(UINT nIDResource);
    // A bitmap in the format of pDC's device, to draw off-screen for it.
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    // Fills a BITMAP description (nCount bytes of it) of the owned bitmap.
    int GetObject(int nCount, LPVOID lpObject) const;
    HBITMAP GetHandle() const { return static_cast<HBITMAP>(m_hObject); }
};
