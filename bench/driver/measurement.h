// What the measurements of harbek_bench.exe share: where the programs lie and their files go, the
// table file they append their lines to, and Harbek driven through one repair as a user would.
// Each measurement returns 0, or appends why it failed and returns 1.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "support/harbek_session.h"
#include "support/process.h"

namespace bench {

struct Context {
    std::wstring table;  // the figures' finished lines are appended to it
    std::wstring bin;    // harbek_bench.exe and every program it starts (Harbek.exe, the compactor...)
    std::wstring work;   // the measurements' folders; source.mdb, a real Jet database, lies here

    std::wstring program(const std::wstring& name) const { return bin + L"\\" + name; }
    void add(const std::string& line) const;
    int fail(const std::string& figure, const std::string& why) const;  // adds "<figure>: ERROR <why>"

    // work\name, emptied and made afresh, holding copies of the programs of bin given as
    // {name, name in the folder}; empty on failure.
    std::wstring freshFolder(const std::wstring& name,
                             const std::vector<std::pair<std::wstring, std::wstring>>& programs = {}) const;
};

// Polls every millisecond or so for the first running child of parentId named JetComp.exe and
// opens it for waiting; null when none appears within 20 s.
HANDLE waitForCompactor(DWORD parentId);

// Starts folder\Harbek.exe with the extra environment (which Harbek passes on to its compactor),
// types the database's path and presses 修復の実行(&R). "" or why it failed.
std::string startRepair(support::HarbekSession& harbek, const std::wstring& folder,
                        const support::Environment& environment, const std::wstring& database);
// Waits for "終了しました。", answers it and waits for Harbek to end. "" or why it failed.
std::string finishRepair(support::HarbekSession& harbek);

int measureWaitCost(const Context& context);     // 1: CPU while the compactor runs
int measureExitNoticed(const Context& context);  // 2: compactor's end to the next log line
int measureStartup(const Context& context);      // 3: start to the window with its controls
int measureBinarySize(const Context& context);   // 4: Harbek.exe's size and imports
// 5: one copy by the stand-in, its seconds and peak working set printed for bench/run.sh.
int measureStandinCopy(const Context& context, const std::wstring& source, const std::wstring& destination);
int measureStandinLaunch(const Context& context);  // 5: the stand-in started with -? alone

}  // namespace bench
