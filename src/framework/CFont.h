#pragma once
#include "framework/CGdiObject.h"

class CDC;

class CFont : public CGdiObject {
public:
    // A font of nPointSize tenths of a point in the face lpszFaceName (code
    // page 932 text), sized from the vertical resolution of pDC, or of the
    // screen when pDC is null, as the platform's point-size fonts are.
    BOOL CreatePointFont(int nPointSize, const char* lpszFaceName, CDC* pDC = nullptr);
    // The same, sized for a window of nDpi dots per inch.
    BOOL CreatePointFontForDpi(int nPointSize, const char* lpszFaceName, int nDpi);
    HFONT GetHandle() const { return static_cast<HFONT>(m_hObject); }
};
