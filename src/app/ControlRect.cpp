#include "app/ControlRect.h"

RECT GetControlRect(const CWnd& dialog, int nID)
{
    RECT rect = {0, 0, 0, 0};
    const CWnd control = dialog.GetDlgItem(nID);
    if (control.GetSafeHwnd() == nullptr)
        return rect;
    control.GetWindowRect(&rect);
    dialog.ScreenToClient(&rect);
    return rect;
}
