// harbek_bench.exe <command> <table file> <work folder> [...], run from its build tree: one
// measurement (bench/README.md) per command, appending its lines or "<figure>: ERROR <why>" to the table.
//   wait-cost | exit-noticed | startup | binary-size | standin-launch | standin-copy <source> <copy>
//   | row {<figure> <goal> <samples> <reference samples>}...
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cmath>
#include <map>
#include <stdexcept>

#include "bench.h"
#include "support/files.h"
#include "support/harbek_session.h"
#include "support/text.h"
#include "support/window_lookup.h"

namespace bench {
namespace {

std::wstring table, tree, work;  // the table file, the build tree, the measurements' folder
std::vector<std::wstring> rest;  // the command's own arguments
std::string step;                // which run or program a failure is about

void need(bool ok, const std::string& why) { ok ? void() : throw std::runtime_error(why); }
void need(const ::testing::AssertionResult& r) { need(static_cast<bool>(r), r.message()); }
void add(const std::string& line) { need(appendToTable(table, line), "cannot write the table"); }

// work\name made afresh, with Harbek.exe, the test compactor as JetComp.exe and the database as db.mdb.
std::wstring freshFolder(const std::wstring& name) {
    const std::wstring folder = work + L"\\" + name;
    need(support::removeTree(folder) && support::makeFolders(folder) &&
             support::copyFile(tree + L"\\Harbek.exe", folder + L"\\Harbek.exe") &&
             support::copyFile(tree + L"\\tests\\e2e\\test_compactor.exe", folder + L"\\JetComp.exe") &&
             support::copyFile(work + L"\\source.mdb", folder + L"\\db.mdb"),
         "cannot make the folder " + support::utf8(folder));
    return folder;
}

// The first child of parentId named JetComp.exe, looked for about every millisecond for 20 s.
HANDLE waitForCompactor(DWORD parentId) {
    for (const ULONGLONG deadline = GetTickCount64() + 20000; GetTickCount64() < deadline; Sleep(1))
        for (DWORD id : support::childProcesses(parentId, L"JetComp.exe"))
            if (HANDLE h = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id)) return h;
    throw std::runtime_error("no JetComp.exe started within 20 s");
}

// Harbek in the folder repairs db.mdb as a user would (the path typed, 修復の実行(&R) pressed, the
// closing "終了しました。" answered); whileCompacting(harbek, compactor) runs as the compactor starts.
template <class F>
void repair(const std::wstring& folder, const support::Environment& env, F whileCompacting) {
    support::HarbekSession harbek;  // ends Harbek and its compactor on every path
    need(harbek.start(folder + L"\\Harbek.exe", folder, env));
    need(harbek.typePath(folder + L"\\db.mdb"));
    harbek.pressRun();
    whileCompacting(harbek, waitForCompactor(harbek.processId()));
    support::MessageBoxSeen box;
    need(harbek.waitForMessageBox(box, 60000));
    need(box.text == L"終了しました。", "Harbek showed \"" + support::utf8(box.text) + "\"");
    need(harbek.answer(box, IDOK));
    need(harbek.waitForExit());
}

// Kernel + user time summed over a process's threads: Wine 8's GetProcessTimes of another gives the caller's.
double processCpuMs(DWORD processId) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    double total = -1;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != processId) continue;
        HANDLE thread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ThreadID);
        FILETIME created, ended, kernel, user;
        if (thread && GetThreadTimes(thread, &created, &ended, &kernel, &user))
            for (const FILETIME& t : {kernel, user})
                total = std::max(total, 0.0) + (t.dwHighDateTime * 4294967296.0 + t.dwLowDateTime) / 1e4;
        if (thread) CloseHandle(thread);
    }
    if (snapshot != INVALID_HANDLE_VALUE) CloseHandle(snapshot);
    need(total >= 0, "cannot read the CPU time of process " + std::to_string(processId));
    return total;
}

