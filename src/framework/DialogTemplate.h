#pragma once
// Reads a dialog template resource of this program back, classic or
// extended, as the dialog manager will see it. Class ordinals become their
// names; class names are upper-cased so "Static" and 0x0082 compare equal.
#include <string>
#include <vector>

#include <windows.h>

struct TemplateItem {
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT units = {}; // left, top, right, bottom in dialog units
    int id = 0;
    std::wstring className;
    std::wstring text;
    WORD textOrdinal = 0; // a resource id given as the text (an icon's)
};

struct DialogTemplate {
    bool extended = false;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT units = {};
    std::wstring caption;
    WORD pointSize = 0;
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charset = 0;
    std::wstring face;
    std::vector<TemplateItem> items;
};

// False when the program has no such dialog resource.
bool LoadDialogTemplate(UINT nID, DialogTemplate* pOut);
