#pragma once
#include "framework/CGdiObject.h"

class CBitmap : public CGdiObject {
public:
    // Loads a bitmap resource of the executable.
    BOOL LoadBitmap(UINT nIDResource);
    // Fills a BITMAP description (nCount bytes of it) of the owned bitmap.
    int GetObject(int nCount, LPVOID lpObject) const;
    HBITMAP GetHandle() const { return static_cast<HBITMAP>(m_hObject); }
};
