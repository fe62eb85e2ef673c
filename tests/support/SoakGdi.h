#pragma once
// GDI bookkeeping for the leak checks: what the framework's wrappers own
// right now, and the process's GDI objects as the system sees them, which
// also catches a handle that left its wrapper without being deleted.
#include <ostream>
#include <string>

#include <windows.h>

struct FrameworkGdi {
    long objects; // CGdiObject::LiveCount()
    long dcs;     // CDC::LiveCount()

    bool operator==(const FrameworkGdi& other) const { return objects == other.objects && dcs == other.dcs; }
    bool operator!=(const FrameworkGdi& other) const { return !(*this == other); }
};

FrameworkGdi CountFrameworkGdi();
// The counts with a window's back buffer (one bitmap in one memory context)
// added when it is held.
FrameworkGdi WithBackBuffer(FrameworkGdi counts, bool held);
std::string Describe(const FrameworkGdi& counts);
// For the test framework's failure messages.
inline void PrintTo(const FrameworkGdi& counts, std::ostream* os) { *os << Describe(counts); }

// The GDI objects of this process: GetGuiResources(GR_GDIOBJECTS) where it
// answers (Windows). Wine answers 0 there; under Wine the handle table is
// walked instead: Wine matches a handle whose upper word is zero against
// the table entry of its index, whatever that entry's generation, so
// GetObjectType on every index finds the live objects. The walk leaves out
// window device contexts and regions, Wine's cache of them. -1 when
// neither works, and callers then leave the system's count out.
long CountSystemGdiObjects();
// Which of the two ways CountSystemGdiObjects uses, for the log.
const char* SystemGdiSource();
// Under Wine, the live objects of the handle table by kind ("DC 3, FONT 12,
// ...", all kinds), for the log; empty elsewhere.
std::string DescribeSystemGdiByKind();
