#include "GdiProbe.h"

#include <cstdio>

#include "framework/AfxCore.h"

namespace {

std::string Hex(COLORREF c)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(c));
    return text;
}

GdiDrawing Probe()
{
    constexpr COLORREF kInk = RGB(12, 34, 56);
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, 4, 4);
    ReleaseDC(nullptr, screen);
    GdiDrawing result{false, "", ""};
    if (memory == nullptr || bitmap == nullptr) {
        result.reason = "GDI cannot draw here: no memory context or bitmap compatible with the screen";
    } else {
        const HGDIOBJ old = SelectObject(memory, bitmap);
        const RECT pixel = {1, 1, 2, 2};
        const HBRUSH brush = CreateSolidBrush(kInk);
        FillRect(memory, &pixel, brush);
        GdiFlush();
        const COLORREF drawn = GetPixel(memory, 1, 1);
        const COLORREF beside = GetPixel(memory, 2, 1);
        SelectObject(memory, old);
        DeleteObject(brush);
        // A new bitmap is black; the filled pixel must read back exactly.
        result.works = drawn == kInk && beside == RGB(0, 0, 0);
        if (!result.works)
            result.reason = "GDI cannot draw here: a pixel filled with " + Hex(kInk) +
                            " in a memory bitmap reads back as " + Hex(drawn) + " (the one beside it as " +
                            Hex(beside) + ")";
    }
    if (bitmap != nullptr)
        DeleteObject(bitmap);
    if (memory != nullptr)
        DeleteDC(memory);
    return result;
}

std::string WhyDrawingMayFail()
{
    wchar_t why[256] = L"";
    const DWORD length = GetEnvironmentVariableW(L"DUNKO_GDI_MAY_NOT_DRAW", why, 256);
    if (length == 0 || length >= 256)
        return length == 0 ? std::string() : std::string("(a reason too long to show)");
    return std::string(why, why + length);  // the scripts name it in ASCII
}

} // namespace

const GdiDrawing& ProbeGdiDrawing()
{
    static const GdiDrawing result = [] {
        GdiDrawing probed = Probe();
        probed.mayFail = WhyDrawingMayFail();
        return probed;
    }();
    return result;
}
