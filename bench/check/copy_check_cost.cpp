// copy_check_cost.exe <label> <database> <JetComp.exe> <scratch folder>
// Figure 6: what reading the copy and the original before the swap costs, against the stand-in's
// copy of the same file. Five rounds of each, alternating: the check reads the file twice through
// the same file service and reader the run uses; the stand-in is timed from CreateProcess to its
// end. Prints one row: medians (min-max) in ms, their ratio, and this process's peak working set,
// which must not grow with the file (run it once per file: one process, one peak).
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "clock.h"
#include "jet_reader/jet_reader.h"
#include "platform/win32/files.h"
#include "stats.h"
#include "support/process.h"

namespace {

// The run's check: the copy, then the original, each read whole through its own handle.
bool check(const std::wstring& path, std::uint64_t& rows)
{
    rows = 0;
    auto files = win32::createFileSystem();
    for (int pass = 0; pass < 2; ++pass) {
        const auto file = files->openForReading(platform::Text(path.begin(), path.end()));
        if (!file) return false;
        const jet::Reading reading = jet::read(*file, [](std::uint32_t, const std::string& s) {
            return platform::Text(s.begin(), s.end());
        });
        if (!reading.database) {
            std::fprintf(stderr, "%s\n", reading.problem.c_str());
            return false;
        }
        for (const jet::Table& table : reading.database->tables) rows += table.rows.value_or(0);
    }
    return true;
}

bool standinCopy(const std::wstring& jetcomp, const std::wstring& source, const std::wstring& destination)
{
    const auto copied = support::runToEnd(
        {jetcomp, L"-src:\"" + source + L"\" -dest:\"" + destination + L"\"", L"", {}, false, CREATE_NO_WINDOW}, INFINITE);
    DeleteFileW(destination.c_str());
    return copied.exitCode == 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: copy_check_cost.exe <label> <database> <JetComp.exe> <scratch folder>\n");
        return 2;
    }
    const std::wstring label = argv[1], database = argv[2], jetcomp = argv[3];
    const std::wstring destination = std::wstring(argv[4]) + L"\\copy_check_cost.mdb";
    DeleteFileW(destination.c_str());

    std::vector<double> checks, copies;
    std::uint64_t rows = 0;
    for (int round = 0; round < 5; ++round) {
        double t0 = bench::nowMs();
        if (!check(database, rows)) return 1;
        checks.push_back(bench::nowMs() - t0);
        t0 = bench::nowMs();
        if (!standinCopy(jetcomp, database, destination)) {
            std::fprintf(stderr, "the stand-in's copy failed\n");
            return 1;
        }
        copies.push_back(bench::nowMs() - t0);
    }
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(database.c_str(), GetFileExInfoStandard, &data);
    const double mib = (static_cast<double>(data.nFileSizeHigh) * 4294967296.0 + data.nFileSizeLow) / 1048576.0;

    const bench::Summary check = bench::summarize(checks), copy = bench::summarize(copies);
    std::printf("  %-34ls %9.2f MiB  check %8.2f ms (%.2f-%.2f)  stand-in copy %8.2f ms (%.2f-%.2f)  "
                "check/copy %.3f  peak working set %.1f MiB  (%llu rows read per pass)\n",
                label.c_str(), mib, check.median, check.min, check.max, copy.median, copy.min, copy.max,
                check.median / copy.median, static_cast<double>(memory.PeakWorkingSetSize) / 1048576.0,
                static_cast<unsigned long long>(rows / 2));
    return 0;
}
