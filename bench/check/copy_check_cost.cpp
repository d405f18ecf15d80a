// copy_check_cost.exe: figure 6 in a lean process of its own, whose peak working set is printed
// (MiB) for run.sh to weigh.
//   make <source> <destination> <MiB>: a database of that size grown from a real one (its rows and
//     long values repeated), so that the check reads real rows, not pages nothing points to;
//   count <database>: the count-only reading of both files, the peak's baseline; prints the rows;
//   <table> <label> <database> <JetComp.exe>: five rounds, alternating, of the program's own check
//     of the copy against the original (every value of both, read through the run's file service)
//     and the stand-in's copy of the same file, from CreateProcess to its end.
#include <windows.h>
#include <psapi.h>

#include "../driver/bench.h"
#include "jet_reader/jet_reader.h"
#include "main_window/frmMain.h"
#include "platform/win32/environment.h"
#include "platform/win32/files.h"
#include "platform/win32/processes.h"
#include "platform/win32/window.h"
#include "support/big_database.h"
#include "support/files.h"
#include "support/process.h"
#include "support/text.h"

namespace {

double peakMiB() {
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    return static_cast<double>(memory.PeakWorkingSetSize) / 1048576.0;
}

platform::Text text(const std::wstring& s) { return platform::Text(s.begin(), s.end()); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"make" && argc == 5) {
        const auto source = support::readBytes(argv[2]);
        const auto big = support::bigDatabase(source.value_or(""), std::stoull(argv[4]) << 20);
        if (big.bytes.empty()) return std::fprintf(stderr, "cannot grow it: %s\n", big.problem.c_str()), 1;
        return support::writeBytes(argv[3], big.bytes, CREATE_NEW) ? 0 : 1;
    }
    const auto files = win32::createFileSystem();
    if (mode == L"count" && argc == 3) {
        std::uint64_t rows = 0;
        for (int pass = 0; pass < 2; ++pass) {
            const jet::Reading reading = jet::read(*files->openForReading(text(argv[2])), {});
            for (const jet::Table& table : reading.database.value_or(jet::Database{}).tables)
                rows += table.rows.value_or(0);
        }
        return std::printf("%.2f %llu", peakMiB(), static_cast<unsigned long long>(rows)), 0;
    }
    if (argc != 5) return 2;
    win32::Window window(GetModuleHandleW(nullptr));
    win32::Environment environment(GetModuleHandleW(nullptr));
    win32::Processes processes;
    platform::install({&window, &environment, &processes});
    const std::wstring database = argv[3], copy = database + L"-copy.mdb";
    std::vector<double> checks, copies;
    for (int round = 0; round < 5; ++round) {
        const double started = bench::clockMs();
        const frmMain::CopyCheck check = frmMain::mCheckCopy(*files, text(database), text(database));
        if (!check.copyReadable || !check.everyRowCompared || !check.findings.empty())
            return std::fprintf(stderr, "the check of the same file found something\n"), 1;
        checks.push_back(bench::clockMs() - started);
        const std::wstring arguments = L"-src:\"" + database + L"\" -dest:\"" + copy + L"\"";
        if (support::runToEnd({argv[4], arguments, L"", {}, false, CREATE_NO_WINDOW}, INFINITE).exitCode != 0)
            return std::fprintf(stderr, "the stand-in's copy failed\n"), 1;
        DeleteFileW(copy.c_str());
        copies.push_back(bench::clockMs() - started - checks.back());
    }
    std::printf("%.2f", peakMiB());
    return !bench::appendToTable(argv[1], bench::row("6 Check vs copy, " + support::utf8(argv[2]) + " (ms)",
                                                     checks, copies, "< 0.33x"));
}
