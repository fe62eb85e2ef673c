#pragma once
#include "framework/CGdiObject.h"

class CBrush : public CGdiObject {
public:
    BOOL CreateSolidBrush(COLORREF crColor) { return Attach(::CreateSolidBrush(crColor)); }
    HBRUSH GetHandle() const { return static_cast<HBRUSH>(m_hObject); }
};
