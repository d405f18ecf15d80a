// Texts typed into the path field that do name a file, though not in the usual form: relative to
// the current folder, outside code page 932, longer than 260 characters, with the \\?\ prefix, or
// naming the program's own files (which are no databases). The compactor must see exactly
// -src:<typed> and -dest:<after-name of typed>, and the run must end in a swap or in a clean stop.
#include "compactor_arguments.h"
#include "failure_scenario.h"
#include "repair_names.h"

#include "../driver/assertions.h"
#include "support/text.h"

namespace e2e {
namespace {

class UnusualPath : public FailureScenario {
protected:
    // Types `typed` in a Harbek started in currentFolder and runs it to the completion message;
    // database is the file it names, as listed.
    void expectRepaired(const std::wstring& typed, const std::wstring& database,
                        const std::wstring& currentFolder = L"") {
        ASSERT_TRUE(startWithPath(typed, currentFolder));
        support::MessageBoxSeen box;
        ASSERT_TRUE(runUntilMessageBox(box));
        EXPECT_TRUE(sameText(maskedLog(), successfulRunLog()));
        expectMessageBox(box, L"情報", L"終了しました。", support::BoxIcon::Information, {IDOK});
        std::wstring afterName;
        EXPECT_TRUE(compactorSawOnly(compactorStarts(), 1, compactorPath(), typed, afterName));
        ASSERT_TRUE(harbek_.answer(box, IDOK));
        expectNothingLost(database, OriginalAt::Backup, ProgramAfter::Ended);
    }

    // Types `typed`, runs, and expects the copy the compactor made of it refused as no database.
    void expectCopyRefused(const std::wstring& typed, const std::wstring& database) {
        ASSERT_TRUE(startWithPath(typed));
        support::MessageBoxSeen box;
        ASSERT_TRUE(runUntilMessageBox(box));
        EXPECT_TRUE(sameText(maskedLog(), logUpToTheWait()));
        std::wstring afterName;
        EXPECT_TRUE(compactorSawOnly(compactorStarts(), 1, compactorPath(), typed, afterName));
        expectMessageBox(box, L"中止",
                         afterName + L"はデータベースとして読み取れません。ファイル名は変更していません。",
                         support::BoxIcon::Critical, {IDOK});
        ASSERT_TRUE(harbek_.answer(box, IDOK));  // no database either: nothing to offer
        expectNothingLost(database, OriginalAt::Source, ProgramAfter::StaysOpen);
    }

