// copy_check_cost.exe <table file> <label> <database> <JetComp.exe> <scratch folder>
// Figure 6: what reading the copy and the original before the swap costs, against the stand-in's
// copy of the same file. Five rounds of each, alternating: the check reads the file twice through
// the same file service and reader the run uses; the stand-in is timed from CreateProcess to its
// end. Appends the row to the table and prints this process's peak working set in MiB, which must
// not grow with the file (run it once per file: one process, one peak).
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "clock.h"
#include "jet_reader/jet_reader.h"
#include "platform/win32/files.h"
#include "support/process.h"
#include "support/text.h"
#include "bench.h"

namespace {

// The run's check: the copy, then the original, each read whole through its own handle.
bool check(const std::wstring& path, std::uint64_t& rows) {
    rows = 0;
    auto files = win32::createFileSystem();
    for (int pass = 0; pass < 2; ++pass) {
        const auto file = files->openForReading(platform::Text(path.begin(), path.end()));
        if (!file) return false;
        const jet::Reading reading = jet::read(
            *file, [](std::uint32_t, const std::string& s) { return platform::Text(s.begin(), s.end()); });
        if (!reading.database) {
            std::fprintf(stderr, "%s\n", reading.problem.c_str());
            return false;
        }
        for (const jet::Table& table : reading.database->tables) rows += table.rows.value_or(0);
    }
    return true;
}

bool standinCopy(const std::wstring& jetcomp, const std::wstring& source, const std::wstring& destination) {
    const auto copied = support::runToEnd({jetcomp,
                                           L"-src:\"" + source + L"\" -dest:\"" + destination + L"\"",
                                           L"",
                                           {},
                                           false,
                                           CREATE_NO_WINDOW},
                                          INFINITE);
    DeleteFileW(destination.c_str());
    return copied.exitCode == 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 6) {
        std::fprintf(
            stderr,
            "usage: copy_check_cost.exe <table file> <label> <database> <JetComp.exe> <scratch folder>\n");
        return 2;
    }
    const std::wstring database = argv[3], jetcomp = argv[4];
    const std::wstring destination = std::wstring(argv[5]) + L"\\copy_check_cost.mdb";
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
    if (!bench::appendToTable(
            argv[1], bench::row("6 Check vs copy, " + support::utf8(argv[2]) + " (ms)", checks, copies,
                                "< 0.2x", std::to_string(rows / 2) + " rows a pass")))
        return 1;
    std::printf("%.2f", static_cast<double>(memory.PeakWorkingSetSize) / 1048576.0);
    return 0;
}
