// The compactor failing in each way a real one can: crashing, hanging, writing nothing, writing
// half a file, ending with the code that means "still running", or not being a program at all.
// In each the run stops with its own message and renames nothing.
#include "compactor_arguments.h"
#include "failure_scenario.h"
#include "system_errors.h"

#include "../compactor/behaviours.h"
#include "../driver/assertions.h"
#include "../driver/build_paths.h"
#include "platform/win32/owned.h"
#include "support/files.h"
#include "support/process.h"
#include "support/text.h"
#include "support/wait.h"

namespace e2e {
namespace {

constexpr wchar_t kReportTitle[] = L"エラーが発生しました";
// jet3-testV1997's Table1 as the CSV files hold it.
const char kTable1Header[] =
    "\xEF\xBB\xBF"
    "A,B,C,D,E,F,G,H,I\r\n";
const char* const kTable1Rows[] = {
    "\"a\",\"b\",0,0,0,0,1981/12/12,0.0000,False\r\n",
    "\"abcdefg\",\"hijklmnop\",2,222,333333333,444.555,1974/09/21,3.5000,True\r\n"};

// A compactor behaviour that leaves a copy the user is asked about, and the table's row counts the
// question gives (before → after).
struct ChangedCopy {
    const wchar_t* behaviour;
    const wchar_t* rowCounts;
};

class CompactorFailure : public FailureScenario {
protected:
    // Runs data\sales.mdb with the compactor behaving so, up to the message after the wait (in
    // box_), and checks the log and what the compactor was given (its after-name in afterName_).
    void runUntilTheMessage(const std::wstring& behaviour, const std::wstring& testDatabase = kJet3Database) {
        ASSERT_NO_FATAL_FAILURE(installWithDatabase(L"sales.mdb", testDatabase));
        ASSERT_TRUE(startWithPath(database_, L"", behaviour));
        ASSERT_TRUE(runUntilMessageBox(box_));
        EXPECT_TRUE(sameText(maskedLog(), logUpToTheWait()));
        ASSERT_TRUE(compactorSawOnly(compactorStarts(), 1, compactorPath(), database_, afterName_));
    }

    // A copy that reads but does not hold the original's rows; the user answers the question.
    void answerTheChangedCopy(const ChangedCopy& copy, int answer);

