// Figure 2: how long after its compactor has ended Harbek writes its next log line,
// "修復前のファイル名を変更". The timed compactor records the performance counter as the last thing
// before it ends; the driver, itself blocked on the compactor's handle meanwhile (which gives the
// reference: how soon any waiter wakes), then reads Harbek's log about once a millisecond until
// the line is there. Harbek is not polled before its compactor has ended.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "cpu_time.h"
#include "figures.h"
#include "files.h"
#include "harbek_repair.h"
#include "sample_keys.h"

namespace bench {
namespace {

constexpr int kRuns = 20;
constexpr wchar_t kNextLine[] = L"修復前のファイル名を変更";

std::optional<double> recordedExitMs(const std::wstring& record)
{
    std::ifstream in(std::filesystem::path(record), std::ios::binary);
    long long ticks = 0;
    if (!(in >> ticks) || ticks <= 0) return std::nullopt;
    return ticksToMs(ticks);
}

struct Timing {
    double noticedMs = 0, wakeMs = 0;
};

std::string timeOneRun(const std::wstring& folder, int run, Timing& timing)
{
    const std::wstring name = L"run" + std::to_wstring(run);
    const std::wstring database = folder + L"\\" + name + L".mdb";
    const std::wstring record = folder + L"\\" + name + L"-exit.txt";
    if (!e2e::copyFile(folder + L"\\..\\source.mdb", database)) return "cannot copy the database";

    HarbekRepair repair;
    const e2e::Environment environment = {{L"HARBEK_BENCH_DELAY_MS", L"200"}, {L"HARBEK_BENCH_EXIT_RECORD", record}};
    if (auto why = repair.start(folder, environment, database); !why.empty()) return why;
    HANDLE compactor = waitForCompactor(repair.processId(), 20000);
    if (!compactor) return "no JetComp.exe started within 20 s";
    const DWORD waited = WaitForSingleObject(compactor, 20000);
    const double woke = nowMs();
    DWORD exitCode = 1;
    GetExitCodeProcess(compactor, &exitCode);
    CloseHandle(compactor);
    if (waited != WAIT_OBJECT_0) return "the compactor did not end within 20 s";
    if (exitCode != 0) return "the compactor ended with " + std::to_string(exitCode);

    double seen = 0;
    for (;;) {
        if (repair.log().find(kNextLine) != std::wstring::npos) {
            seen = nowMs();
            break;
        }
        if (nowMs() - woke > 10000) return "no \"修復前のファイル名を変更\" in the log 10 s after the compactor ended";
        Sleep(1);
    }
    const auto ended = recordedExitMs(record);
    if (!ended) return "the compactor left no exit time";
    timing.noticedMs = seen - *ended;
    timing.wakeMs = woke - *ended;
    return repair.finish();
}

}  // namespace

int measureExitNoticed(const Context& context)
{
    std::printf("2. Compactor's end to the next log line, %d runs\n", kRuns);
    const std::wstring folder = freshFolder(context, L"exit");
    if (folder.empty()) return context.fail("Exit noticed", "cannot make its folder");
    if (!copyProgram(context, L"Harbek.exe", folder, L"Harbek.exe") ||
        !copyProgram(context, L"timed_compactor.exe", folder, L"JetComp.exe"))
        return context.fail("Exit noticed", "cannot copy Harbek.exe and the timed compactor");
    for (int run = 1; run <= kRuns; ++run) {
        Timing timing;
        if (auto why = timeOneRun(folder, run, timing); !why.empty())
            return context.fail("Exit noticed", "run " + std::to_string(run) + ": " + why);
        context.record(keys::kExitMs, timing.noticedMs);
        context.record(keys::kExitWakeMs, timing.wakeMs);
        std::printf("  run %2d: log line after %.1f ms (driver woke after %.1f ms)\n", run, timing.noticedMs,
                    timing.wakeMs);
    }
    return 0;
}

}  // namespace bench
