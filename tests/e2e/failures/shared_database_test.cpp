// A database in a shared folder: open in another program (the database itself, or the lock file
// the engine keeps beside it) it is refused before the compactor starts; a lock file left behind
// by a crash does not stop the repair; a read-only, hidden database comes out of the repair
// read-only and hidden, although the compactor writes a plain new file.
#include "failure_scenario.h"
#include "file_lock.h"
#include "user_files.h"

#include "../driver/assertions.h"
#include "../driver/files.h"
#include "../driver/text.h"

namespace e2e {
namespace {

constexpr DWORD kAsTheEngineShares = FILE_SHARE_READ | FILE_SHARE_WRITE;

class SharedDatabase : public FailureScenario {
protected:
    void SetUp() override
    {
        FailureScenario::SetUp();
        ASSERT_NO_FATAL_FAILURE(installWithDatabase());
    }

    std::wstring lockFile() const { return joinPath(dataFolder(L"data"), L"sales.ldb"); }

    // Another program holds `held` open while run is pressed: the run stops before the compactor.
    void expectRefusedWhileHeld(const std::wstring& held, DWORD sharing)
    {
        ASSERT_TRUE(startHarbekIn(L""));
        ASSERT_TRUE(harbek_.typePath(database_));
        snapshotBefore();   // before the hold, which keeps the held file from being read
        ASSERT_TRUE(lock_.open(held, GENERIC_READ | GENERIC_WRITE, sharing));

        MessageBoxSeen box;
        ASSERT_TRUE(runUntilMessageBox(box));
        const std::wstring inUse =
            L"は使用中です。データベースを開いているプログラムをすべて終了してから実行してください。";
        expectMessageBox(box, L"中止", database_ + inUse, BoxIcon::Critical, {IDOK});
        EXPECT_TRUE(sameText(maskedLog(), logUpToTheCompactorCheck()));
        EXPECT_TRUE(compactorStarts().empty()) << "the compactor was started on a database in use";
        ASSERT_TRUE(harbek_.answer(box, IDOK));
        lock_.release();
        expectNothingLost(database_, OriginalAt::Source, ProgramAfter::StaysOpen);
    }

    void expectRunSucceeds()
    {
        MessageBoxSeen box;
        ASSERT_TRUE(runUntilMessageBox(box));
        EXPECT_TRUE(sameText(maskedLog(), successfulRunLog()));
        expectMessageBox(box, L"情報", L"終了しました。", BoxIcon::Information, {IDOK});
        ASSERT_TRUE(harbek_.answer(box, IDOK));
        expectNothingLost(database_, OriginalAt::Backup, ProgramAfter::Ended);
    }

    FileLock lock_;
};

TEST_F(SharedDatabase, OpenInAnotherProgramIsRefusedBeforeTheCompactorStarts)
{
    expectRefusedWhileHeld(database_, kAsTheEngineShares);
}

TEST_F(SharedDatabase, ItsLockFileHeldOpenIsRefusedBeforeTheCompactorStarts)
{
    ASSERT_TRUE(writeNewFile(lockFile(), std::string(64, '\0')));
    expectRefusedWhileHeld(lockFile(), kAsTheEngineShares);
}

TEST_F(SharedDatabase, ALockFileLeftByACrashDoesNotStopTheRepair)
{
    ASSERT_TRUE(writeNewFile(lockFile(), "left by a program that crashed"));
    ASSERT_TRUE(startHarbekIn(L""));
    ASSERT_TRUE(harbek_.typePath(database_));
    snapshotBefore();
    ASSERT_NO_FATAL_FAILURE(expectRunSucceeds());   // the lock file is among what must be unchanged
}

TEST_F(SharedDatabase, AReadOnlyHiddenDatabaseComesOutReadOnlyAndHidden)
{
    constexpr DWORD kKept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    ASSERT_TRUE(SetFileAttributesW(database_.c_str(), kKept));
    ASSERT_TRUE(startHarbekIn(L"", L"new"));
    ASSERT_TRUE(harbek_.typePath(database_));
    snapshotBefore();
    ASSERT_NO_FATAL_FAILURE(expectRunSucceeds());
    EXPECT_EQ(GetFileAttributesW(database_.c_str()) & kKept, kKept);
    std::wstring stamp;
    const auto backup = findStamped(dataFolder(L"data"), L"_BeforeRepair", L"sales.mdb", stamp);
    ASSERT_TRUE(backup);
    const std::wstring backupPath = joinPath(dataFolder(L"data"), *backup);
    EXPECT_EQ(GetFileAttributesW(backupPath.c_str()) & kKept, kKept);
    SetFileAttributesW(database_.c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesW(backupPath.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace e2e
