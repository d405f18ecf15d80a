// A database in a shared folder: open in another program (the database itself, or the lock file
// the engine keeps beside it) it is refused before the compactor starts; a lock file left behind
// by a crash does not stop the repair; a read-only, hidden database comes out of the repair
// read-only and hidden, although the compactor writes a plain new file.
#include "failure_scenario.h"
#include "file_lock.h"

#include "../driver/assertions.h"
#include "support/files.h"
#include "support/text.h"

namespace e2e {
namespace {

class SharedDatabase : public FailureScenario {
protected:
    void SetUp() override {
        FailureScenario::SetUp();
        ASSERT_NO_FATAL_FAILURE(installWithDatabase());
        lockFile_ = support::joinPath(dataFolder(L"data"), L"sales.ldb");
        ASSERT_TRUE(support::writeBytes(lockFile_, "left by a program that crashed", CREATE_NEW));
    }

    // Another program holds `held` open, reading and writing and sharing both, as the engine does.
    void expectRefusedWhileHeld(const std::wstring& held) {
        ASSERT_TRUE(startHarbekIn(L""));
        ASSERT_TRUE(harbek_.typePath(database_));
        snapshotBefore();  // before the hold, which keeps the held file from being read
        ASSERT_TRUE(lock_.open(held, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE));

        support::MessageBoxSeen box;
        ASSERT_TRUE(runUntilMessageBox(box));
        expectMessageBox(box, L"中止", inUseMessage(database_), support::BoxIcon::Critical, {IDOK});
        EXPECT_TRUE(sameText(maskedLog(), logUpToTheCompactorCheck()));
        EXPECT_EQ(commandLinesOf(compactorStarts()), std::vector<std::string>{})
            << "the compactor was started on a database in use";
        ASSERT_TRUE(harbek_.answer(box, IDOK));
        lock_.release();
        expectNothingLost(database_, OriginalAt::Source, ProgramAfter::StaysOpen);
    }

    std::wstring lockFile_;
    FileLock lock_;
};

TEST_F(SharedDatabase, OpenInAnotherProgramIsRefusedBeforeTheCompactorStarts) {
    expectRefusedWhileHeld(database_);
}

TEST_F(SharedDatabase, ItsLockFileHeldOpenIsRefusedBeforeTheCompactorStarts) {
    expectRefusedWhileHeld(lockFile_);
}

// The lock file is among what the run must leave unchanged.
TEST_F(SharedDatabase, ALockFileLeftByACrashDoesNotStopTheRepair) {
    ASSERT_TRUE(startWithPath(database_));
    expectRunSucceeds();
}

TEST_F(SharedDatabase, AReadOnlyHiddenDatabaseComesOutReadOnlyAndHidden) {
    constexpr DWORD kKept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    ASSERT_TRUE(SetFileAttributesW(database_.c_str(), kKept));
    ASSERT_TRUE(startWithPath(database_, L"", L"new"));
    ASSERT_NO_FATAL_FAILURE(expectRunSucceeds());
    EXPECT_EQ(GetFileAttributesW(database_.c_str()) & kKept, kKept);
    SetFileAttributesW(database_.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace e2e
