#pragma once
// Common Win32 base of the small application framework the game is written
// against. Everything here is a thin layer directly over USER, GDI and KERNEL.
#include <windows.h>

// The module whose resources the program loads: the executable itself.
HINSTANCE AfxGetResourceHandle();

// The module that holds a resource of the given type; with a single module
// that is always the executable.
HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType);
