#pragma once
// A drawing surface for the drawing tests: a 32-bit top-down DIB section
// selected into its own memory device context, with direct access to the
// pixels and comparisons of whole pictures.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/CDC.h"

class DibCanvas {
public:
    DibCanvas(int width, int height, COLORREF background = RGB(0, 0, 0));
    ~DibCanvas();
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    HDC Hdc() const { return m_hDC; }
    // The memory context as the game's wrapper (borrowed: the canvas deletes it).
    CDC* Dc() { return &m_dc; }

    // Paints every pixel (or those of rect) in colour, through the bits.
    void Fill(COLORREF colour);
    void Fill(const RECT& rect, COLORREF colour);

    // The pixel as a COLORREF; GDI's pending drawing is flushed first.
    COLORREF Pixel(int x, int y) const;

    // A copy of every pixel, row by row, for comparing whole pictures.
    std::vector<uint32_t> Snapshot() const;
    bool SameAs(const DibCanvas& other) const { return Snapshot() == other.Snapshot(); }

    // The smallest rectangle (right and bottom exclusive) holding every pixel
    // inside area for which the test holds; empty when there is none.
    RECT Bounds(const std::function<bool(COLORREF)>& test) const;
    RECT Bounds(const RECT& area, const std::function<bool(COLORREF)>& test) const;
    // How many pixels inside area pass the test.
    int Count(const RECT& area, const std::function<bool(COLORREF)>& test) const;
    RECT Whole() const { return RECT{0, 0, m_width, m_height}; }


private:
    uint32_t* Row(int y) const { return m_pBits + static_cast<size_t>(y) * m_width; }

    int m_width;
    int m_height;
    HDC m_hDC = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOldBitmap = nullptr;
    uint32_t* m_pBits = nullptr;
    CBorrowedDC m_dc{nullptr};
};

// A borrowed context that notes every text drawn through the game's wrapper:
// the text, its rectangle and format, and the colour, background mode and
// font in effect, then draws it as usual.
class TextRecordingDC : public CBorrowedDC {
public:
    struct Call {
        std::wstring text;
        RECT rect;
        UINT format;
        COLORREF colour;
        int bkMode;
        LOGFONTW font;
    };

    explicit TextRecordingDC(HDC hDC) : CBorrowedDC(hDC) {}
    using CDC::DrawText;
    int DrawText(const char* lpszString, int nCount, RECT* lpRect, UINT nFormat) override;

    // The calls that had something to draw, in order.
    std::vector<Call> NonEmpty() const;
    // The first non-empty call with this text; fails the test when missing.
    const Call* Find(const std::wstring& text) const;

    std::vector<Call> m_calls;
};

// The height (negative: a character height) of a font of the given tenths of
// a point at dpi (the screen's for 0), rounded to the nearest pixel.
int PointFontHeight(int tenthsOfPoint, int dpi = 0);

// The face the game's texts are painted in.
constexpr const wchar_t* kGameFace = L"ＭＳ ゴシック";

// Draws text straight through DrawTextW, in a font of kGameFace made here at
// the given size: what the game's texts must look like, whatever its own
// wrappers do.
void DrawReferenceText(HDC hDC, const std::wstring& text, RECT rect, int tenthsOfPoint, COLORREF colour, UINT format,
                       int dpi = 0);

// Channels of a COLORREF, and helpers for describing colours in failures.
inline int Red(COLORREF c) { return GetRValue(c); }
inline int Green(COLORREF c) { return GetGValue(c); }
inline int Blue(COLORREF c) { return GetBValue(c); }
std::string ColourText(COLORREF c);
std::string RectText(const RECT& r);

// Whether a pixel lies inside a rectangle, right and bottom exclusive.
inline bool Inside(const RECT& r, int x, int y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}