    // Types `typed`, runs, and expects the message after the wait with the compactor's code, then
    // declines the offer of the database's rows.
    void expectCompactorRefuses(const std::wstring& typed, const std::wstring& database,
                                const std::wstring& codeText, const std::wstring& currentFolder = L"") {
        ASSERT_TRUE(startWithPath(typed, currentFolder));
        support::MessageBoxSeen box;
        ASSERT_TRUE(runUntilMessageBox(box));
        EXPECT_TRUE(sameText(maskedLog(), logUpToTheWait()));
        expectMessageBox(box, L"中止", exitCodeMessage(codeText), support::BoxIcon::Critical, {IDOK});
        std::wstring afterName;
        EXPECT_TRUE(compactorSawOnly(compactorStarts(), 1, compactorPath(), typed, afterName));
        ASSERT_TRUE(harbek_.answer(box, IDOK));
        ASSERT_NO_FATAL_FAILURE(answerTheSalvage(harbek_, typed, IDNO, typed.size() < 200));
        expectNothingLost(database, OriginalAt::Source, ProgramAfter::StaysOpen);
    }
};

TEST_F(UnusualPath, BareFileNameIsRepairedInTheCurrentFolder) {
    ASSERT_NO_FATAL_FAILURE(installWithDatabase());
    expectRepaired(L"sales.mdb", database_, dataFolder(L"data"));
}

TEST_F(UnusualPath, RelativePathIsRepairedUnderTheCurrentFolder) {
    ASSERT_NO_FATAL_FAILURE(installProgram());
    std::wstring database = placeDatabase(L"data\\sub", L"x.mdb");
    expectRepaired(L"sub\\x.mdb", database, dataFolder(L"data"));
}

// "/" is a separator to the file system but not to the run's split: the after-name becomes
// "_AfterRepair<stamp>sub/x.mdb", inside a folder that does not exist, and the compactor fails.
TEST_F(UnusualPath, ForwardSlashPathStopsWhenTheCompactorCannotWriteTheCopy) {
    ASSERT_NO_FATAL_FAILURE(installProgram());
    std::wstring database = placeDatabase(L"data\\sub", L"x.mdb");
    expectCompactorRefuses(L"sub/x.mdb", database, L"1", dataFolder(L"data"));
}

TEST_F(UnusualPath, KoreanNamesOutsideCodePage932AreRepaired) {
    ASSERT_NO_FATAL_FAILURE(installProgram());
    std::wstring database = placeDatabase(L"자료 폴더", L"한국어 데이터.mdb", kJet4Database);
    expectRepaired(database, database);
}

TEST_F(UnusualPath, EmojiNameOfTwoCodeUnitsIsRepaired) {
    ASSERT_NO_FATAL_FAILURE(installProgram());
    std::wstring database = placeDatabase(L"data", L"\U0001F4BE売上\U0001F600.mdb");
    expectRepaired(database, database);
}

// A real file whose name holds "＼": the run splits after it, so the tags go inside the name,
// and the backup stays in the same folder.
TEST_F(UnusualPath, FullWidthSeparatorInsideAFileNameSplitsThereAndStillRepairs) {
    ASSERT_NO_FATAL_FAILURE(installProgram());
    std::wstring database = placeDatabase(L"data", L"2024＼sales.mdb");
    expectRepaired(database, database);
}

TEST_F(UnusualPath, PathLongerThan260CharactersIsRepaired) {
    ASSERT_NO_FATAL_FAILURE(installProgram());
    const std::wstring level(60, L'f');
    std::wstring database =
        placeDatabase(L"data\\" + level + L"1\\" + level + L"2\\" + level + L"3", L"sales.mdb");
    ASSERT_GT(database.size(), 260u);
    expectRepaired(database, database);
}

// The tags make the name 26 characters longer: a name near the 255-character limit of one name
// leaves no room, the compactor cannot write the copy, and nothing is renamed.
TEST_F(UnusualPath, NameTooLongForTheTaggedCopyStopsWithTheCompactorsCode) {
    ASSERT_NO_FATAL_FAILURE(installProgram());
    std::wstring database = placeDatabase(L"data", std::wstring(240, L'n') + L".mdb");
    expectCompactorRefuses(database, database, L"1");
}

// The file system drops trailing spaces and dots from a name, for the typed path and the tagged
// names alike, so the run works on the file without them and its names stay in step.
TEST_F(UnusualPath, TrailingSpaceAndDotAreDroppedAsTheFileSystemDoes) {
    ASSERT_NO_FATAL_FAILURE(installWithDatabase());
    expectRepaired(database_ + L" .", database_);
}

TEST_F(UnusualPath, ExtendedLengthPrefixIsRepaired) {
    ASSERT_NO_FATAL_FAILURE(installWithDatabase());
    expectRepaired(L"\\\\?\\" + database_, database_);
}

// Harbek has no reason to refuse its compactor's own file; the test compactor copies anything,
// so the swap goes through and the original program is kept as the backup.
TEST_F(UnusualPath, CompactorsOwnFileIsNoDatabaseAndKeepsItsName) {
    ASSERT_NO_FATAL_FAILURE(installProgram());
    expectCopyRefused(compactorPath(), compactorPath());
}

TEST_F(UnusualPath, HarbeksOwnRunningFileIsNoDatabaseAndKeepsItsName) {
    ASSERT_NO_FATAL_FAILURE(installProgram());
    std::wstring harbek = support::joinPath(programFolder(), L"Harbek.exe");
    expectCopyRefused(harbek, harbek);
}

}  // namespace
}  // namespace e2e
