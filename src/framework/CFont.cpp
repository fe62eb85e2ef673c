#include "framework/CFont.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "framework/CDC.h"
#include "framework/TextCodec.h"

namespace {

// The screen's device context for the length of one font sizing.
class ScreenDC {
public:
    ScreenDC() : m_hDC(::GetDC(nullptr)) {}
    ~ScreenDC() { ::ReleaseDC(nullptr, m_hDC); }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    HDC Get() const { return m_hDC; }

private:
    HDC m_hDC;
};

} // namespace

BOOL CFont::CreatePointFont(int nPointSize, const char* lpszFaceName, CDC* pDC)
{
    LOGFONTW lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    const std::wstring face = TextCodec::Cp932ToWide(lpszFaceName != nullptr ? lpszFaceName : "",
                                                     lpszFaceName != nullptr ? static_cast<int>(std::strlen(lpszFaceName)) : 0);
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);

    ScreenDC screen;
    HDC hDC = pDC != nullptr ? pDC->GetSafeHdc() : screen.Get();
    // Tenths of a point to device pixels (720 per inch), rounded to the
    // nearest pixel, then to logical units; a negative height asks for the
    // character height, not the cell.
    POINT pt = {0, ::MulDiv(::GetDeviceCaps(hDC, LOGPIXELSY), nPointSize, 720)};
    ::DPtoLP(hDC, &pt, 1);
    POINT origin = {0, 0};
    ::DPtoLP(hDC, &origin, 1);
    lf.lfHeight = -std::abs(pt.y - origin.y);
    return Attach(::CreateFontIndirectW(&lf));
}
