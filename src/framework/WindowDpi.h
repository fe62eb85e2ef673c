#pragma once
// A window's dots per inch and the frame around a client area at a given
// dots per inch. Windows 10 added the functions that answer these per
// window; they are looked up when first needed, so that the program still
// starts on Windows 7 and 8, where the screen's dots per inch hold for
// every window and the frame is the system's.
#include "framework/AfxCore.h"

// The messages Windows 10 sends a per-monitor aware window.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
#ifndef WM_GETDPISCALEDSIZE
#define WM_GETDPISCALEDSIZE 0x02E4
#endif

// The window's dots per inch; the screen's where the system cannot say.
int GetWindowDpi(HWND hWnd);

// The window rectangle, with its top left at 0, 0, around a client area
// of the given size for a window of this style at dpi.
RECT WindowRectForClient(SIZE client, DWORD style, DWORD exStyle, int dpi);

// Keeps the dialog manager of Windows 10 from resizing the dialog, its
// font and its controls when the dots per inch change: the window lays
// itself out. Does nothing on earlier systems, which do none of it.
void KeepDialogLayoutOnDpiChange(HWND hDialog);
