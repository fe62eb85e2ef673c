// Prints the game's performance figures as a Markdown table.
// Usage: dunko_bench GAME_EXE FLOOR_EXE WORKING_DIR [SIZE_LABEL=FILE ...]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Benches.h"
#include "framework/CString.h"

namespace {

std::string Narrow(const std::wstring& wide)
{
    return CString::FromWide(wide.c_str(), static_cast<int>(wide.size())).GetString();
}

long long FileBytes(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// DUNKO_BENCH=paint,hit (any of paint, hit, cpu, stop, startup) runs only
// the benches named; unset, all of them run.
bool Wanted(const char* name)
{
    const char* only = std::getenv("DUNKO_BENCH");
    if (only == nullptr || *only == '\0')
        return true;
    const std::string list = std::string(",") + only + ",";
    return list.find(std::string(",") + name + ",") != std::string::npos;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    Report report;
    if (Wanted("paint"))
        RunPaintBench(report);
    if (Wanted("hit"))
        RunHitLatencyBench(report);
    if (Wanted("cpu"))
        RunCpuBench(report);
    if (Wanted("stop"))
        RunStopBench(report);
    if (argc >= 4 && Wanted("startup"))
        RunStartupBench(report, argv[1], argv[2], argv[3]);
    for (int i = 4; i < argc; ++i) {
        const std::wstring arg = argv[i];
        const size_t eq = arg.find(L'=');
        if (eq == std::wstring::npos)
            continue;
        const long long bytes = FileBytes(arg.substr(eq + 1));
        const bool i686 = arg.find(L"i686") != std::wstring::npos;
        report.push_back({"Size: " + Narrow(arg.substr(0, eq)), std::to_string(bytes) + " bytes",
                          i686 ? "<= 300 KB (" + std::to_string(bytes / 1024) + " KB)" : ""});
    }

    std::printf("| Figure | Measured | Target / ratio |\n|---|---|---|\n");
    for (const Row& row : report)
        std::printf("| %s | %s | %s |\n", row.what.c_str(), row.value.c_str(), row.target.c_str());
    return 0;
}
