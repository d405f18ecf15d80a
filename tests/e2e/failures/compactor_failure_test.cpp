// The compactor failing in each way a real one can: crashing, hanging, writing nothing, writing
// half a file, ending with the code that means "still running", or not being a program at all.
// In each the run stops with its own message and renames nothing.
#include "compactor_arguments.h"
#include "failure_scenario.h"
#include "system_errors.h"
#include "user_files.h"

#include "../driver/assertions.h"
#include "../driver/build_paths.h"
#include "../driver/files.h"
#include "../driver/process.h"
#include "../driver/text.h"

namespace e2e {
namespace {

constexpr wchar_t kReportTitle[] = L"エラーが発生しました";

class CompactorFailure : public FailureScenario {
protected:
    // Runs data\sales.mdb with the compactor behaving so, up to the message after the wait, and
    // checks the log and what the compactor was given.
    void runUntilTheMessage(const std::wstring& behaviour, MessageBoxSeen& box, std::wstring& afterName)
    {
        ASSERT_NO_FATAL_FAILURE(installWithDatabase());
        ASSERT_TRUE(startHarbekIn(L"", behaviour));
        ASSERT_TRUE(harbek_.typePath(database_));
        snapshotBefore();
        ASSERT_TRUE(runUntilMessageBox(box));
        EXPECT_TRUE(sameText(maskedLog(), logUpToTheWait()));
        ASSERT_TRUE(compactorSawOnly(compactorStarts(), 1, compactorPath(), database_, afterName));
    }
};

TEST_F(CompactorFailure, CrashIsReportedWithItsStatusInHexAndNothingIsRenamed)
{
    MessageBoxSeen box;
    std::wstring afterName;
    ASSERT_NO_FATAL_FAILURE(runUntilTheMessage(L"crash", box, afterName));
    expectMessageBox(box, L"中止", exitCodeMessage(L"0xC0000005"), BoxIcon::Critical, {IDOK});
    ASSERT_TRUE(harbek_.answer(box, IDOK));
    EXPECT_FALSE(fileExists(afterName));
    expectNothingLost(database_, OriginalAt::Source, ProgramAfter::StaysOpen);
}

TEST_F(CompactorFailure, NothingWrittenWithCodeZeroNamesTheMissingCopy)
{
    MessageBoxSeen box;
    std::wstring afterName;
    ASSERT_NO_FATAL_FAILURE(runUntilTheMessage(L"nothing", box, afterName));
    expectMessageBox(box, L"中止", missingMessage(afterName), BoxIcon::Critical, {IDOK});
    ASSERT_TRUE(harbek_.answer(box, IDOK));
    expectNothingLost(database_, OriginalAt::Source, ProgramAfter::StaysOpen);
}

TEST_F(CompactorFailure, PartialCopyWithCodeOneIsLeftBesideTheUntouchedSource)
{
    MessageBoxSeen box;
    std::wstring afterName;
    ASSERT_NO_FATAL_FAILURE(runUntilTheMessage(L"partial", box, afterName));
    expectMessageBox(box, L"中止", exitCodeMessage(L"1"), BoxIcon::Critical, {IDOK});
    ASSERT_TRUE(harbek_.answer(box, IDOK));
    std::optional<std::string> original = readBytes(joinPath(testDataFolder(), kJet3Database));
    ASSERT_TRUE(original);
    EXPECT_TRUE(holdsBytes(afterName, original->substr(0, original->size() / 2)))
        << "the half-written copy is not where the compactor left it";
    expectNothingLost(database_, OriginalAt::Source, ProgramAfter::StaysOpen);
}

// 259 is STILL_ACTIVE: a wait that took the code for "not ended yet" would never return.
TEST_F(CompactorFailure, ExitCode259EndsTheWaitAndIsReportedAsAFailure)
{
    MessageBoxSeen box;
    std::wstring afterName;
    ASSERT_NO_FATAL_FAILURE(runUntilTheMessage(L"exit259", box, afterName));
    expectMessageBox(box, L"中止", exitCodeMessage(L"259"), BoxIcon::Critical, {IDOK});
    ASSERT_TRUE(harbek_.answer(box, IDOK));
    EXPECT_TRUE(holdsBytes(afterName, readBytes(database_)));
    expectNothingLost(database_, OriginalAt::Source, ProgramAfter::StaysOpen);
}

TEST_F(CompactorFailure, HangingCompactorThenCancelEndsTheProgramAtOnce)
{
    ASSERT_NO_FATAL_FAILURE(installWithDatabase());
    ASSERT_TRUE(startHarbekIn(L"", L"hang"));
    ASSERT_TRUE(harbek_.typePath(database_));
    snapshotBefore();
    harbek_.pressRun();
    ASSERT_TRUE(waitForCompactorStart());
    Sleep(300);  // well into the wait
    std::vector<DWORD> hung = harbek_.runningCompactors();
    EXPECT_EQ(hung.size(), 1u) << "the compactor is not running under Harbek";
    EXPECT_TRUE(sameText(maskedLog(), logUpToTheWait()));

    harbek_.pressCancel();
    EXPECT_TRUE(harbek_.waitForExit(2000)) << "ｷｬﾝｾﾙ did not end the program while the compactor hung";
    for (DWORD id : hung) {
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
        EXPECT_TRUE(process && WaitForSingleObject(process, 0) == WAIT_TIMEOUT)
            << "the hung compactor " << id << " was ended with the program";
        if (process) CloseHandle(process);
        killProcess(id);
    }
    std::wstring afterName;
    EXPECT_TRUE(compactorSawOnly(compactorStarts(), 1, compactorPath(), database_, afterName));
    expectNothingLost(database_, OriginalAt::Source, ProgramAfter::Ended);
}

TEST_F(CompactorFailure, CompactorThatIsNoProgramFailsTheLaunchAtLine28)
{
    ASSERT_NO_FATAL_FAILURE(installProgram(false));
    database_ = placeDatabase(L"data", L"sales.mdb");
    ASSERT_TRUE(writeNewFile(compactorPath(), "@echo off\r\nrem not a program\r\n"));
    SystemError expected = launchError(compactorPath());
    ASSERT_NE(expected.number, 0u) << "the system itself runs a text file named JetComp.exe";

    ASSERT_TRUE(startHarbekIn(L""));
    ASSERT_TRUE(harbek_.typePath(database_));
    snapshotBefore();
    MessageBoxSeen box;
    ASSERT_TRUE(runUntilMessageBox(box));
    EXPECT_TRUE(sameText(maskedLog(), logUpToTheWait()));
    expectMessageBox(box, kReportTitle, repairErrorReport(expected.number, expected.description, 28),
                     BoxIcon::Critical, {IDOK});
    ASSERT_TRUE(harbek_.answer(box, IDOK));
    EXPECT_TRUE(compactorStarts().empty());
    expectNothingLost(database_, OriginalAt::Source, ProgramAfter::StaysOpen);
}

}  // namespace
}  // namespace e2e
