// cmdOk_Click against the fake: the whole run, each step failing, and what the user can do while
// the compactor runs.
#include "support/text_printer.h"

#include "main_window/frmMain.h"
#include "tests/unit/fake_platform.h"
#include "tests/unit/run_files.h"
#include "tests/unit/test_databases.h"

using fake::Text;
using platform::TextField;
using support::HasSubstr;
using namespace fake::run;

namespace {

// A real database, and the fake compactor's copy of it: the same with one more page at its end.
const std::string kOriginal = fake::testDatabase("delTestV1997.mdb");
const std::string kCompacted = kOriginal + std::string(4096, '\0');

class RepairRun : public ::testing::Test {
protected:
    RepairRun() { readyToRun(p, kOriginal); }
    // Runs the repair; true when it ended the program.
    bool run() {
        try {
            frmMain::cmdOk_Click();
        } catch (const fake::ProgramEnded&) {
            return true;
        }
        return false;
    }
    // A refusal of what the compactor did: the stop, then the offer to write out the original's rows.
    void expectRefusalThenSalvage(const Text& text) {
        ASSERT_EQ(p.boxes.size(), 2u);
        EXPECT_EQ(p.boxes[0].text, text);
        EXPECT_EQ(p.boxes[0].flags, 16);
        EXPECT_EQ(p.boxes[1].text, kSource + u"から読み取れた行をCSVファイルに書き出しますか？");
        EXPECT_EQ(p.boxes[1].flags, 36);
    }
    void expectOneStopBox(const Text& text) {
        ASSERT_EQ(p.boxes.size(), 1u);
        EXPECT_EQ(p.boxes[0].text, text);
        EXPECT_EQ(p.boxes[0].flags, 16);
        EXPECT_EQ(*p.boxes[0].title, u"中止");
    }
    void expectFilesUntouched() {
        EXPECT_EQ(p.files, (std::map<Text, std::string>{{kSource, kOriginal}, {kCompactor, "exe"}}));
        EXPECT_THAT(p.moves, testing::IsEmpty());
    }
    fake::Platform p;
};

TEST_F(RepairRun, SwapsTheCompactedCopyInAndEndsTheProgram) {
    EXPECT_TRUE(run());
    EXPECT_EQ(p.logLines(),
              (std::vector<Text>{u"開始:09:05:03", u"MDBファイルの存在:OK", u"Jetcomp.exeの存在:OK",
                                 u"最適化実行中", u"修復前のファイル名を変更", u"修復後のファイル名を変更",
                                 u"完了:09:05:03"}));
    ASSERT_EQ(p.launches.size(), 1u);
    EXPECT_EQ(p.launches[0],
              u"\"C:\\Program Files\\Harbek\\JetComp.exe\" -src:\"C:\\data\\sales.mdb\""
              u" -dest:\"C:\\data\\_AfterRepair20261207090503sales.mdb\"");
    EXPECT_EQ(p.files, (std::map<Text, std::string>{
                           {kSource, kCompacted}, {kBefore, kOriginal}, {kCompactor, "exe"}}));
    ASSERT_EQ(p.boxes.size(), 1u);
    EXPECT_EQ(p.boxes[0].text, u"終了しました。");
    EXPECT_EQ(p.boxes[0].flags, 64);
    EXPECT_EQ(*p.boxes[0].title, u"情報");
    EXPECT_TRUE(p.unloaded);
    EXPECT_EQ(p.liveFileSystems, 0);
    EXPECT_EQ(p.liveChildren, 0);
    // The launch's hold on the process is given up only once the wait has opened its own.
    const auto opened = std::find(p.calls.begin(), p.calls.end(), "openProcess");
    const auto released = std::find(p.calls.begin(), p.calls.end(), "releaseLaunch");
    EXPECT_LT(opened, released);
    EXPECT_EQ(p.calls.back(), "endProgram");
}

TEST_F(RepairRun, APathWithoutSeparatorPutsTheTagsInFront) {
    p.fields[TextField::MdbFile] = u"sales.mdb";
    p.files[u"sales.mdb"] = kOriginal;
    EXPECT_TRUE(run());
    EXPECT_EQ(fake::argument(p.launches.at(0), u"dest"), u"_AfterRepair20261207090503sales.mdb");
    EXPECT_EQ(p.files[u"_BeforeRepair20261207090503sales.mdb"], kOriginal);
}

TEST_F(RepairRun, MissingFilesStopWithAMessageAndTouchNothing) {
    struct Row {
        Text path;
        bool compactorThere;
        Text message;
        std::size_t logLines;
    };
    const Row rows[] = {
        {u"C:\\data\\none.mdb", true, u"C:\\data\\none.mdbは存在しません。", 1},
        {u"", true, u"は存在しません。", 1},
        {u"C:\\data", true, u"C:\\dataは存在しません。", 1},
        {kSource, false, u"JetComp.exeが存在しません。", 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(support::utf8(row.message));
        fake::Platform q;
        q.fields[TextField::MdbFile] = row.path;
        q.files[kSource] = kOriginal;
        if (row.compactorThere) q.files[kCompactor] = "exe";
        try {
            frmMain::cmdOk_Click();
        } catch (const fake::ProgramEnded&) {
            FAIL() << "the program ended";
        }
        ASSERT_EQ(q.boxes.size(), 1u);
        EXPECT_EQ(q.boxes[0].text, row.message);
        EXPECT_EQ(q.boxes[0].flags, 16);
        EXPECT_EQ(*q.boxes[0].title, u"中止");
        EXPECT_EQ(q.logLines().size(), row.logLines);
        EXPECT_THAT(q.launches, testing::IsEmpty());
        EXPECT_THAT(q.moves, testing::IsEmpty());
        EXPECT_FALSE(q.unloaded);
        EXPECT_EQ(q.liveFileSystems, 0);
    }
}

TEST_F(RepairRun, APathTheCommandLineCannotCarryIsNeverLaunched) {
    // Even where such a name exists, the compactor would be handed another path than the one
    // checked, so the run treats it as missing.
    for (const Text& path : {Text(u"C:\\data\\a\" -dest:\"C:\\x.mdb"), Text(u"C:\\data\\dir\\")}) {
        fake::Platform q;
        q.fields[TextField::MdbFile] = path;
        q.files[path] = "there";
        q.files[kCompactor] = "exe";
        frmMain::cmdOk_Click();
        ASSERT_EQ(q.boxes.size(), 1u);
        EXPECT_EQ(q.boxes[0].text, path + u"は存在しません。");
        EXPECT_THAT(q.launches, testing::IsEmpty());
    }
}

TEST(Quotable, RejectsQuotesNulsAndATrailingBackslash) {
    EXPECT_TRUE(frmMain::quotable(u"C:\\data\\売上 2024.mdb"));
    EXPECT_TRUE(frmMain::quotable(u""));
    EXPECT_TRUE(frmMain::quotable(u"C:\\data＼"));
    EXPECT_FALSE(frmMain::quotable(u"C:\\a\"b.mdb"));
    EXPECT_FALSE(frmMain::quotable(u"C:\\data\\"));
    EXPECT_FALSE(frmMain::quotable(Text(u"a.mdb\0x", 7)));
}

TEST_F(RepairRun, NoSwapWhenTheCompactorLeftNoCopy) {
    p.compactorWrites = false;
    EXPECT_FALSE(run());
    expectRefusalThenSalvage(kAfter + u"は存在しません。");
    expectFilesUntouched();
    EXPECT_EQ(p.logLines().size(), 4u);
    EXPECT_FALSE(p.unloaded);
}

TEST_F(RepairRun, AFileAlreadyUnderTheAfterNameIsNeverLaunchedOver) {
    p.files[kAfter] = "left from another run";
    EXPECT_FALSE(run());
    expectOneStopBox(kAfter + u"は既に存在します。ファイル名は変更していません。");
    EXPECT_THAT(p.launches, testing::IsEmpty());
    EXPECT_THAT(p.moves, testing::IsEmpty());
    EXPECT_EQ(p.files[kAfter], "left from another run");
    EXPECT_EQ(p.files[kSource], kOriginal);
    EXPECT_EQ(p.logLines().size(), 3u);
}

TEST_F(RepairRun, ACompactorThatReportsFailureGetsNothingSwappedIn) {
    struct Row {
        std::uint32_t code;
        const char16_t* shown;
    };
    for (const Row& row : {Row{1, u"1"}, Row{259, u"259"}, Row{0xC0000005u, u"0xC0000005"}}) {
        SCOPED_TRACE(row.code);
        fake::Platform q;
        readyToRun(q, kOriginal);
        q.exitCode = row.code;  // it still leaves a file, as a partial copy would
        q.compactorOutput = [](const std::string& source) { return source.substr(0, 4096); };
        frmMain::cmdOk_Click();
        ASSERT_EQ(q.boxes.size(), 2u);  // the second: the original's rows offered
        EXPECT_EQ(q.boxes[0].text, Text(u"JetComp.exeが終了コード") + row.shown +
                                       u"で終了しました。ファイル名は変更していません。");
        EXPECT_EQ(*q.boxes[0].title, u"中止");
        EXPECT_THAT(q.moves, testing::IsEmpty());
        EXPECT_EQ(q.files[kSource], kOriginal);
        EXPECT_EQ(q.logLines().size(), 4u);
    }
}

TEST_F(RepairRun, ThePathIsReadOnceSoAnEditDuringTheWaitChangesNothing) {
    const Text other = u"C:\\data\\other.mdb";
    p.files[other] = "other";
    p.compactorRounds = 3;
    p.onEvents = [&] {
        if (!p.launches.empty()) p.fields[TextField::MdbFile] = other;
    };
    EXPECT_TRUE(run());
    EXPECT_EQ(p.files[other], "other");
    EXPECT_EQ(p.files[kSource], kCompacted);
    EXPECT_EQ(p.files[kBefore], kOriginal);
    EXPECT_EQ(p.count("readText(fldMdbFile)"), 1);
}

TEST_F(RepairRun, AnEmptiedFieldDuringTheWaitStillSwapsTheCompactedFile) {
    p.onEvents = [&] {
        if (!p.launches.empty()) p.fields[TextField::MdbFile] = u"";
    };
    EXPECT_TRUE(run());
    EXPECT_EQ(p.files[kSource], kCompacted);
}

TEST_F(RepairRun, ASecondPressDuringTheWaitIsIgnored) {
    p.compactorRounds = 3;
    int presses = 0;
    p.onEvents = [&] {
        if (!p.launches.empty() && presses < 2) {
            ++presses;
            frmMain::cmdOk_Click();
        }
    };
    EXPECT_TRUE(run());
    EXPECT_EQ(presses, 2);
    EXPECT_EQ(p.launches.size(), 1u);
    EXPECT_EQ(p.logLines().size(), 7u);
    EXPECT_EQ(p.boxes.size(), 1u);
}

TEST_F(RepairRun, CancelOrTheCloseBoxDuringTheWaitEndsWithoutRenaming) {
    for (auto action : {+[] { frmMain::cmdCancel_Click(); }, +[] { frmMain::queryClose(); }}) {
        fake::Platform q;
        readyToRun(q, kOriginal);
        q.compactorRounds = 3;
        q.onEvents = [&] {
            if (!q.launches.empty()) action();
        };
        EXPECT_THROW(frmMain::cmdOk_Click(), fake::ProgramEnded);
        EXPECT_THAT(q.moves, testing::IsEmpty());
        EXPECT_TRUE(q.unloaded);
        EXPECT_THAT(q.boxes, testing::IsEmpty());
        EXPECT_FALSE(frmMain::runUnderWay());
    }
}

TEST_F(RepairRun, TheCloseBoxOutsideARunLetsTheWindowUnload) {
    EXPECT_TRUE(frmMain::queryClose());
    EXPECT_FALSE(p.unloaded);  // the platform unloads it after the answer
}

// Each of the run's own operations failing: the report names cmdOk_Click and the step's line, the
// run stops there, and the files are as that step left them.
TEST_F(RepairRun, EachStepFailingIsReportedAtItsLine) {
    enum class Files { Untouched, CopyBeside, SourceAtBackup, Swapped };
    struct Row {
        const char* operation;
        int nth;
        int line;
        Files files;
    };
    const Row rows[] = {
        {"readText(fldMdbFile)", 1, 10, Files::Untouched},
        {"localTime", 1, 12, Files::Untouched},
        {"localTime", 2, 20, Files::Untouched},
        {"createFileSystem", 1, 22, Files::Untouched},
        {"fileExists", 1, 23, Files::Untouched},
        {"programFolder", 1, 25, Files::Untouched},
        {"fileExists", 2, 25, Files::Untouched},
        {"programFolder", 2, 28, Files::Untouched},
        {"launch", 1, 28, Files::Untouched},
        {"fileExists", 3, 28, Files::Untouched},
        {"fileExists", 4, 28, Files::CopyBeside},
        {"openForReading", 1, 28, Files::CopyBeside},  // the copy, read before the swap
        {"openForReading", 2, 28, Files::CopyBeside},  // the original, to compare
        {"moveFile", 1, 30, Files::CopyBeside},
        {"moveFile", 2, 35, Files::SourceAtBackup},
        {"localTime", 3, 40, Files::Swapped},
        {"unloadMainWindow", 1, 45, Files::Swapped},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.operation) + " #" + std::to_string(row.nth));
        fake::Platform q;
        readyToRun(q, kOriginal);
        q.failOn(row.operation, row.nth);
        bool ended = false;
        try {
            frmMain::cmdOk_Click();
        } catch (const fake::ProgramEnded&) {
            ended = true;
        }
        EXPECT_FALSE(ended);
        ASSERT_FALSE(q.boxes.empty());
        const fake::Box& report = q.boxes.back();
        EXPECT_EQ(report.text,
                  u"プログラムの実行中にエラーが発生しました。\r\n場所： cmdOk_Click\r\n\r\n"
                  u"番号： 75\r\n\r\n内容： パス名が無効です。\r\n\r\n位置： " +
                      fake::Text(1, u'0' + row.line / 10) + fake::Text(1, u'0' + row.line % 10) +
                      u"\r\n\r\n\r\n処理を中断します。");
        EXPECT_EQ(report.flags, 16);
        EXPECT_EQ(q.liveFileSystems, 0);
        EXPECT_EQ(q.liveChildren, 0);
        EXPECT_FALSE(frmMain::runUnderWay());
        std::map<Text, std::string> expected{{kCompactor, "exe"}};
        switch (row.files) {
            case Files::Untouched:
                expected[kSource] = kOriginal;
                break;
            case Files::CopyBeside:
                expected[kSource] = kOriginal;
                expected[kAfter] = kCompacted;
                break;
            case Files::SourceAtBackup:
                expected[kBefore] = kOriginal;
                expected[kAfter] = kCompacted;
                break;
            case Files::Swapped:
                expected[kSource] = kCompacted;
                expected[kBefore] = kOriginal;
                break;
        }
        EXPECT_EQ(q.files, expected);
    }
}

