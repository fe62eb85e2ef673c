#pragma once
#include "framework/CGdiObject.h"

class CFont : public CGdiObject {
public:
    // A font of nPointSize tenths of a point in the face lpszFaceName (code
    // page 932 text), sized for a window of nDpi dots per inch: tenths of a
    // point to pixels (720 per inch), rounded to the nearest pixel; a
    // negative height asks for the character height, not the cell.
    BOOL CreatePointFontForDpi(int nPointSize, const char* lpszFaceName, int nDpi);
    HFONT GetHandle() const { return static_cast<HFONT>(m_hObject); }
};
