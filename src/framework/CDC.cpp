#include "framework/CDC.h"

#include <cstring>
#include <string>

#include "framework/TextCodec.h"

HandleCount CDC::s_count;

BOOL CMemoryDC::Attach(HDC hDC)
{
    DeleteDC();
    if (hDC == nullptr)
        return FALSE;
    m_hDC = hDC;
    s_count.Take();
    return TRUE;
}

HDC CMemoryDC::Detach()
{
    HDC hDC = m_hDC;
    if (hDC != nullptr) {
        m_hDC = nullptr;
        s_count.Release();
    }
    return hDC;
}

BOOL CMemoryDC::DeleteDC()
{
    HDC hDC = Detach();
    return hDC != nullptr ? ::DeleteDC(hDC) : FALSE;
}

BOOL CMemoryDC::CreateCompatibleDC(CDC* pDC)
{
    return Attach(::CreateCompatibleDC(pDC != nullptr ? pDC->m_hDC : nullptr));
}

namespace {

// Selects hObject unless it is null (a failed creation is not selected, so
// the context keeps what it holds) and returns the previous object.
template <class THandle>
CGdiRef<THandle> SelectHandle(HDC hDC, HGDIOBJ hObject)
{
    if (hDC == nullptr || hObject == nullptr)
        return CGdiRef<THandle>();
    return CGdiRef<THandle>(static_cast<THandle>(::SelectObject(hDC, hObject)));
}

} // namespace

CPenRef CDC::SelectObject(CPen* pPen) { return SelectHandle<HPEN>(m_hDC, pPen->GetSafeHandle()); }
CBrushRef CDC::SelectObject(CBrush* pBrush) { return SelectHandle<HBRUSH>(m_hDC, pBrush->GetSafeHandle()); }
CFontRef CDC::SelectObject(CFont* pFont) { return SelectHandle<HFONT>(m_hDC, pFont->GetSafeHandle()); }
CBitmapRef CDC::SelectObject(CBitmap* pBitmap) { return SelectHandle<HBITMAP>(m_hDC, pBitmap->GetSafeHandle()); }
CPenRef CDC::SelectObject(CPenRef pen) { return SelectHandle<HPEN>(m_hDC, pen.GetSafeHandle()); }
CBrushRef CDC::SelectObject(CBrushRef brush) { return SelectHandle<HBRUSH>(m_hDC, brush.GetSafeHandle()); }
CFontRef CDC::SelectObject(CFontRef font) { return SelectHandle<HFONT>(m_hDC, font.GetSafeHandle()); }
CBitmapRef CDC::SelectObject(CBitmapRef bitmap) { return SelectHandle<HBITMAP>(m_hDC, bitmap.GetSafeHandle()); }

POINT CDC::MoveTo(int x, int y)
{
    POINT previous = {0, 0};
    ::MoveToEx(m_hDC, x, y, &previous);
    return previous;
}

int CDC::DrawText(const char* lpszString, int nCount, RECT* lpRect, UINT nFormat)
{
    if (lpszString == nullptr)
        return 0;
    const int length = nCount < 0 ? static_cast<int>(std::strlen(lpszString)) : nCount;
    const std::wstring wide = TextCodec::Cp932ToWide(lpszString, length);
    return ::DrawTextW(m_hDC, wide.c_str(), static_cast<int>(wide.size()), lpRect, nFormat);
}

int CDC::DrawText(const CString& str, RECT* lpRect, UINT nFormat)
{
    return DrawText(str.GetString(), str.GetLength(), lpRect, nFormat);
}

BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                     int nSrcWidth, int nSrcHeight, DWORD dwRop)
{
    return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC->m_hDC, xSrc, ySrc, nSrcWidth,
                        nSrcHeight, dwRop);
}
