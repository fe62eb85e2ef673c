#pragma once
// Whether GDI draws on this system: one pixel filled in a memory bitmap made
// like the game's back buffer, then read back. Wine's WoW64 mode (which runs
// the 32-bit tests here) reads back CLR_INVALID for every pixel. The probe
// runs once, when a test program starts. Where the run says that drawing
// may fail (DUNKO_GDI_MAY_NOT_DRAW names why, as the i686 run does), the
// tests that need drawing skip themselves, with the probe's reason, only
// when it failed, so they run again by themselves on a system that draws.
// Anywhere else a probe that fails fails those tests: a Wine that stopped
// drawing must not pass as a run in which drawing was tested.
#include <string>

#include <gtest/gtest.h>

struct GdiDrawing {
    bool works;
    std::string reason;    // what the probe saw when drawing did not work
    std::string mayFail;   // why this run lets drawing fail, or empty
};

// The probe's result (probed on the first call).
const GdiDrawing& ProbeGdiDrawing();

// First statement of a test, or of a fixture's SetUp, that draws with GDI
// and reads the result back.
#define SKIP_UNLESS_GDI_DRAWS()                                                              \
    do {                                                                                     \
        const GdiDrawing& gdiDrawing_ = ProbeGdiDrawing();                                   \
        if (!gdiDrawing_.works && !gdiDrawing_.mayFail.empty())                              \
            GTEST_SKIP() << gdiDrawing_.reason;                                              \
        if (!gdiDrawing_.works)                                                              \
            FAIL() << gdiDrawing_.reason << " (set DUNKO_GDI_MAY_NOT_DRAW only where it may)"; \
    } while (0)
