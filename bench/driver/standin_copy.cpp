// Figure 5, the stand-in's side: JetComp.exe copies one file, timed from CreateProcess to its end,
// while its peak working set is read every 10 ms (under Wine it can only be read while the
// process runs). bench/run.sh times Linux cp of the same file around these runs.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "cpu_time.h"
#include "figures.h"
#include "sample_keys.h"
#include "table.h"
#include "text.h"

namespace bench {
namespace {

struct Outcome {
    DWORD exitCode = 0;
    double seconds = 0;
    SIZE_T peakBytes = 0;
};

// Runs the stand-in with these arguments, its output thrown away.
std::string runStandin(const Context& context, const std::wstring& arguments, Outcome& outcome)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE nul = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul;
    startup.hStdOutput = nul;
    startup.hStdError = nul;
    std::wstring commandLine = L"\"" + context.program(L"JetComp.exe") + L"\" " + arguments;
    PROCESS_INFORMATION info{};
    const double started = nowMs();
    const BOOL ok = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                   &startup, &info);
    const DWORD error = GetLastError();
    CloseHandle(nul);
    if (!ok) return "cannot start JetComp.exe (error " + std::to_string(error) + ")";
    CloseHandle(info.hThread);
    for (;;) {
        PROCESS_MEMORY_COUNTERS memory{};
        memory.cb = sizeof memory;
        if (GetProcessMemoryInfo(info.hProcess, &memory, sizeof memory))
            outcome.peakBytes = std::max(outcome.peakBytes, memory.PeakWorkingSetSize);
        const DWORD r = WaitForSingleObject(info.hProcess, 10);
        if (r == WAIT_OBJECT_0) break;
        if (r != WAIT_TIMEOUT || nowMs() - started > 600000) {
            TerminateProcess(info.hProcess, 1);
            CloseHandle(info.hProcess);
            return "JetComp.exe did not end";
        }
    }
    outcome.seconds = (nowMs() - started) / 1000;
    GetExitCodeProcess(info.hProcess, &outcome.exitCode);
    CloseHandle(info.hProcess);
    return {};
}

}  // namespace

int measureStandinCopy(const Context& context, const std::string& label, const std::wstring& source,
                       const std::wstring& destination)
{
    const std::string figure = "Stand-in copy " + label;
    Outcome outcome;
    if (auto why = runStandin(context, L"-src:\"" + source + L"\" -dest:\"" + destination + L"\"", outcome);
        !why.empty())
        return context.fail(figure, why);
    if (outcome.exitCode != 0) return context.fail(figure, "JetComp.exe ended with " + std::to_string(outcome.exitCode));
    std::error_code e1, e2;
    const auto from = std::filesystem::file_size(source, e1), to = std::filesystem::file_size(destination, e2);
    if (e1 || e2 || from != to) return context.fail(figure, "the copy's size differs from the source's");
    if (outcome.peakBytes == 0) return context.fail(figure, "GetProcessMemoryInfo gave no peak working set");
    context.record(key(keys::kStandinBytes, label), static_cast<double>(from));
    context.record(key(keys::kStandinJetCompSeconds, label), outcome.seconds);
    context.record(key(keys::kStandinPeakBytes, label), static_cast<double>(outcome.peakBytes));
    std::printf("  JetComp.exe %s: %.2f s, peak working set %.1f MiB\n", label.c_str(), outcome.seconds,
                static_cast<double>(outcome.peakBytes) / (1024.0 * 1024.0));
    return 0;
}

int measureStandinLaunch(const Context& context)
{
    for (int run = 0; run < 3; ++run) {
        Outcome outcome;
        if (auto why = runStandin(context, L"-?", outcome); !why.empty()) return context.fail("Stand-in start", why);
        context.record(keys::kStandinLaunchSeconds, outcome.seconds);
    }
    return 0;
}

}  // namespace bench
