#include "framework/WindowDpi.h"

namespace {

// A function of user32 that may be missing; null where it is.
template <class Function>
Function User32Function(const char* name)
{
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    const FARPROC found = user32 != nullptr ? ::GetProcAddress(user32, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(found));
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using SetDialogDpiChangeBehaviorFn = BOOL(WINAPI*)(HWND, int, int);

int ScreenDpi()
{
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

} // namespace

int GetWindowDpi(HWND hWnd)
{
    static const GetDpiForWindowFn getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    const UINT dpi = getDpiForWindow != nullptr ? getDpiForWindow(hWnd) : 0;
    return dpi != 0 ? static_cast<int>(dpi) : ScreenDpi();
}

RECT WindowRectForClient(SIZE client, DWORD style, DWORD exStyle, int dpi)
{
    static const AdjustWindowRectExForDpiFn adjustForDpi =
        User32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
    RECT rect = {0, 0, client.cx, client.cy};
    if (adjustForDpi == nullptr || !adjustForDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        ::AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    ::OffsetRect(&rect, -rect.left, -rect.top);
    return rect;
}

void KeepDialogLayoutOnDpiChange(HWND hDialog)
{
    // DDC_DISABLE_ALL: no resize, no new font, no new control layout.
    constexpr int kDisableAll = 0x0001;
    static const SetDialogDpiChangeBehaviorFn setBehavior =
        User32Function<SetDialogDpiChangeBehaviorFn>("SetDialogDpiChangeBehavior");
    if (setBehavior != nullptr)
        setBehavior(hDialog, kDisableAll, kDisableAll);
}
