#include "framework/CFont.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "framework/CDC.h"
#include "framework/TextCodec.h"

namespace {

// The screen's vertical resolution, read once: it is fixed for the life of
// the process (the system's dots per inch change only with a new logon),
// and taking the screen's device context for every text cost more under
// Wine than drawing the text.
int ScreenPixelsPerInchY()
{
    static const int dpi = [] {
        HDC screen = ::GetDC(nullptr);
        const int value = ::GetDeviceCaps(screen, LOGPIXELSY);
        ::ReleaseDC(nullptr, screen);
        return value;
    }();
    return dpi;
}

LOGFONTW FaceFont(const char* lpszFaceName)
{
    LOGFONTW lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    const std::wstring face = TextCodec::Cp932ToWide(lpszFaceName != nullptr ? lpszFaceName : "",
                                                     lpszFaceName != nullptr ? static_cast<int>(std::strlen(lpszFaceName)) : 0);
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    return lf;
}

} // namespace

BOOL CFont::CreatePointFont(int nPointSize, const char* lpszFaceName, CDC* pDC)
{
    // Tenths of a point to device pixels (720 per inch), rounded to the
    // nearest pixel, then to the context's logical units (the screen's are
    // pixels); a negative height asks for the character height, not the cell.
    if (pDC == nullptr)
        return CreatePointFontForDpi(nPointSize, lpszFaceName, ScreenPixelsPerInchY());
    LOGFONTW lf = FaceFont(lpszFaceName);
    HDC hDC = pDC->GetSafeHdc();
    POINT pt = {0, ::MulDiv(::GetDeviceCaps(hDC, LOGPIXELSY), nPointSize, 720)};
    ::DPtoLP(hDC, &pt, 1);
    POINT origin = {0, 0};
    ::DPtoLP(hDC, &origin, 1);
    lf.lfHeight = -std::abs(pt.y - origin.y);
    return Attach(::CreateFontIndirectW(&lf));
}

BOOL CFont::CreatePointFontForDpi(int nPointSize, const char* lpszFaceName, int nDpi)
{
    LOGFONTW lf = FaceFont(lpszFaceName);
    lf.lfHeight = -std::abs(::MulDiv(nDpi, nPointSize, 720));
    return Attach(::CreateFontIndirectW(&lf));
}
