#include "DibCanvas.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "framework/TextCodec.h"

namespace {

// DIB pixels are 0x00RRGGBB; COLORREF is 0x00BBGGRR.
uint32_t ToPixel(COLORREF c)
{
    return (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) |
           GetBValue(c);
}

COLORREF ToColour(uint32_t p)
{
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

} // namespace

DibCanvas::DibCanvas(int width, int height, COLORREF background) : m_width(width), m_height(height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down: row 0 is y = 0
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_hDC = CreateCompatibleDC(nullptr);
    m_hBitmap = CreateDIBSection(m_hDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_pBits = static_cast<uint32_t*>(bits);
    m_hOldBitmap = SelectObject(m_hDC, m_hBitmap);
    m_dc.m_hDC = m_hDC;
    Fill(background);
}

DibCanvas::~DibCanvas()
{
    m_dc.m_hDC = nullptr;
    SelectObject(m_hDC, m_hOldBitmap);
    DeleteObject(m_hBitmap);
    DeleteDC(m_hDC);
}

void DibCanvas::Fill(COLORREF colour)
{
    Fill(Whole(), colour);
}

void DibCanvas::Fill(const RECT& rect, COLORREF colour)
{
    GdiFlush();
    const uint32_t p = ToPixel(colour);
    for (int y = std::max(0, static_cast<int>(rect.top)); y < std::min(m_height, static_cast<int>(rect.bottom)); ++y)
        for (int x = std::max(0, static_cast<int>(rect.left)); x < std::min(m_width, static_cast<int>(rect.right)); ++x)
            Row(y)[x] = p;
}

COLORREF DibCanvas::Pixel(int x, int y) const
{
    GdiFlush();
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return CLR_INVALID;
    return ToColour(Row(y)[x] & 0x00FFFFFF);
}

std::vector<uint32_t> DibCanvas::Snapshot() const
{
    GdiFlush();
    std::vector<uint32_t> copy(m_pBits, m_pBits + static_cast<size_t>(m_width) * m_height);
    for (uint32_t& p : copy)
        p &= 0x00FFFFFF;
    return copy;
}

RECT DibCanvas::Bounds(const std::function<bool(COLORREF)>& test) const
{
    return Bounds(Whole(), test);
}

RECT DibCanvas::Bounds(const RECT& area, const std::function<bool(COLORREF)>& test) const
{
    GdiFlush();
    RECT found = {m_width, m_height, 0, 0};
    bool any = false;
    for (int y = std::max(0, static_cast<int>(area.top)); y < std::min(m_height, static_cast<int>(area.bottom)); ++y) {
        for (int x = std::max(0, static_cast<int>(area.left)); x < std::min(m_width, static_cast<int>(area.right)); ++x) {
            if (!test(ToColour(Row(y)[x] & 0x00FFFFFF)))
                continue;
            any = true;
            found.left = std::min<LONG>(found.left, x);
            found.top = std::min<LONG>(found.top, y);
            found.right = std::max<LONG>(found.right, x + 1);
            found.bottom = std::max<LONG>(found.bottom, y + 1);
        }
    }
    return any ? found : RECT{0, 0, 0, 0};
}

int DibCanvas::Count(const RECT& area, const std::function<bool(COLORREF)>& test) const
{
    GdiFlush();
    int count = 0;
    for (int y = std::max(0, static_cast<int>(area.top)); y < std::min(m_height, static_cast<int>(area.bottom)); ++y)
        for (int x = std::max(0, static_cast<int>(area.left)); x < std::min(m_width, static_cast<int>(area.right)); ++x)
            if (test(ToColour(Row(y)[x] & 0x00FFFFFF)))
                ++count;
    return count;
}

std::string ColourText(COLORREF c)
{
    char text[32];
    std::snprintf(text, sizeof(text), "RGB(%d,%d,%d)", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

std::string RectText(const RECT& r)
{
    char text[64];
    std::snprintf(text, sizeof(text), "(%ld,%ld,%ld,%ld)", static_cast<long>(r.left), static_cast<long>(r.top),
                  static_cast<long>(r.right), static_cast<long>(r.bottom));
    return text;
}

int TextRecordingDC::DrawText(const char* lpszString, int nCount, RECT* lpRect, UINT nFormat)
{
    Call call = {};
    if (lpszString != nullptr)
        call.text = TextCodec::Cp932ToWide(lpszString, nCount < 0 ? static_cast<int>(std::strlen(lpszString)) : nCount);
    call.rect = *lpRect;
    call.format = nFormat;
    call.colour = GetTextColor(m_hDC);
    call.bkMode = GetBkMode(m_hDC);
    GetObjectW(GetCurrentObject(m_hDC, OBJ_FONT), sizeof(call.font), &call.font);
    m_calls.push_back(call);
    return CBorrowedDC::DrawText(lpszString, nCount, lpRect, nFormat);
}

std::vector<TextRecordingDC::Call> TextRecordingDC::NonEmpty() const
{
    std::vector<Call> calls;
    for (const Call& call : m_calls)
        if (!call.text.empty())
            calls.push_back(call);
    return calls;
}

const TextRecordingDC::Call* TextRecordingDC::Find(const std::wstring& text) const
{
    for (const Call& call : m_calls)
        if (call.text == text)
            return &call;
    return nullptr;
}

int PointFontHeight(int tenthsOfPoint, int dpi)
{
    if (dpi == 0) {
        HDC screen = GetDC(nullptr);
        dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    // 72 points to the inch; halves round up.
    return -((dpi * tenthsOfPoint + 360) / 720);
}

void DrawReferenceText(HDC hDC, const std::wstring& text, RECT rect, int tenthsOfPoint, COLORREF colour, UINT format,
                       int dpi)
{
    HFONT font = CreateFontW(PointFontHeight(tenthsOfPoint, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, kGameFace);
    HGDIOBJ old = SelectObject(hDC, font);
    const COLORREF oldColour = SetTextColor(hDC, colour);
    const int oldMode = SetBkMode(hDC, TRANSPARENT);
    DrawTextW(hDC, text.c_str(), static_cast<int>(text.size()), &rect, format);
    SetBkMode(hDC, oldMode);
    SetTextColor(hDC, oldColour);
    SelectObject(hDC, old);
    DeleteObject(font);
}
