#pragma once
// A borrowed menu handle (the system menu a window hands out). It neither
// creates nor destroys the menu; the window that owns the menu does.
#include "framework/CString.h"

class CMenu {
public:
    CMenu() = default;
    explicit CMenu(HMENU hMenu) : m_hMenu(hMenu) {}

    HMENU GetSafeHmenu() const { return m_hMenu; }

    // Appends an item; the code page 932 text goes through AppendMenuW. A
    // separator takes no id and no text.
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, CString text = CString());

    HMENU m_hMenu = nullptr;
};
