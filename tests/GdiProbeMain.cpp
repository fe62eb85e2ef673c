// Tells a script whether GDI draws on this system, by the probe the test
// programs run at start-up: prints what it saw; exits 0 when drawing works,
// 1 when it does not.
#include <cstdio>

#include "GdiProbe.h"

int main()
{
    const GdiDrawing& gdi = ProbeGdiDrawing();
    std::printf("%s\n", gdi.works ? "GDI draws" : gdi.reason.c_str());
    return gdi.works ? 0 : 1;
}
