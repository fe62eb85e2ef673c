#include "framework/CMenu.h"

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, CString text)
{
    // Only a string item reads the text pointer; for the others it would be
    // taken as bitmap handle or owner-draw data.
    if ((nFlags & (MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW)) != 0)
        return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, nullptr);
    const std::wstring wide = text.ToWide();
    return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, wide.c_str());
}
