#pragma once
// Each benchmark adds its rows to the report.
#include <string>
#include <vector>

struct Row {
    std::string what;
    std::string value;
    std::string target;
};

using Report = std::vector<Row>;

void RunPaintBench(Report& report);
void RunHitLatencyBench(Report& report);
void RunCpuBench(Report& report);
void RunStopBench(Report& report);
void RunStartupBench(Report& report, const std::wstring& gameExe, const std::wstring& floorExe,
                     const std::wstring& workingDir);
