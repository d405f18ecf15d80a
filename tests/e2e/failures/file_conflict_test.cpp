// Another program, or the user, getting in the run's way: the database held open, the backup's
// name already taken, the database deleted mid-run, read-only attributes. Each is caused for
// real on the files, never by a switch inside the program.
#include "compactor_arguments.h"
#include "failure_scenario.h"
#include "file_lock.h"
#include "repair_names.h"
#include "system_errors.h"

#include "../driver/assertions.h"
#include "support/files.h"
#include "support/text.h"

namespace e2e {
namespace {

constexpr wchar_t kReportTitle[] = L"エラーが発生しました";
constexpr DWORD kCompaction = 1500;  // long enough to act on the files while the compactor waits

class FileConflict : public FailureScenario {
protected:
    void SetUp() override {
        FailureScenario::SetUp();
        ASSERT_NO_FATAL_FAILURE(installWithDatabase());
    }

    FileLock lock_;
};

TEST_F(FileConflict, SourceLockedAfterTheCompactorStartedStopsWithItsExitCode) {
    ASSERT_NO_FATAL_FAILURE(runIntoTheWait(L"copy", kCompaction));
    ASSERT_TRUE(lock_.open(database_, GENERIC_READ | GENERIC_WRITE, 0));

    support::MessageBoxSeen box;
    ASSERT_TRUE(harbek_.waitForMessageBox(box));
    EXPECT_TRUE(sameText(maskedLog(), logUpToTheWait()));
    expectMessageBox(box, L"中止", exitCodeMessage(L"1"), support::BoxIcon::Critical, {IDOK});
    ASSERT_TRUE(harbek_.answer(box, IDOK));
    // Held still, the database cannot be read for its rows, so none are offered.
    EXPECT_TRUE(windowStillUsable(harbek_));
    lock_.release();
    expectNothingLost(database_, OriginalAt::Source, ProgramAfter::StaysOpen);
}

// Held open by another program before the run: refused as in use, the compactor never started.
TEST_F(FileConflict, SourceLockedBeforeTheRunIsRefusedAsInUse) {
    ASSERT_TRUE(startWithPath(database_));
    ASSERT_TRUE(lock_.open(database_, GENERIC_READ | GENERIC_WRITE, 0));

    support::MessageBoxSeen box;
    ASSERT_TRUE(runUntilMessageBox(box));
    EXPECT_TRUE(sameText(maskedLog(), logUpToTheCompactorCheck()));
    expectMessageBox(box, L"中止", inUseMessage(database_), support::BoxIcon::Critical, {IDOK});
    ASSERT_TRUE(harbek_.answer(box, IDOK));
    lock_.release();
    EXPECT_EQ(commandLinesOf(compactorStarts()), std::vector<std::string>{});
    expectNothingLost(database_, OriginalAt::Source, ProgramAfter::StaysOpen);
}

// Opened for reading, once the compactor has started, by a program that lets others read but not
// rename: the compactor copies it, and the rename of line 30 is refused.
TEST_F(FileConflict, SourceHeldOpenWithoutDeleteSharingFailsTheFirstMove) {
    support::SystemError expected =
        moveOfOpenFileError(dataFolder(L"scratch"), GENERIC_READ, FILE_SHARE_READ);
    ASSERT_NE(expected.number, 0u) << "the system renames a file held open without delete sharing";
    ASSERT_NO_FATAL_FAILURE(runIntoTheWait(L"copy", kCompaction));
    ASSERT_TRUE(lock_.open(database_, GENERIC_READ, FILE_SHARE_READ));

    support::MessageBoxSeen box;
    ASSERT_TRUE(harbek_.waitForMessageBox(box));
    EXPECT_TRUE(sameText(maskedLog(), logUpToTheFirstMove()));
    expectMessageBox(box, kReportTitle, repairErrorReport(expected.number, expected.description, 30),
                     support::BoxIcon::Critical, {IDOK});
    ASSERT_TRUE(harbek_.answer(box, IDOK));
    lock_.release();
    std::wstring afterName;
    ASSERT_TRUE(compactorSawOnly(compactorStarts(), 1, compactorPath(), database_, afterName));
    EXPECT_TRUE(holdsBytes(afterName, support::readBytes(database_)))
        << "the compacted copy is not left under the after-name";
    expectNothingLost(database_, OriginalAt::Source, ProgramAfter::StaysOpen);
}

// The stamp is the second of the press: every second around it is taken by a file of the user's.
TEST_F(FileConflict, BackupNameAlreadyTakenFailsTheFirstMoveAndKeepsBothFiles) {
    support::SystemError expected = moveOntoTakenNameError(dataFolder(L"scratch"));
    ASSERT_NE(expected.number, 0u);
    ASSERT_TRUE(startHarbekIn(L""));
    ASSERT_TRUE(harbek_.typePath(database_));
    SYSTEMTIME now = localNow();
    for (int offset = -1; offset <= 6; ++offset)
        ASSERT_TRUE(support::writeBytes(taggedName(database_, L"_BeforeRepair", stampOf(now, offset)),
                                        "the user's own file " + std::to_string(offset), CREATE_NEW));
    snapshotBefore();

    support::MessageBoxSeen box;
    ASSERT_TRUE(runUntilMessageBox(box));
    std::wstring afterName, stamp;
    ASSERT_TRUE(compactorSawOnly(compactorStarts(), 1, compactorPath(), database_, afterName));
    ASSERT_TRUE(isTaggedName(afterName, database_, L"_AfterRepair", &stamp));
    ASSERT_TRUE(before_.count(taggedName(database_, L"_BeforeRepair", stamp)))
        << "the run's stamp " << support::utf8(stamp) << " fell outside the taken seconds";
    EXPECT_TRUE(sameText(maskedLog(), logUpToTheFirstMove()));
    expectMessageBox(box, kReportTitle, repairErrorReport(expected.number, expected.description, 30),
                     support::BoxIcon::Critical, {IDOK});
    ASSERT_TRUE(harbek_.answer(box, IDOK));
    expectNothingLost(database_, OriginalAt::Source, ProgramAfter::StaysOpen);
}

// A file already under the after-name (left by an earlier failed run in the same second, or the
// clock set back an hour) and a compactor that would end with code 0 without writing: the old
// file must not be taken for the compactor's work, so the run stops before it starts one.
TEST_F(FileConflict, AfterNameTakenBeforeTheRunStopsBeforeTheCompactor) {
    ASSERT_TRUE(startHarbekIn(L"", L"nothing"));
    ASSERT_TRUE(harbek_.typePath(database_));
    std::optional<std::string> original = support::readBytes(database_);
    ASSERT_TRUE(original);
    SYSTEMTIME now = localNow();
    for (int offset = -1; offset <= 6; ++offset)
        ASSERT_TRUE(support::writeBytes(taggedName(database_, L"_AfterRepair", stampOf(now, offset)),
                                        original->substr(0, original->size() / 2), CREATE_NEW));
    snapshotBefore();

    support::MessageBoxSeen box;
    ASSERT_TRUE(runUntilMessageBox(box));
    const std::wstring suffix = L"は既に存在します。ファイル名は変更していません。";
    ASSERT_GT(box.text.size(), suffix.size());
    const std::wstring named = box.text.substr(0, box.text.size() - suffix.size());
    EXPECT_TRUE(before_.count(named))
        << "the message names no file that was taken: " << support::utf8(box.text);
    expectMessageBox(box, L"中止", named + suffix, support::BoxIcon::Critical, {IDOK});
    EXPECT_TRUE(sameText(maskedLog(), logUpToTheCompactorCheck()));
    EXPECT_EQ(commandLinesOf(compactorStarts()), std::vector<std::string>{})
        << "the compactor was started over a taken name";
    ASSERT_TRUE(harbek_.answer(box, IDOK));
    expectNothingLost(database_, OriginalAt::Source, ProgramAfter::StaysOpen);
}

TEST_F(FileConflict, SourceDeletedWhileTheCompactorRunsStopsWithItsExitCode) {
    ASSERT_NO_FATAL_FAILURE(runIntoTheWait(L"copy", kCompaction));
    ASSERT_TRUE(DeleteFileW(database_.c_str())) << "error " << GetLastError();
    userRemoved(database_);

    support::MessageBoxSeen box;
    ASSERT_TRUE(harbek_.waitForMessageBox(box));
    EXPECT_TRUE(sameText(maskedLog(), logUpToTheWait()));
    expectMessageBox(box, L"中止", exitCodeMessage(L"1"), support::BoxIcon::Critical, {IDOK});
    ASSERT_TRUE(harbek_.answer(box, IDOK));
    // A file deleted while another program holds it open goes when that one closes it; a read just
    // before that may still find it and offer its rows, which are declined.
    if (support::MessageBoxSeen offer; harbek_.waitForMessageBox(offer, 1000)) {
        expectMessageBox(offer, L"確認", database_ + L"から読み取れた行をCSVファイルに書き出しますか？",
                         support::BoxIcon::Question, {IDYES, IDNO});
        ASSERT_TRUE(harbek_.answer(offer, IDNO));
    }
    expectNothingLost(database_, OriginalAt::Source, ProgramAfter::StaysOpen);
}

// The Windows read-only attribute on the database: a rename is allowed on a read-only file, so
// the repair goes through; the copy takes the attribute with it.
TEST_F(FileConflict, ReadOnlyDatabaseIsRepairedAndStaysReadOnly) {
    ASSERT_TRUE(SetFileAttributesW(database_.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(startWithPath(database_));
    ASSERT_NO_FATAL_FAILURE(expectRunSucceeds());
    EXPECT_TRUE(GetFileAttributesW(database_.c_str()) & FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW(database_.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The read-only attribute on the folder does not stop creating or renaming files in it on
// Windows (it only marks a customised folder); Wine accepts it on a folder but does not keep it.
TEST_F(FileConflict, ReadOnlyFolderAttributeDoesNotStopTheRepair) {
    std::wstring data = dataFolder(L"data");
    ASSERT_TRUE(SetFileAttributesW(data.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(startWithPath(database_));
    ASSERT_NO_FATAL_FAILURE(expectRunSucceeds());
    SetFileAttributesW(data.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace e2e
