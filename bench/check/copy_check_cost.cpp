// copy_check_cost.exe <table> <label> <database> <JetComp.exe>: figure 6 in a lean process of its own,
// whose peak working set (printed, in MiB) must not grow with the file. Five rounds, alternating, of
// the check (the copy, then the original, read through the run's file service and reader) and the
// stand-in's copy of the same file, from CreateProcess to its end.
#include <windows.h>
#include <psapi.h>

#include "../driver/bench.h"
#include "jet_reader/jet_reader.h"
#include "platform/win32/files.h"
#include "support/process.h"
#include "support/text.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 5) return 2;
    const std::wstring database = argv[3], copy = database + L"-copy.mdb";
    const auto text = [](std::uint32_t, const std::string& s) { return platform::Text(s.begin(), s.end()); };
    std::vector<double> checks, copies;
    std::uint64_t rows = 0;
    for (int round = 0; round < 5; ++round) {
        const double started = bench::clockMs();
        const auto files = win32::createFileSystem();
        for (int pass = 0; pass < 2; ++pass) {  // each through its own handle
            const auto file = files->openForReading(platform::Text(database.begin(), database.end()));
            const jet::Reading reading = file ? jet::read(*file, text) : jet::Reading{};
            if (!reading.database)
                return std::fprintf(stderr, "cannot read it: %s\n", reading.problem.c_str()), 1;
            for (const jet::Table& table : reading.database->tables) rows += table.rows.value_or(0);
        }
        checks.push_back(bench::clockMs() - started);
        const std::wstring arguments = L"-src:\"" + database + L"\" -dest:\"" + copy + L"\"";
        if (support::runToEnd({argv[4], arguments, L"", {}, false, CREATE_NO_WINDOW}, INFINITE).exitCode != 0)
            return std::fprintf(stderr, "the stand-in's copy failed\n"), 1;
        DeleteFileW(copy.c_str());
        copies.push_back(bench::clockMs() - started - checks.back());
    }
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    std::printf("%.2f", static_cast<double>(memory.PeakWorkingSetSize) / 1048576.0);
    const std::string note = std::to_string(rows / 10) + " rows a pass";
    return !bench::appendToTable(argv[1], bench::row("6 Check vs copy, " + support::utf8(argv[2]) + " (ms)",
                                                     checks, copies, "< 0.2x", note));
}