    support::MessageBoxSeen box_;
    std::wstring afterName_;
};

// Then the original's rows are offered, and "Yes" writes every table of it, as mdb-export prints
// them but for the forms of values the CSV files use.
TEST_F(CompactorFailure, CrashIsReportedWithItsStatusInHexAndTheRowsAreSalvagedOnYes) {
    ASSERT_NO_FATAL_FAILURE(runUntilTheMessage(L"crash"));
    expectMessageBox(box_, L"中止", exitCodeMessage(L"0xC0000005"), support::BoxIcon::Critical, {IDOK});
    ASSERT_TRUE(harbek_.answer(box_, IDOK));
    ASSERT_NO_FATAL_FAILURE(answerTheSalvage(harbek_, database_, IDYES));
    std::wstring salvage = afterName_.substr(0, afterName_.size() - 4);  // without ".mdb"
    salvage.replace(salvage.rfind(L"_AfterRepair"), 12, L"_Salvage");
    ASSERT_TRUE(harbek_.waitForMessageBox(box_));
    expectMessageBox(box_, L"情報", L"4個のテーブルから2行を書き出しました: " + salvage,
                     support::BoxIcon::Information, {IDOK});
    ASSERT_TRUE(harbek_.answer(box_, IDOK));
    EXPECT_EQ(entriesOf(salvage),
              (std::vector<std::string>{"Table1.csv", "Table2.csv", "Table3.csv", "Table4.csv"}));
    EXPECT_EQ(support::readBytes(salvage + L"\\Table1.csv"),
              std::string(kTable1Header) + std::string(kTable1Rows[0]) + kTable1Rows[1]);
    EXPECT_FALSE(support::fileExists(afterName_));
    expectNothingLost(database_, OriginalAt::Source, ProgramAfter::StaysOpen);
}

TEST_F(CompactorFailure, NothingWrittenWithCodeZeroNamesTheMissingCopy) {
    ASSERT_NO_FATAL_FAILURE(runUntilTheMessage(L"nothing"));
    expectMessageBox(box_, L"中止", missingMessage(afterName_), support::BoxIcon::Critical, {IDOK});
    ASSERT_TRUE(harbek_.answer(box_, IDOK));
    ASSERT_NO_FATAL_FAILURE(answerTheSalvage(harbek_, database_, IDNO));
    expectNothingLost(database_, OriginalAt::Source, ProgramAfter::StaysOpen);
}

TEST_F(CompactorFailure, PartialCopyWithCodeOneIsLeftBesideTheUntouchedSource) {
    ASSERT_NO_FATAL_FAILURE(runUntilTheMessage(L"partial"));
    expectMessageBox(box_, L"中止", exitCodeMessage(L"1"), support::BoxIcon::Critical, {IDOK});
    ASSERT_TRUE(harbek_.answer(box_, IDOK));
    ASSERT_NO_FATAL_FAILURE(answerTheSalvage(harbek_, database_, IDNO));
    std::optional<std::string> original =
        support::readBytes(support::joinPath(testDataFolder(), kJet3Database));
    ASSERT_TRUE(original);
    EXPECT_TRUE(holdsBytes(afterName_, original->substr(0, original->size() / 2)))
        << "the half-written copy is not where the compactor left it";
    expectNothingLost(database_, OriginalAt::Source, ProgramAfter::StaysOpen);
}

// 259 is STILL_ACTIVE: a wait that took the code for "not ended yet" would never return. The copy
// it left is whole, so the user is asked; "No" keeps every name as it was.
TEST_F(CompactorFailure, ExitCode259EndsTheWaitAndAsksBeforeUsingAWholeCopy) {
    ASSERT_NO_FATAL_FAILURE(runUntilTheMessage(L"exit259"));
    expectMessageBox(
        box_, L"警告",
        L"JetComp.exeが終了コード259で終了しましたが、修復後のファイルにはすべてのテーブルと行がそろっています。"
        L"\r\n\r\n修復後のファイルに置き換えますか？（「いいえ」ではファイル名を変更しません。）",
        support::BoxIcon::Exclamation, {IDYES, IDNO});
    ASSERT_TRUE(harbek_.answer(box_, IDNO));
    EXPECT_TRUE(holdsBytes(afterName_, support::readBytes(database_)));
    expectNothingLost(database_, OriginalAt::Source, ProgramAfter::StaysOpen);
}

TEST_F(CompactorFailure, HangingCompactorThenCancelEndsTheProgramAtOnce) {
    ASSERT_NO_FATAL_FAILURE(installWithDatabase());
    ASSERT_NO_FATAL_FAILURE(runIntoTheWait(L"hang"));
    Sleep(300);  // well into the wait
    std::vector<DWORD> hung = harbek_.runningCompactors();
    EXPECT_EQ(hung.size(), 1u) << "the compactor is not running under Harbek";
    EXPECT_TRUE(sameText(maskedLog(), logUpToTheWait()));

    harbek_.pressCancel();
    EXPECT_TRUE(harbek_.waitForExit(2000)) << "ｷｬﾝｾﾙ did not end the program while the compactor hung";
    for (DWORD id : hung) {
        const win32::OwnedHandle process(OpenProcess(SYNCHRONIZE, FALSE, id));
        EXPECT_TRUE(process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT)
            << "the hung compactor " << id << " was ended with the program";
        support::killProcess(id);
    }
    std::wstring afterName;
    EXPECT_TRUE(compactorSawOnly(compactorStarts(), 1, compactorPath(), database_, afterName));
    expectNothingLost(database_, OriginalAt::Source, ProgramAfter::Ended);
}

TEST_F(CompactorFailure, CompactorThatIsNoProgramFailsTheLaunchAtLine28) {
    ASSERT_NO_FATAL_FAILURE(installProgram(false));
    database_ = placeDatabase(L"data", L"sales.mdb");
    ASSERT_TRUE(support::writeBytes(compactorPath(), "@echo off\r\nrem not a program\r\n", CREATE_NEW));
    support::SystemError expected = launchError(compactorPath());
    ASSERT_NE(expected.number, 0u) << "the system itself runs a text file named JetComp.exe";

    ASSERT_TRUE(startWithPath(database_));
    support::MessageBoxSeen box;
    ASSERT_TRUE(runUntilMessageBox(box));
    EXPECT_TRUE(sameText(maskedLog(), logUpToTheWait()));
    expectMessageBox(box, kReportTitle, repairErrorReport(expected.number, expected.description, 28),
                     support::BoxIcon::Critical, {IDOK});
    ASSERT_TRUE(harbek_.answer(box, IDOK));
    EXPECT_EQ(commandLinesOf(compactorStarts()), std::vector<std::string>{});
    expectNothingLost(database_, OriginalAt::Source, ProgramAfter::StaysOpen);
}

// The test compactor's holdcopy keeper of the copy, told to let go when this goes, however the
// test ends; the copy must then read again within 5 s.
struct KeeperOf {
    const std::wstring& copy;
    ~KeeperOf() {
        if (copy.empty()) return;
        const win32::OwnedHandle letGo(
            CreateEventW(nullptr, TRUE, FALSE, test_compactor::holdEventName(copy).c_str()));
        EXPECT_TRUE(SetEvent(letGo.get()) &&
                    support::waitUntil([&] { return !!support::readBytes(copy); }, 5000))
            << "the keeper still holds " << support::utf8(copy);
    }
};

// The copy held open with no sharing by another program when the run reads it: the system's
// refusal is reported with its number and text, not taken for a copy that is no database.
TEST_F(CompactorFailure, CopyHeldOpenByAnotherProgramIsReportedWithTheSystemsError) {
    const KeeperOf keeper{afterName_};
    ASSERT_NO_FATAL_FAILURE(runUntilTheMessage(L"holdcopy"));
    const support::SystemError expected = support::systemError(ERROR_SHARING_VIOLATION);
    expectMessageBox(box_, kReportTitle, repairErrorReport(expected.number, expected.description, 28),
                     support::BoxIcon::Critical, {IDOK});
    ASSERT_TRUE(harbek_.answer(box_, IDOK));
    EXPECT_TRUE(support::fileExists(afterName_)) << "the copy is not left beside the original";
    expectNothingLost(database_, OriginalAt::Source, ProgramAfter::StaysOpen);
}

// A compactor that ends with 0 but leaves a damaged copy: the run reads the copy before the swap.
// One that does not read as a database is refused and left beside the untouched original, with the
// page where the damage was found.
void expectRefusedAsNoDatabase(const support::MessageBoxSeen& box, const std::wstring& afterName,
                               const std::wstring& page) {
    expectMessageBox(box, L"中止",
                     afterName +
                         L"はデータベースとして読み取れません。ファイル名は変更していません。（ページ " +
                         page + L"）",
                     support::BoxIcon::Critical, {IDOK});
    EXPECT_TRUE(support::fileExists(afterName)) << "the copy is not left beside the original";
}

// A file cut just after the last page anything points to cannot be told from a whole one: this
// database's last page holds rows of a table.
TEST_F(CompactorFailure, CopyWithItsLastPageCutOffIsNoDatabase) {
    ASSERT_NO_FATAL_FAILURE(runUntilTheMessage(L"cutpage", L"indexTestV1997.mdb"));
    expectRefusedAsNoDatabase(box_, afterName_, L"66");  // the last page, which maps the one cut off
    ASSERT_TRUE(harbek_.answer(box_, IDOK));
    ASSERT_NO_FATAL_FAILURE(answerTheSalvage(harbek_, database_, IDNO));
    expectNothingLost(database_, OriginalAt::Source, ProgramAfter::StaysOpen);
}

TEST_F(CompactorFailure, CopyWithItsCatalogZeroedIsNoDatabase) {
    ASSERT_NO_FATAL_FAILURE(runUntilTheMessage(L"nocatalog"));
    expectRefusedAsNoDatabase(box_, afterName_, L"2");
    ASSERT_TRUE(harbek_.answer(box_, IDOK));
    ASSERT_NO_FATAL_FAILURE(answerTheSalvage(harbek_, database_, IDNO));
    expectNothingLost(database_, OriginalAt::Source, ProgramAfter::StaysOpen);
}

// A copy short of a row, or with one value altered (the row count the same): the user is told which
// table lost what, and only "Yes" swaps the copy in; "No" leaves it beside the untouched original.
// Either way the row the copy lacks is in a CSV file beside the database before the question, as
// mdb-export prints the original's Table1 but for the forms of values the CSV files use.
constexpr ChangedCopy kShortOfARow{L"deleterow", L"2 → 1"};
constexpr ChangedCopy kOneValueAltered{L"altervalue", L"2 → 2"};

void CompactorFailure::answerTheChangedCopy(const ChangedCopy& copy, int answer) {
    ASSERT_NO_FATAL_FAILURE(runUntilTheMessage(copy.behaviour));
    std::wstring lostRows = afterName_.substr(0, afterName_.size() - 4);  // without ".mdb"
    lostRows.replace(lostRows.rfind(L"_AfterRepair"), 12, L"_LostRows");
    expectMessageBox(
        box_, L"警告",
        std::wstring(L"修復後のファイルは修復前と次の点が異なります。\r\n\r\n"
                     L"テーブル「Table1」: 修復前の行のうち1行が、同じ内容では修復後にありません（行数: ") +
            copy.rowCounts + L"）。\r\n\r\n修復後のファイルにない行を次のフォルダに書き出しました: " +
            lostRows +
            L"\r\n\r\n修復後のファイルに置き換えますか？（「いいえ」ではファイル名を変更しません。）",
        support::BoxIcon::Exclamation, {IDYES, IDNO});
    const std::string written = support::readBytes(lostRows + L"\\Table1.csv").value_or("<none>");
    EXPECT_TRUE(written == kTable1Header + std::string(kTable1Rows[0]) ||
                (copy.behaviour == std::wstring(L"altervalue") &&
                 written == kTable1Header + std::string(kTable1Rows[1])))
        << written;
    const std::optional<std::string> copied = support::readBytes(afterName_);
    ASSERT_TRUE(harbek_.answer(box_, answer));
    if (answer == IDNO) {
        EXPECT_TRUE(holdsBytes(afterName_, copied)) << "the copy is not left as it was beside the original";
        expectNothingLost(database_, OriginalAt::Source, ProgramAfter::StaysOpen);
        return;
    }
    ASSERT_TRUE(harbek_.waitForMessageBox(box_));
    expectMessageBox(box_, L"情報", L"終了しました。", support::BoxIcon::Information, {IDOK});
    ASSERT_TRUE(harbek_.answer(box_, IDOK));
    EXPECT_TRUE(holdsBytes(database_, copied)) << "the copy is not at the database's path";
    expectNothingLost(database_, OriginalAt::Backup, ProgramAfter::Ended);
}

TEST_F(CompactorFailure, CopyShortOfARowIsKeptApartOnNo) { answerTheChangedCopy(kShortOfARow, IDNO); }
TEST_F(CompactorFailure, CopyShortOfARowIsSwappedInOnYes) { answerTheChangedCopy(kShortOfARow, IDYES); }
TEST_F(CompactorFailure, CopyWithAValueAlteredIsKeptApartOnNo) {
    answerTheChangedCopy(kOneValueAltered, IDNO);
}
TEST_F(CompactorFailure, CopyWithAValueAlteredIsSwappedInOnYes) {
    answerTheChangedCopy(kOneValueAltered, IDYES);
}

}  // namespace
}  // namespace e2e
