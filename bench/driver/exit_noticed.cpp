// Figure 2: how long after its compactor has ended Harbek writes its next log line,
// "修復前のファイル名を変更". The test compactor records the performance counter as the last thing
// before it ends (HARBEK_TEST_COMPACTOR_EXIT_RECORD); the driver, itself blocked on the
// compactor's handle meanwhile (which gives the reference: how soon any waiter wakes), then reads
// Harbek's log about once a millisecond until the line is there. Harbek is not polled before its
// compactor has ended.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "clock.h"
#include "measurement.h"
#include "support/files.h"
#include "bench.h"

namespace bench {
namespace {

constexpr int kRuns = 20;

struct Timing {
    double noticedMs = 0, wakeMs = 0;
};

std::string timeOneRun(const std::wstring& folder, int run, Timing& timing) {
    const std::wstring name = folder + L"\\run" + std::to_wstring(run);
    const std::wstring database = name + L".mdb", record = name + L"-exit.txt";
    if (!support::copyFile(folder + L"\\..\\source.mdb", database)) return "cannot copy the database";

    support::HarbekSession harbek;
    const support::Environment environment = {{L"HARBEK_TEST_COMPACTOR_DELAY_MS", L"200"},
                                              {L"HARBEK_TEST_COMPACTOR_EXIT_RECORD", record}};
    if (auto why = startRepair(harbek, folder, environment, database); !why.empty()) return why;
    HANDLE compactor = waitForCompactor(harbek.processId());
    if (!compactor) return "no JetComp.exe started within 20 s";
    const DWORD waited = WaitForSingleObject(compactor, 20000);
    const double woke = nowMs();
    DWORD exitCode = 1;
    GetExitCodeProcess(compactor, &exitCode);
    CloseHandle(compactor);
    if (waited != WAIT_OBJECT_0) return "the compactor did not end within 20 s";
    if (exitCode != 0) return "the compactor ended with " + std::to_string(exitCode);

    while (harbek.log().find(L"修復前のファイル名を変更") == std::wstring::npos) {
        if (nowMs() - woke > 10000)
            return "no \"修復前のファイル名を変更\" in the log 10 s after the compactor ended";
        Sleep(1);
    }
    const double seen = nowMs();
    long long ended = 0;
    if (!(std::ifstream(std::filesystem::path(record)) >> ended) || ended <= 0)
        return "the compactor left no exit time";
    timing.noticedMs = seen - ticksToMs(ended);
    timing.wakeMs = woke - ticksToMs(ended);
    return finishRepair(harbek);
}

}  // namespace

int measureExitNoticed(const Context& context) {
    std::printf("2. Compactor's end to the next log line, %d runs\n", kRuns);
    const std::wstring folder = context.freshFolder(
        L"exit", {{L"Harbek.exe", L"Harbek.exe"}, {L"test_compactor.exe", L"JetComp.exe"}});
    if (folder.empty())
        return context.fail("2 Exit noticed",
                            "cannot make its folder with Harbek.exe and the test compactor");
    std::vector<double> noticed, woke;
    for (int run = 1; run <= kRuns; ++run) {
        Timing timing;
        if (auto why = timeOneRun(folder, run, timing); !why.empty())
            return context.fail("2 Exit noticed", "run " + std::to_string(run) + ": " + why);
        noticed.push_back(timing.noticedMs);
        woke.push_back(timing.wakeMs);
        std::printf("  run %2d: log line after %.1f ms (driver woke after %.1f ms)\n", run, timing.noticedMs,
                    timing.wakeMs);
    }
    // The reference: how soon a waiter blocked on the compactor's handle wakes.
    context.add(row("2 Exit noticed, log line vs wake (ms)", noticed, woke, "< 20 ms"));
    return 0;
}

}  // namespace bench
