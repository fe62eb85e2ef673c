// The floor for the start-up benchmark: a modal dialog from a template that
// paints its client area in one colour, and nothing else.
#include <windows.h>

namespace {

INT_PTR CALLBACK Proc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hWnd, &ps);
        RECT client;
        GetClientRect(hWnd, &client);
        HBRUSH brush = CreateSolidBrush(RGB(38, 38, 38));
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        EndPaint(hWnd, &ps);
        return TRUE;
    }
    case WM_CLOSE:
        EndDialog(hWnd, 0);
        return TRUE;
    }
    return FALSE;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return static_cast<int>(DialogBoxParamW(instance, MAKEINTRESOURCEW(1), nullptr, &Proc, 0));
}
