// The fixture of the failure scenarios: the shared repair fixture, plus a snapshot of the whole
// scenario folder before the run, the invariant checked against it afterwards, and starts of
// Harbek from a chosen current folder.
#pragma once

#include "nothing_lost.h"
#include "tree_snapshot.h"

#include "../scenarios/repair_scenario.h"

#include <optional>
#include <string>

namespace e2e {

enum class ProgramAfter { StaysOpen, Ended };

class FailureScenario : public RepairScenario {
protected:
    // Installs Harbek with the test compactor and places data\sales.mdb.
    void installWithDatabase(const std::wstring& fileName = L"sales.mdb",
                             const std::wstring& testDatabase = kJet3Database);

    // Starts the installed Harbek in currentFolder (its program folder when empty).
    ::testing::AssertionResult startHarbekIn(const std::wstring& currentFolder,
                                             const std::wstring& behaviour = L"copy", DWORD delayMs = 0);

    // Takes the record the invariant compares with; call it last before pressing run.
    void snapshotBefore();
    // startHarbekIn, then types path and takes the snapshot: all that comes before pressing run.
    ::testing::AssertionResult startWithPath(const std::wstring& path,
                                             const std::wstring& currentFolder = L"",
                                             const std::wstring& behaviour = L"copy", DWORD delayMs = 0);
    // Starts a run on data\sales.mdb with the compactor behaving so and returns once it has started.
    void runIntoTheWait(const std::wstring& behaviour, DWORD delayMs = 0);
    // The test, playing another program, removed this file during the run: it need not survive.
    void userRemoved(const std::wstring& path) { before_.erase(path); }

    // Presses run and reads the next message box.
    ::testing::AssertionResult runUntilMessageBox(support::MessageBoxSeen& box);
    std::wstring maskedLog() const;

    // The window is still usable after the box was answered, or the program has ended (waited
    // for); then no file of the user's was lost (nothingLost against snapshotBefore()).
    void expectNothingLost(const std::wstring& database, OriginalAt where, ProgramAfter state);

    // Presses run, which goes through to the completion message and the program's end.
    void expectRunSucceeds();

    std::wstring compactorPath() const;

    std::wstring database_;  // data\sales.mdb after installWithDatabase()
    TreeSnapshot before_;
};

// Types a probe text into the path field and reads it back; no message box may be up.
::testing::AssertionResult windowStillUsable(support::HarbekSession& harbek);

std::wstring missingMessage(const std::wstring& path);       // "<path>は存在しません。"
std::wstring inUseMessage(const std::wstring& path);         // "<path>は使用中です。…"
std::wstring exitCodeMessage(const std::wstring& codeText);  // "JetComp.exeが終了コード<N>で…"

// The log, times masked, when the run stopped before the check of the database, before the
// launch, after the wait, and in the move of line 30.
std::wstring logOfStartOnly();
std::wstring logUpToTheCompactorCheck();
std::wstring logUpToTheWait();
std::wstring logUpToTheFirstMove();

}  // namespace e2e
