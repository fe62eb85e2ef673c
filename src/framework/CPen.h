#pragma once
#include "framework/CGdiObject.h"

class CPen : public CGdiObject {
public:
    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor)
    {
        return Attach(::CreatePen(nPenStyle, nWidth, crColor));
    }
    HPEN GetHandle() const { return static_cast<HPEN>(m_hObject); }
};