TEST_F(RepairRun, FailuresInsideCalledRoutinesAreTheirsAndTheRunGoesOn) {
    struct Row {
        const char* operation;
        int nth;
        const char16_t* place;
    };
    const Row rows[] = {
        {"setText(fldMsg)", 1, u"場所： mLog\r\n"},
        {"processPendingEvents", 1, u"場所： mLog\r\n"},
        {"processPendingEvents", 5, u"場所： gWatchShellEnd\r\n"},  // the wait's first round
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.operation);
        fake::Platform q;
        readyToRun(q, kOriginal);
        q.compactorRounds = 0;
        q.failOn(row.operation, row.nth);
        EXPECT_THROW(frmMain::cmdOk_Click(), fake::ProgramEnded);
        ASSERT_EQ(q.boxes.size(), 2u);
        EXPECT_THAT(q.boxes[0].text, HasSubstr(row.place));
        EXPECT_EQ(q.boxes[1].text, u"終了しました。");
        EXPECT_EQ(q.files[kSource], kCompacted);
    }
}

TEST_F(RepairRun, AFailedWaitSwapsNothingWhileTheCompactorHasLeftNoCopy) {
    p.compactorRounds = 3;
    p.failOn("waitForProcessOrEvent");
    EXPECT_FALSE(run());
    ASSERT_EQ(p.boxes.size(), 3u);  // the third: the original's rows offered
    EXPECT_THAT(p.boxes[0].text, HasSubstr(u"場所： gWatchShellEnd\r\n"));
    EXPECT_EQ(p.boxes[1].text, kAfter + u"は存在しません。");
    expectFilesUntouched();
}

TEST_F(RepairRun, AFailedStopMessageIsReportedByTheMessageRoutine) {
    p.files.erase(kSource);
    p.failOn("messageBox", 1);
    EXPECT_FALSE(run());
    ASSERT_EQ(p.boxes.size(), 1u);  // the stop message itself failed to show
    EXPECT_THAT(p.boxes[0].text, HasSubstr(u"場所： gMsgbox\r\n"));
    EXPECT_THAT(p.launches, testing::IsEmpty());
}

}  // namespace
