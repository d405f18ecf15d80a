// Figure 1: the CPU a program uses while it waits for a 10-second compaction: Harbek, driven
// through a real repair, against busy_wait_window, which polls with no pause. Both start the
// same test compactor as JetComp.exe; each waiter's CPU is read from outside when its compactor
// appears and when it ends (both waiters outlive it). The prefix's wineserver is followed too.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>

#include "clock.h"
#include "measurement.h"
#include "support/files.h"
#include "bench.h"

namespace bench {
namespace {

constexpr wchar_t kDelayMs[] = L"10000";

double fileTimeMs(const FILETIME& t) {
    return static_cast<double>(ULARGE_INTEGER{{t.dwLowDateTime, t.dwHighDateTime}}.QuadPart) / 10000.0;
}

// User plus kernel time the process has used so far: the sum of GetThreadTimes over its threads.
// Not GetProcessTimes: for another process Wine 8 answers with the caller's own times (checked
// here: a child spinning for 2.5 s read as the caller's 20 ms). Linux accounts CPU in 10 ms
// ticks, so that is the resolution. A thread that has ended no longer counts.
std::optional<double> processCpuMs(DWORD processId) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return std::nullopt;
    std::optional<double> total;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != processId) continue;
        HANDLE thread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ThreadID);
        if (!thread) continue;
        FILETIME created, ended, kernel, user;
        if (GetThreadTimes(thread, &created, &ended, &kernel, &user))
            total = total.value_or(0) + fileTimeMs(kernel) + fileTimeMs(user);
        CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return total;
}

// utime + stime of /proc/<pid>/stat of the prefix's wineserver, read through Wine's Z: drive, in
// ms; nothing when bench/run.sh found no wineserver (HARBEK_BENCH_WINESERVER_PID) or it cannot be read.
std::optional<double> wineserverCpuMs() {
    static const unsigned long pid = [] {
        const char* text = std::getenv("HARBEK_BENCH_WINESERVER_PID");
        return text ? std::strtoul(text, nullptr, 10) : 0;
    }();
    if (pid == 0) return std::nullopt;
    std::ifstream in("Z:\\proc\\" + std::to_string(pid) + "\\stat", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Field 2 is the command in parentheses, which may hold spaces: count from the last ')'. Then
    // fields 3 to 13, and utime (14) and stime (15), in clock ticks of 10 ms.
    const auto close = text.rfind(')');
    unsigned long long utime = 0, stime = 0;
    if (close == std::string::npos ||
        std::sscanf(text.c_str() + close + 1, "%*s %*s %*s %*s %*s %*s %*s %*s %*s %*s %*s %llu %llu", &utime,
                    &stime) != 2)
        return std::nullopt;
    return static_cast<double>(utime + stime) * 10.0;
}

struct WaitCost {
    double cpuPercent = 0;
    std::optional<double> serverPercent;
};

std::string measureWhileCompactorRuns(DWORD waiterId, WaitCost& out) {
    HANDLE compactor = waitForCompactor(waiterId);
    if (!compactor) return "no JetComp.exe started within 20 s";
    const double t0 = nowMs();
    const auto c0 = processCpuMs(waiterId);
    const auto s0 = wineserverCpuMs();
    const DWORD waited = WaitForSingleObject(compactor, 60000);
    const double t1 = nowMs();
    const auto c1 = processCpuMs(waiterId);
    const auto s1 = wineserverCpuMs();
    CloseHandle(compactor);
    if (waited != WAIT_OBJECT_0) return "the compactor did not end within 60 s";
    if (!c0 || !c1) return "cannot read the CPU time of process " + std::to_string(waiterId);
    if (t1 - t0 < 1000) return "the compactor ran for less than a second";
    out.cpuPercent = (*c1 - *c0) / (t1 - t0) * 100;
    if (s0 && s1) out.serverPercent = (*s1 - *s0) / (t1 - t0) * 100;
    return {};
}

// A folder with the waiter, the test compactor as JetComp.exe and a copy of the database.
std::wstring prepare(const Context& context, const std::wstring& name, const std::wstring& waiter) {
    const std::wstring folder =
        context.freshFolder(name, {{waiter, waiter}, {L"test_compactor.exe", L"JetComp.exe"}});
    if (folder.empty() || !support::copyFile(context.work + L"\\source.mdb", folder + L"\\db.mdb")) return {};
    return folder;
}

std::string measureHarbek(const Context& context, WaitCost& cost) {
    const std::wstring folder = prepare(context, L"wait-harbek", L"Harbek.exe");
    if (folder.empty()) return "cannot make the folder wait-harbek with the programs and the database";
    support::HarbekSession harbek;
    const support::Environment environment = {{L"HARBEK_TEST_COMPACTOR", L"copy"},
                                              {L"HARBEK_TEST_COMPACTOR_DELAY_MS", kDelayMs}};
    if (auto why = startRepair(harbek, folder, environment, folder + L"\\db.mdb"); !why.empty()) return why;
    if (auto why = measureWhileCompactorRuns(harbek.processId(), cost); !why.empty()) return why;
    return finishRepair(harbek);
}

std::string measureReference(const Context& context, WaitCost& cost) {
    const std::wstring folder = prepare(context, L"wait-reference", L"busy_wait_window.exe");
    if (folder.empty()) return "cannot make the folder wait-reference with the programs and the database";
    const std::wstring child = L"\"" + folder + L"\\JetComp.exe\" -src:\"" + folder + L"\\db.mdb\" -dest:\"" +
                               folder + L"\\_AfterRepair.mdb\"";
    support::Process waiter;
    if (!waiter.start({folder + L"\\busy_wait_window.exe",
                       L"",
                       folder,
                       {{L"HARBEK_TEST_COMPACTOR", L"copy"},
                        {L"HARBEK_TEST_COMPACTOR_DELAY_MS", kDelayMs},
                        {L"HARBEK_BENCH_CHILD", child}}}))
        return "cannot start busy_wait_window.exe (error " + std::to_string(waiter.error()) + ")";
    if (auto why = measureWhileCompactorRuns(waiter.id(), cost); !why.empty()) {
        waiter.kill();
        return why;
    }
    if (!waiter.waitForExit(20000)) {
        waiter.kill();
        return "busy_wait_window.exe did not end after its child";
    }
    if (!support::fileExists(folder + L"\\_AfterRepair.mdb"))
        return "the reference's compactor wrote no copy";
    return {};
}

}  // namespace

int measureWaitCost(const Context& context) {
    std::printf("1. CPU while waiting for a 10-s compaction\n");
    WaitCost harbek, reference;
    if (auto why = measureHarbek(context, harbek); !why.empty()) return context.fail("1 CPU (Harbek)", why);
    if (auto why = measureReference(context, reference); !why.empty())
        return context.fail("1 CPU (busy poll)", why);
    context.add(cpuRow(harbek.cpuPercent, reference.cpuPercent));
    // The busy poll's every call is a request to wineserver, which does much of its work.
    if (harbek.serverPercent && reference.serverPercent)
        context.add(row("1   wineserver meanwhile (% of a core)", {*harbek.serverPercent},
                        {*reference.serverPercent}, ""));
    return 0;
}

}  // namespace bench
