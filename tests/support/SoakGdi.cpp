#include "SoakGdi.h"

#include <map>

#include "framework/CDC.h"
#include "framework/CGdiObject.h"

namespace {

bool RunningUnderWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

long WalkWineHandleTable()
{
    long live = 0;
    for (ULONG_PTR index = 1; index < 0x10000; ++index) {
        const DWORD kind = GetObjectType(reinterpret_cast<HGDIOBJ>(index));
        // Window device contexts and their clipping regions are Wine's
        // cache, which grows and shrinks with how windows happen to have
        // been painted; the game makes neither.
        if (kind != 0 && kind != OBJ_DC && kind != OBJ_REGION)
            ++live;
    }
    return live;
}

} // namespace

FrameworkGdi CountFrameworkGdi()
{
    return FrameworkGdi{CGdiObject::LiveCount(), CDC::LiveCount()};
}

FrameworkGdi WithBackBuffer(FrameworkGdi counts, bool held)
{
    return held ? FrameworkGdi{counts.objects + 1, counts.dcs + 1} : counts;
}

std::string Describe(const FrameworkGdi& counts)
{
    return std::to_string(counts.objects) + " objects, " + std::to_string(counts.dcs) + " device contexts";
}

long CountSystemGdiObjects()
{
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0)
        return static_cast<long>(reported);
    if (RunningUnderWine()) {
        const long walked = WalkWineHandleTable();
        // Stock objects alone are a dozen or more: none found means the walk
        // does not work on this Wine.
        return walked > 0 ? walked : -1;
    }
    return -1;
}

const char* SystemGdiSource()
{
    if (GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS) != 0)
        return "GetGuiResources";
    return RunningUnderWine() ? "Wine handle table" : "none";
}

std::string DescribeSystemGdiByKind()
{
    if (!RunningUnderWine())
        return std::string();
    static const char* const kNames[] = {"?", "PEN", "BRUSH", "DC", "METADC", "PAL", "FONT", "BITMAP", "REGION",
                                         "METAFILE", "MEMDC", "EXTPEN", "ENHMETADC", "ENHMETAFILE", "COLORSPACE"};
    std::map<DWORD, int> kinds;
    for (ULONG_PTR index = 1; index < 0x10000; ++index) {
        const DWORD kind = GetObjectType(reinterpret_cast<HGDIOBJ>(index));
        if (kind != 0)
            ++kinds[kind];
    }
    std::string text;
    for (const auto& [kind, count] : kinds) {
        if (!text.empty())
            text += ", ";
        const char* name = kind < sizeof(kNames) / sizeof(kNames[0]) ? kNames[kind] : "?";
        text += name + std::string(" ") + std::to_string(count);
    }
    return text;
}
