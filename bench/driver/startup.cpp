// Figure 3: from CreateProcess to the main window shown with all its controls and answering
// messages, Harbek against a bare window built the same way; and, to tell what Harbek's start-up
// spends where, against that window with Harbek's manifest, and with its controls too. They take
// turns, the order rotating every round, so that a change in the machine's load falls on all
// alike; a first round is not counted (it loads the files from disk).
#include <algorithm>
#include <cstdio>
#include <iterator>

#include "clock.h"
#include "measurement.h"
#include "support/window_lookup.h"
#include "bench.h"

namespace bench {
namespace {

constexpr int kRuns = 20;

struct Program {
    const wchar_t* exe;
    const wchar_t* caption;
    std::size_t controls;
    const char* name;
};

constexpr Program kPrograms[] = {
    {L"Harbek.exe", L"MDBファイル修復ツール", 6, "Harbek"},
    {L"bare_window.exe", L"bare window", 0, "bare window"},
    {L"bare_window_manifest.exe", L"bare window", 0, "+manifest"},
    {L"bare_window_controls.exe", L"bare window", 6, "+controls"},
};
constexpr int kCount = static_cast<int>(std::size(kPrograms));

std::string timeStart(const Context& context, const std::wstring& folder, const Program& program,
                      double& ms) {
    support::Process process;
    const double started = nowMs();
    if (!process.start({context.program(program.exe), L"", folder, {}}))
        return "cannot start it (error " + std::to_string(process.error()) + ")";
    HWND window = nullptr;
    for (;;) {
        window = support::topLevelWindowWithCaption(process.id(), program.caption);
        if (window && support::childWindows(window, L"").size() >= program.controls) break;
        if (!process.running()) return "it ended before showing its window";
        if (nowMs() - started > 20000) {
            process.kill();
            return "no window with its controls within 20 s";
        }
        Sleep(1);
    }
    ms = nowMs() - started;
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (!process.waitForExit(10000)) {
        process.kill();
        return "it did not end when its window was closed";
    }
    return {};
}

}  // namespace

int measureStartup(const Context& context) {
    std::printf("3. Start-up to the window with its controls, %d runs each\n", kRuns);
    const std::wstring folder = context.freshFolder(L"startup");
    if (folder.empty()) return context.fail("3 Start-up", "cannot make its folder");
    std::vector<double> ms[kCount];
    for (int run = 0; run <= kRuns; ++run) {
        for (int turn = 0; turn < kCount; ++turn) {
            const int p = (turn + run) % kCount;
            double taken = 0;
            if (auto why = timeStart(context, folder, kPrograms[p], taken); !why.empty())
                return context.fail("3 Start-up", std::string(kPrograms[p].name) + ": " + why);
            if (run == 0) continue;  // the warm-up round
            ms[p].push_back(taken);
            std::printf("  run %2d: %-12s %.0f ms\n", run, kPrograms[p].name, taken);
        }
    }
    // The verdict rests on the bare window; the other two tell where Harbek's start-up goes.
    context.add(row("3 Start-up to the window (ms)", ms[0], ms[1], "<= 1.2x"));
    context.add(row("3   bare window + Harbek's manifest", ms[2], ms[1], ""));
    context.add(row("3   bare window + manifest + 6 controls", ms[3], ms[1], ""));
    return 0;
}

}  // namespace bench
