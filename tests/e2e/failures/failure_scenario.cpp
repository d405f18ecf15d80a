#include "failure_scenario.h"

#include "../driver/assertions.h"
#include "support/files.h"
#include "support/text.h"
#include "support/window_lookup.h"

namespace e2e {

namespace {
constexpr wchar_t kLogName[] = L"compactor.log";
}

void FailureScenario::installWithDatabase(const std::wstring& fileName, const std::wstring& testDatabase) {
    ASSERT_NO_FATAL_FAILURE(installProgram());
    database_ = placeDatabase(L"data", fileName, testDatabase);
    ASSERT_TRUE(support::fileExists(database_));
}

::testing::AssertionResult FailureScenario::startHarbekIn(const std::wstring& currentFolder,
                                                          const std::wstring& behaviour, DWORD delayMs) {
    support::Environment environment = {
        {L"HARBEK_TEST_COMPACTOR", behaviour},
        {L"HARBEK_TEST_COMPACTOR_LOG",
         support::joinPath(folder(), kLogName)},  // where compactorStarts() reads
        {L"HARBEK_TEST_COMPACTOR_DELAY_MS", delayMs ? std::to_wstring(delayMs) : L""},
    };
    return harbek_.start(support::joinPath(programFolder(), L"Harbek.exe"),
                         currentFolder.empty() ? programFolder() : currentFolder, environment);
}

void FailureScenario::snapshotBefore() { before_ = snapshotTree(folder(), {kLogName}); }

::testing::AssertionResult FailureScenario::startWithPath(const std::wstring& path,
                                                          const std::wstring& currentFolder,
                                                          const std::wstring& behaviour, DWORD delayMs) {
    ::testing::AssertionResult started = startHarbekIn(currentFolder, behaviour, delayMs);
    if (!started) return started;
    ::testing::AssertionResult typed = harbek_.typePath(path);
    if (!typed) return typed;
    snapshotBefore();
    return ::testing::AssertionSuccess();
}

void FailureScenario::runIntoTheWait(const std::wstring& behaviour, DWORD delayMs) {
    ASSERT_TRUE(startWithPath(database_, L"", behaviour, delayMs));
    harbek_.pressRun();
    ASSERT_TRUE(waitForCompactorStart());
}

::testing::AssertionResult FailureScenario::runUntilMessageBox(support::MessageBoxSeen& box) {
    harbek_.pressRun();
    return harbek_.waitForMessageBox(box);
}

std::wstring FailureScenario::maskedLog() const {
    std::vector<std::wstring> times;
    return withTimesMasked(harbek_.log(), times);
}

void FailureScenario::expectNothingLost(const std::wstring& database, OriginalAt where, ProgramAfter state) {
    if (state == ProgramAfter::StaysOpen)
        EXPECT_TRUE(windowStillUsable(harbek_));
    else
        EXPECT_TRUE(harbek_.waitForExit());
    EXPECT_TRUE(nothingLost(before_, snapshotTree(folder(), {kLogName}), database, where));
}

void FailureScenario::expectRunSucceeds() {
    support::MessageBoxSeen box;
    ASSERT_TRUE(runUntilMessageBox(box));
    EXPECT_TRUE(sameText(maskedLog(), successfulRunLog()));
    expectMessageBox(box, L"情報", L"終了しました。", support::BoxIcon::Information, {IDOK});
    ASSERT_TRUE(harbek_.answer(box, IDOK));
    expectNothingLost(database_, OriginalAt::Backup, ProgramAfter::Ended);
}

std::wstring FailureScenario::compactorPath() const {
    return support::joinPath(programFolder(), L"JetComp.exe");
}

::testing::AssertionResult windowStillUsable(support::HarbekSession& harbek) {
    // The box just answered takes a moment to go.
    support::waitUntil([&] { return support::topLevelWindows(harbek.processId(), L"#32770").empty(); }, 2000);
    if (!harbek.windowOpen())
        return ::testing::AssertionFailure()
               << "the window is gone; Harbek " << (harbek.running() ? "runs without it" : "has ended");
    if (!support::topLevelWindows(harbek.processId(), L"#32770").empty())
        return ::testing::AssertionFailure() << "a message box is still up";
    const std::wstring probe = L"Z:\\確認\\probe 한국어.mdb";
    ::testing::AssertionResult typed = harbek.typePath(probe);
    if (!typed) return typed << " (the window does not take typing any more)";
    return ::testing::AssertionSuccess();
}

std::wstring missingMessage(const std::wstring& path) { return path + L"は存在しません。"; }

std::wstring inUseMessage(const std::wstring& path) {
    return path + L"は使用中です。データベースを開いているプログラムをすべて終了してから実行してください。";
}

std::wstring exitCodeMessage(const std::wstring& codeText) {
    return L"JetComp.exeが終了コード" + codeText + L"で終了しました。ファイル名は変更していません。";
}

std::wstring logOfStartOnly() { return L"開始:hh:nn:ss\r\n"; }

std::wstring logUpToTheCompactorCheck() {
    return L"開始:hh:nn:ss\r\nMDBファイルの存在:OK\r\nJetcomp.exeの存在:OK\r\n";
}

std::wstring logUpToTheWait() { return logUpToTheCompactorCheck() + L"最適化実行中\r\n"; }

std::wstring logUpToTheFirstMove() { return logUpToTheWait() + L"修復前のファイル名を変更\r\n"; }

}  // namespace e2e
