#include "framework/CFont.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "framework/TextCodec.h"

BOOL CFont::CreatePointFontForDpi(int nPointSize, const char* lpszFaceName, int nDpi)
{
    LOGFONTW lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    const std::wstring face = TextCodec::Cp932ToWide(lpszFaceName != nullptr ? lpszFaceName : "",
                                                     lpszFaceName != nullptr ? static_cast<int>(std::strlen(lpszFaceName)) : 0);
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    lf.lfHeight = -std::abs(::MulDiv(nDpi, nPointSize, 720));
    return Attach(::CreateFontIndirectW(&lf));
}
