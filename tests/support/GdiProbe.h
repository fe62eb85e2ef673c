#pragma once
// Whether GDI draws on this system: one pixel filled in a memory bitmap made
// like the game's back buffer, then read back. Wine's WoW64 mode (which runs
// the 32-bit tests here) reads back CLR_INVALID for every pixel. The probe
// runs once, when a test program starts; the tests that need drawing skip
// themselves, with the probe's reason, only when it failed, so they run
// again by themselves on a system that draws.
#include <string>

#include <gtest/gtest.h>

struct GdiDrawing {
    bool works;
    std::string reason;  // what the probe saw when drawing did not work
};

// The probe's result (probed on the first call).
const GdiDrawing& ProbeGdiDrawing();

// First statement of a test, or of a fixture's SetUp, that draws with GDI
// and reads the result back.
#define SKIP_UNLESS_GDI_DRAWS()                                  \
    do {                                                         \
        const GdiDrawing& gdiDrawing_ = ProbeGdiDrawing();       \
        if (!gdiDrawing_.works)                                  \
            GTEST_SKIP() << gdiDrawing_.reason;                  \
    } while (0)