// The wineserver's (HARBEK_BENCH_WINESERVER_PID) utime + stime from /proc/<pid>/stat, or NaN: fields
// 14 and 15, in 10 ms ticks, counted after the ')' that closes field 2, the command.
double wineserverCpuMs() {
    const char* pid = std::getenv("HARBEK_BENCH_WINESERVER_PID");
    std::ifstream in(std::string("Z:\\proc\\") + (pid && *pid ? pid : "-") + "\\stat", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    text.erase(0, text.rfind(')') + 1);  // npos + 1 is 0: all of it when there is none, as when unread
    unsigned long long utime = 0, stime = 0;
    const char* format = "%*s %*s %*s %*s %*s %*s %*s %*s %*s %*s %*s %llu %llu";
    return std::sscanf(text.c_str(), format, &utime, &stime) == 2 ? (utime + stime) * 10.0 : NAN;
}

// Figure 1: {waiter's, wineserver's} CPU in % of a core, read from outside as the compactor starts and ends.
std::pair<double, double> cpuWhileCompacting(DWORD waiter, HANDLE compactor) {
    const double t0 = clockMs(), c0 = processCpuMs(waiter), s0 = wineserverCpuMs();
    const DWORD waited = WaitForSingleObject(compactor, 60000);
    const double t1 = clockMs(), c1 = processCpuMs(waiter), s1 = wineserverCpuMs();
    CloseHandle(compactor);
    need(waited == WAIT_OBJECT_0 && t1 - t0 >= 1000, "the compactor ran for less than 1 s or over 60 s");
    return {(c1 - c0) / (t1 - t0) * 100, (s1 - s0) / (t1 - t0) * 100};
}

void measureWaitCost() {  // Harbek, then the busy poll, each waiting for the test compactor's 10-s copy
    std::printf("1. CPU while waiting for a 10-s compaction\n");
    support::Environment env = {{L"HARBEK_TEST_COMPACTOR", L"copy"},
                                {L"HARBEK_TEST_COMPACTOR_DELAY_MS", L"10000"}};
    std::pair<double, double> harbek, busy;
    step = "Harbek: ";
    repair(freshFolder(L"wait-harbek"), env, [&](auto& session, HANDLE compactor) {
        harbek = cpuWhileCompacting(session.processId(), compactor);
    });
    step = "busy poll: ";
    const std::wstring folder = freshFolder(L"wait-reference");
    env.push_back({L"HARBEK_BENCH_CHILD", L"\"" + folder + L"\\JetComp.exe\" -src:\"" + folder +
                                              L"\\db.mdb\" -dest:\"" + folder + L"\\busy.mdb\""});
    support::Process waiter;
    need(waiter.start({tree + L"\\bench\\busy_wait_window.exe", L"", folder, env}), "cannot start it");
    busy = cpuWhileCompacting(waiter.id(), waitForCompactor(waiter.id()));
    need(waiter.waitForExit(20000) && support::fileExists(folder + L"\\busy.mdb"), "it or its copy failed");
    add(cpuRow(harbek.first, busy.first));
    if (!std::isnan(harbek.second + busy.second))
        add(row("1   wineserver meanwhile (% of a core)", {harbek.second}, {busy.second}, ""));
}

// Figure 2: from the end the test compactor records to the log line, read after it, and to the driver's wake.
void measureExitNoticed() {
    std::printf("2. Compactor's end to the next log line, 20 runs\n");
    std::vector<double> noticed, woke;
    for (int run = 1; run <= 20; ++run) {
        step = "run " + std::to_string(run) + ": ";
        const std::wstring folder = freshFolder(L"exit-" + std::to_wstring(run)), record = folder + L"\\exit";
        const support::Environment env = {{L"HARBEK_TEST_COMPACTOR_DELAY_MS", L"200"},
                                          {L"HARBEK_TEST_COMPACTOR_EXIT_RECORD", record}};
        repair(folder, env, [&](auto& harbek, HANDLE compactor) {
            const DWORD waited = WaitForSingleObject(compactor, 20000);
            const double wakeMs = clockMs();
            CloseHandle(compactor);
            need(waited == WAIT_OBJECT_0, "the compactor did not end within 20 s");
            for (; harbek.log().find(L"修復前のファイル名を変更") == std::wstring::npos; Sleep(1))
                need(clockMs() - wakeMs < 10000, "no such line in the log 10 s after the compactor ended");
            const double seenMs = clockMs();
            long long ended = 0;
            need((std::ifstream(std::filesystem::path(record)) >> ended) && ended > 0,
                 "no exit time recorded");
            noticed.push_back(seenMs - clockMs(ended)), woke.push_back(wakeMs - clockMs(ended));
        });
        std::printf("  run %2d: %.1f ms (the driver woke after %.1f ms)\n", run, noticed.back(), woke.back());
    }
    add(row("2 Exit noticed, log line vs wake (ms)", noticed, woke, "< 20 ms"));
}

// Figure 3: CreateProcess to the window with all its controls, in rotation; the first round is not counted.
void measureStartup() {
    std::printf("3. Start-up to the window with its controls, 20 runs each\n");
    const std::wstring folder = freshFolder(L"startup");
    const wchar_t* names[] = {L"Harbek", L"bare_window", L"bare_window_manifest", L"bare_window_controls"};
    std::vector<double> ms[4];
    for (int run = 0; run <= 20; ++run) {
        for (int turn = 0, p = run % 4; turn < 4; ++turn, p = (p + 1) % 4) {
            step = support::utf8(names[p]) + ": ";
            support::Process process;
            const double started = clockMs();
            need(process.start({tree + (p ? L"\\bench\\" : L"\\") + names[p] + L".exe", L"", folder, {}}),
                 "cannot start it");
            HWND window = nullptr;
            for (; !(window = support::topLevelWindowWithCaption(
                         process.id(), p ? L"bare window" : support::kWindowCaption)) ||
                   support::childWindows(window, L"").size() < (p % 3 ? 0u : 6u);
                 Sleep(1)) {
                if (clockMs() - started > 20000) process.kill();
                need(process.running(), "it ended, or showed no window with its controls within 20 s");
            }
            const double taken = clockMs() - started;
            if (run > 0) std::printf("  run %2d: %-20ls %.0f ms\n", run, names[p], ms[p].emplace_back(taken));
            PostMessageW(window, WM_CLOSE, 0, 0);
            if (!process.waitForExit(10000)) process.kill();
        }
    }
    add(row("3 Start-up to the window (ms)", ms[0], ms[1], "<= 1.2x"));
    add(row("3   bare window + Harbek's manifest", ms[2], ms[1], ""));
    add(row("3   bare window + manifest + 6 controls", ms[3], ms[1], ""));
}

// Figure 4: the shipped 32-bit build (the mingw tree), whichever build the other figures run.
void measureBinarySize() {
    const std::wstring shipped = tree + L"\\..\\mingw\\";
    const auto harbek = std::filesystem::file_size(shipped + L"Harbek.exe");  // throws when it cannot
    const auto bare = std::filesystem::file_size(shipped + L"bench\\bare_window.exe");
    add(row("4 Harbek.exe size (KiB)", {harbek / 1024.0}, {bare / 1024.0}, "< 600 KiB"));
    pe::PeImports imports = pe::readImportsOfFile(shipped + L"Harbek.exe");
    need(imports.ok, "Harbek.exe's imports: " + imports.problem);
    imports.dlls.insert(imports.dlls.end(), imports.delayed.begin(), imports.delayed.end());
    add(importsRow(imports.dlls));
}

// Figure 5: JetComp.exe, its output thrown away, from CreateProcess to its end, and its peak working set
// read every 10 ms, as Wine gives it only while the process runs: {seconds, peak MiB}.
std::pair<double, double> runStandin(const std::wstring& arguments) {
    support::Process standin;
    const double started = clockMs();
    need(standin.start({tree + L"\\JetComp.exe", arguments, L"", {}, true}), "cannot start JetComp.exe");
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    SIZE_T peak = 0;  // the highest reading: one taken as the process ends reads 0
    for (; !standin.waitForExit(10); peak = std::max(peak, memory.PeakWorkingSetSize))
        GetProcessMemoryInfo(standin.handle(), &memory, sizeof memory);
    need(standin.exitCode() == 0, "JetComp.exe ended with " + std::to_string(standin.exitCode()));
    return {(clockMs() - started) / 1000, peak / 1048576.0};
}

void measureStandinLaunch() {  // alone, with -?
    std::vector<double> seconds;
    for (int run = 0; run < 3; ++run) seconds.push_back(runStandin(L"-?").first);
    add(row("5 JetComp.exe start alone (s)", seconds, {}, ""));
}

void measureStandinCopy() {  // one copy (run.sh compares it with the source); prints "<s> <peak MiB>"
    const auto [seconds, peak] = runStandin(L"-src:\"" + rest.at(0) + L"\" -dest:\"" + rest.at(1) + L"\"");
    need(peak > 0, "no peak working set could be read");
    std::printf("%.4f %.2f", seconds, peak);
}

void addRows() {
    for (std::size_t i = 0; i < rest.size(); i += 4)
        add(row(support::utf8(rest[i]), numbers(support::utf8(rest.at(i + 2))),
                numbers(support::utf8(rest.at(i + 3))), support::utf8(rest[i + 1])));
}

}  // namespace
}  // namespace bench

int wmain(int argc, wchar_t** argv) {
    using namespace bench;
    const std::map<std::wstring, std::pair<const char*, void (*)()>> commands = {
        {L"wait-cost", {"1 CPU", measureWaitCost}},
        {L"exit-noticed", {"2 Exit noticed", measureExitNoticed}},
        {L"startup", {"3 Start-up", measureStartup}},
        {L"binary-size", {"4 Size", measureBinarySize}},
        {L"standin-launch", {"5 Stand-in start", measureStandinLaunch}},
        {L"standin-copy", {"5 Stand-in copy", measureStandinCopy}},
        {L"row", {"Rows", addRows}}};
    const auto command = argc < 4 ? commands.end() : commands.find(argv[1]);
    if (command == commands.end()) return std::fprintf(stderr, "usage: see bench/driver/main.cpp\n"), 2;
    tree = std::filesystem::absolute(argv[0]).parent_path().parent_path().wstring();  // <tree>\bench\*.exe
    table = argv[2], work = argv[3], rest.assign(argv + 4, argv + argc);
    try {
        return command->second.second(), 0;
    } catch (const std::exception& e) {
        return appendToTable(table, command->second.first + (": ERROR " + step) + e.what()), 1;
    }
}
