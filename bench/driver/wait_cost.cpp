// Figure 1: the CPU a program uses while it waits for a 10-second compaction: Harbek, driven
// through a real repair, against busy_wait_window, which polls with no pause. Both start the
// same test compactor as JetComp.exe; each waiter's CPU is read from outside when its compactor
// appears, every second, and when the compactor ends.
#include <cstdio>
#include <vector>

#include "cpu_time.h"
#include "figures.h"
#include "files.h"
#include "harbek_repair.h"
#include "process.h"
#include "sample_keys.h"
#include "table.h"
#include "text.h"

namespace bench {
namespace {

constexpr wchar_t kDelayMs[] = L"10000";

struct WaitCost {
    double seconds = 0, cpuPercent = 0;
    std::optional<double> serverPercent;
    std::vector<double> slices;
};

std::string measureWhileCompactorRuns(DWORD waiterId, WaitCost& out)
{
    HANDLE compactor = waitForCompactor(waiterId, 20000);
    if (!compactor) return "no JetComp.exe started within 20 s";
    const auto server = wineserverPid();
    const auto serverCpu = [&] { return server ? linuxProcessCpuMs(*server) : std::nullopt; };

    const double t0 = nowMs();
    const auto c0 = processCpuMs(waiterId);
    const auto s0 = serverCpu();
    if (!c0) {
        CloseHandle(compactor);
        return "cannot read the CPU time of process " + std::to_string(waiterId);
    }
    double lastT = t0, lastC = *c0;
    std::optional<double> lastS = s0;
    for (;;) {
        const DWORD r = WaitForSingleObject(compactor, 1000);
        const double t = nowMs();
        const auto c = processCpuMs(waiterId);
        const auto s = serverCpu();
        if (r == WAIT_FAILED || t - t0 > 60000) {
            CloseHandle(compactor);
            return r == WAIT_FAILED ? "cannot wait for the compactor" : "the compactor still runs after 60 s";
        }
        // The waiter may end with its compactor; then the last reading is where the interval ends.
        if (c) {
            if (r == WAIT_TIMEOUT) out.slices.push_back((*c - lastC) / (t - lastT) * 100);
            lastT = t;
            lastC = *c;
            lastS = s;
        }
        if (r == WAIT_OBJECT_0) break;
    }
    CloseHandle(compactor);
    out.seconds = (lastT - t0) / 1000;
    if (lastT - t0 < 1000) return "the compactor ran for less than a second";
    out.cpuPercent = (lastC - *c0) / (lastT - t0) * 100;
    if (s0 && lastS) out.serverPercent = (*lastS - *s0) / (lastT - t0) * 100;
    return {};
}

// A folder with the waiter, the test compactor as JetComp.exe and a copy of the database.
std::string prepare(const Context& context, const std::wstring& name, const std::wstring& waiter,
                    std::wstring& folder)
{
    folder = freshFolder(context, name);
    if (folder.empty()) return "cannot make the folder " + e2e::utf8(name);
    if (!copyProgram(context, waiter, folder, waiter) ||
        !copyProgram(context, L"test_compactor.exe", folder, L"JetComp.exe") ||
        !e2e::copyFile(context.sourceDatabase(), folder + L"\\db.mdb"))
        return "cannot copy the programs and the database into " + e2e::utf8(folder);
    return {};
}

void record(const Context& context, const char* who, const WaitCost& cost)
{
    context.record(key(keys::kCpuPercent, who), cost.cpuPercent);
    context.record(key(keys::kCpuSeconds, who), cost.seconds);
    if (cost.serverPercent) context.record(key(keys::kCpuServerPercent, who), *cost.serverPercent);
    for (double slice : cost.slices) context.record(key(keys::kCpuSlice, who), slice);
    std::printf("  %-9s %.2f %% of a core over %.1f s\n", who, cost.cpuPercent, cost.seconds);
}

std::string measureHarbek(const Context& context, WaitCost& cost)
{
    std::wstring folder;
    if (auto why = prepare(context, L"wait-harbek", L"Harbek.exe", folder); !why.empty()) return why;
    HarbekRepair run;
    const e2e::Environment environment = {{L"HARBEK_TEST_COMPACTOR", L"copy"},
                                          {L"HARBEK_TEST_COMPACTOR_DELAY_MS", kDelayMs}};
    if (auto why = run.start(folder, environment, folder + L"\\db.mdb"); !why.empty()) return why;
    if (auto why = measureWhileCompactorRuns(run.processId(), cost); !why.empty()) return why;
    return run.finish();
}

std::string measureReference(const Context& context, WaitCost& cost)
{
    std::wstring folder;
    if (auto why = prepare(context, L"wait-reference", L"busy_wait_window.exe", folder); !why.empty()) return why;
    const std::wstring child = L"\"" + folder + L"\\JetComp.exe\" -src:\"" + folder + L"\\db.mdb\" -dest:\"" +
                               folder + L"\\_AfterRepair.mdb\"";
    const e2e::Environment environment = {{L"HARBEK_TEST_COMPACTOR", L"copy"},
                                          {L"HARBEK_TEST_COMPACTOR_DELAY_MS", kDelayMs},
                                          {L"HARBEK_BENCH_CHILD", child}};
    e2e::Process waiter;
    DWORD error = 0;
    if (!waiter.start(folder + L"\\busy_wait_window.exe", folder, environment, error))
        return "cannot start busy_wait_window.exe (error " + std::to_string(error) + ")";
    if (auto why = measureWhileCompactorRuns(waiter.id(), cost); !why.empty()) {
        waiter.kill();
        return why;
    }
    if (!waiter.waitForExit(20000)) {
        waiter.kill();
        return "busy_wait_window.exe did not end after its child";
    }
    if (!e2e::fileExists(folder + L"\\_AfterRepair.mdb")) return "the reference's compactor wrote no copy";
    return {};
}

}  // namespace

int measureWaitCost(const Context& context)
{
    std::printf("1. CPU while waiting for a 10-s compaction\n");
    WaitCost harbek, reference;
    if (auto why = measureHarbek(context, harbek); !why.empty()) return context.fail("CPU while waiting (Harbek)", why);
    record(context, "harbek", harbek);
    if (auto why = measureReference(context, reference); !why.empty())
        return context.fail("CPU while waiting (reference)", why);
    record(context, "reference", reference);
    // Why not GetProcessTimes: see processCpuMs.
    context.record(keys::kCpuMethod, "CPU by GetThreadTimes");
    return 0;
}

}  // namespace bench
