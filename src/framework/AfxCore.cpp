#include "framework/AfxCore.h"

HINSTANCE AfxGetResourceHandle()
{
    return GetModuleHandleW(nullptr);
}

HINSTANCE AfxFindResourceHandle(LPCSTR, LPCSTR)
{
    return AfxGetResourceHandle();
}
