// Figure 5, the stand-in's side: JetComp.exe copies one file, timed from CreateProcess to its end,
// while its peak working set is read every 10 ms (under Wine it can only be read while the
// process runs). bench/run.sh times Linux cp of the same file around these runs.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "clock.h"
#include "measurement.h"
#include "bench.h"

namespace bench {
namespace {

struct Outcome {
    DWORD exitCode = 0;
    double seconds = 0;
    SIZE_T peakBytes = 0;
};

// Runs the stand-in with these arguments, its output read and thrown away.
std::string runStandin(const Context& context, const std::wstring& arguments, Outcome& outcome) {
    support::Process standin;
    const double started = nowMs();
    if (!standin.start({context.program(L"JetComp.exe"), arguments, L"", {}, true}))
        return "cannot start JetComp.exe (error " + std::to_string(standin.error()) + ")";
    for (;;) {
        PROCESS_MEMORY_COUNTERS memory{};
        memory.cb = sizeof memory;
        if (GetProcessMemoryInfo(standin.handle(), &memory, sizeof memory))
            outcome.peakBytes = std::max(outcome.peakBytes, memory.PeakWorkingSetSize);
        if (standin.waitForExit(10)) break;
        if (nowMs() - started > 600000) {
            standin.kill();
            return "JetComp.exe did not end";
        }
    }
    outcome.seconds = (nowMs() - started) / 1000;
    outcome.exitCode = standin.exitCode();
    return {};
}

}  // namespace

// Prints "<seconds> <peak MiB>" for bench/run.sh, which makes the rows from all the rounds.
int measureStandinCopy(const Context& context, const std::wstring& source, const std::wstring& destination) {
    const std::string figure = "5 Stand-in copy";
    Outcome outcome;
    if (auto why = runStandin(context, L"-src:\"" + source + L"\" -dest:\"" + destination + L"\"", outcome);
        !why.empty())
        return context.fail(figure, why);
    if (outcome.exitCode != 0)
        return context.fail(figure, "JetComp.exe ended with " + std::to_string(outcome.exitCode));
    std::error_code e1, e2;
    if (std::filesystem::file_size(source, e1) != std::filesystem::file_size(destination, e2) || e1 || e2)
        return context.fail(figure, "the copy's size differs from the source's");
    if (outcome.peakBytes == 0) return context.fail(figure, "GetProcessMemoryInfo gave no peak working set");
    std::printf("%.4f %.2f", outcome.seconds, static_cast<double>(outcome.peakBytes) / (1024.0 * 1024.0));
    return 0;
}

int measureStandinLaunch(const Context& context) {
    std::vector<double> seconds;
    for (int run = 0; run < 3; ++run) {
        Outcome outcome;
        if (auto why = runStandin(context, L"-?", outcome); !why.empty())
            return context.fail("5 Stand-in start", why);
        seconds.push_back(outcome.seconds);
    }
    context.add(row("5 JetComp.exe start alone (s)", seconds, {}, ""));
    return 0;
}

}  // namespace bench
