#pragma once
// A device context with the drawing operations the game uses. CDC itself
// never ends a context: only the types that made one can, so a context
// borrowed from someone else cannot be deleted through any CDC. CMemoryDC
// makes and deletes a memory context, CPaintDC begins and ends a paint, and
// CBorrowedDC wraps a context that belongs to someone else. Selections
// return borrowed handles of what was selected before, to be put back by the
// caller.
#include <atomic>

#include "framework/CBitmap.h"
#include "framework/CBrush.h"
#include "framework/CFont.h"
#include "framework/CPen.h"
#include "framework/CString.h"
#include "framework/GdiRef.h"
#include "framework/HandleCount.h"

class CDC {
public:
    virtual ~CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }

    virtual CPenRef SelectObject(CPen* pPen);
    virtual CBrushRef SelectObject(CBrush* pBrush);
    virtual CFontRef SelectObject(CFont* pFont);
    virtual CBitmapRef SelectObject(CBitmap* pBitmap);
    CPenRef SelectObject(CPenRef pen);
    CBrushRef SelectObject(CBrushRef brush);
    CFontRef SelectObject(CFontRef font);
    CBitmapRef SelectObject(CBitmapRef bitmap);

    int SetROP2(int nDrawMode) { return ::SetROP2(m_hDC, nDrawMode); }
    int GetROP2() const { return ::GetROP2(m_hDC); }
    virtual COLORREF SetBkColor(COLORREF crColor) { return ::SetBkColor(m_hDC, crColor); }
    int SetBkMode(int nBkMode) { return ::SetBkMode(m_hDC, nBkMode); }
    virtual COLORREF SetTextColor(COLORREF crColor) { return ::SetTextColor(m_hDC, crColor); }
    int GetDeviceCaps(int nIndex) const { return ::GetDeviceCaps(m_hDC, nIndex); }
    int SetStretchBltMode(int nMode) { return ::SetStretchBltMode(m_hDC, nMode); }

    BOOL Rectangle(int x1, int y1, int x2, int y2) { return ::Rectangle(m_hDC, x1, y1, x2, y2); }
    POINT MoveTo(int x, int y);
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    // Draws nCount bytes of code page 932 text (all of it for -1) through the
    // wide function, so the picture does not depend on the system code page.
    virtual int DrawText(const char* lpszString, int nCount, RECT* lpRect, UINT nFormat);
    int DrawText(const CString& str, RECT* lpRect, UINT nFormat);
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop)
    {
        return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC->m_hDC, xSrc, ySrc, dwRop);
    }
    BOOL StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                    int nSrcWidth, int nSrcHeight, DWORD dwRop);
    int StretchDIBits(int x, int y, int nWidth, int nHeight, int xSrc, int ySrc, int nSrcWidth,
                      int nSrcHeight, const void* lpBits, const BITMAPINFO* lpBitsInfo, UINT iUsage, DWORD dwRop)
    {
        return ::StretchDIBits(m_hDC, x, y, nWidth, nHeight, xSrc, ySrc, nSrcWidth, nSrcHeight, lpBits,
                               lpBitsInfo, iUsage, dwRop);
    }
    BOOL DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }

    // Memory contexts currently owned by CMemoryDC objects, in the whole process.
    static long LiveCount() { return s_count.Live(); }
    // How many were ever made or attached, to see what a drawing creates.
    static long CreatedCount() { return s_count.EverTaken(); }

    HDC m_hDC = nullptr;

protected:
    CDC() = default;
    static HandleCount s_count;
};

// A memory device context this object makes (or is given) and deletes.
class CMemoryDC : public CDC {
public:
    CMemoryDC() = default;
    ~CMemoryDC() override { DeleteDC(); }

    // A memory context compatible with pDC's device (the screen for null).
    BOOL CreateCompatibleDC(CDC* pDC);
    // Takes ownership of hDC.
    BOOL Attach(HDC hDC);
    HDC Detach();
    BOOL DeleteDC();
};

// A device context someone else owns (a test's bitmap context, one a message
// hands over): drawn into, never deleted.
class CBorrowedDC : public CDC {
public:
    explicit CBorrowedDC(HDC hDC = nullptr) { m_hDC = hDC; }
};
