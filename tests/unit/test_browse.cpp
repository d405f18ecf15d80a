// The open-file dialog's filter list and record, and the browse button.
#include "support/text_printer.h"

#include "main_window/frmMain.h"
#include "standard/mdlFunctionStandard.h"
#include "tests/unit/fake_platform.h"
#include "tests/unit/run_files.h"
#include "tests/unit/test_databases.h"

using fake::Text;
using platform::TextField;
using support::HasSubstr;
using namespace fake::run;

namespace {

Text nul(const char16_t* s) { return Text(s) + u'\0'; }

TEST(OpenFileFilter, CallersPairComesFirstOnlyWhenItHasAPattern) {
    EXPECT_EQ(mdlFunctionStandard::openFileFilter(u"*.mdb", u"MDBファイル(.mdb)"),
              nul(u"MDBファイル(.mdb)(*.mdb)") + nul(u"*.mdb") + nul(u"すべてのファイル(*.*)") + nul(u"*.*") +
                  u'\0');
    EXPECT_EQ(mdlFunctionStandard::openFileFilter(u"", u"ignored"),
              nul(u"すべてのファイル(*.*)") + nul(u"*.*") + u'\0');
}

TEST(OpenFile, FillsTheRecordAndWritesTheDefaultTitleBack) {
    fake::Platform p;
    platform::WindowHandle owner = 0x1F;
    Text title, pattern = u"*.txt", name = u"テキスト", dir = u"C:\\start";
    p.dialogAnswer = platform::OpenFileResult{true, u"C:\\start\\a.txt"};
    EXPECT_EQ(mdlFunctionStandard::gstrGetOpenFile(owner, title, pattern, name, dir), u"C:\\start\\a.txt");
    EXPECT_EQ(title, u"ファイルを開く");
    ASSERT_EQ(p.dialogs.size(), 1u);
    const platform::OpenFileRequest& r = p.dialogs[0];
    EXPECT_EQ(r.structSize, 76u);
    EXPECT_EQ(r.owner, 0x1Fu);
    EXPECT_EQ(r.instance, 0x400000u);
    EXPECT_EQ(r.filter,
              nul(u"テキスト(*.txt)") + nul(u"*.txt") + nul(u"すべてのファイル(*.*)") + nul(u"*.*") + u'\0');
    EXPECT_EQ(r.filterIndex, 1u);
    EXPECT_EQ(r.maxFile, 256u);
    EXPECT_EQ(r.maxFileTitle, 256u);
    EXPECT_EQ(r.initialDir, u"C:\\start");
    EXPECT_EQ(r.title, u"ファイルを開く");
    EXPECT_EQ(r.flags, 0x81804u);
}

class Browse : public ::testing::Test {
protected:
    Browse() { p.fields[TextField::MdbFile] = u"C:\\typed.mdb"; }
    fake::Platform p;
};

TEST_F(Browse, AskesForAnMdbFileOwnedByTheWindow) {
    frmMain::cmdRef_Click();
    ASSERT_EQ(p.dialogs.size(), 1u);
    EXPECT_EQ(p.dialogs[0].title, u"MDBファイルを選択してください。");
    EXPECT_EQ(p.dialogs[0].owner, 0x50A2u);
    EXPECT_EQ(p.dialogs[0].initialDir, u"");
    const Text first = nul(u"MDBファイル(.mdb)(*.mdb)") + nul(u"*.mdb");
    EXPECT_EQ(p.dialogs[0].filter.substr(0, first.size()), first);
}

TEST_F(Browse, ACancelEmptiesTheFieldAndAChoiceReplacesIt) {
    frmMain::cmdRef_Click();
    EXPECT_EQ(p.fields[TextField::MdbFile], u"");
    p.dialogAnswer = platform::OpenFileResult{true, u"D:\\売上\\sales.mdb"};
    frmMain::cmdRef_Click();
    EXPECT_EQ(p.fields[TextField::MdbFile], u"D:\\売上\\sales.mdb");
    EXPECT_THAT(p.boxes, testing::IsEmpty());
}

TEST_F(Browse, ADialogFailureIsReportedAndTheFieldKeepsItsText) {
    p.failOn("getOpenFileName");
    frmMain::cmdRef_Click();
    EXPECT_EQ(p.fields[TextField::MdbFile], u"C:\\typed.mdb");
    ASSERT_EQ(p.boxes.size(), 1u);
    EXPECT_THAT(p.boxes[0].text, HasSubstr(u"場所： cmdRef_Click\r\n"));
    EXPECT_THAT(p.boxes[0].text, HasSubstr(u"位置： 位置情報は設定されていません\r\n"));
}

TEST_F(Browse, ACancelledBrowseDuringARunDoesNotChangeWhatItRenames) {
    const Text source = u"C:\\typed.mdb";
    const std::string original = fake::testDatabase("delTestV1997.mdb");
    p.files[source] = original;
    p.files[kCompactor] = "exe";
    p.compactorRounds = 2;
    p.onEvents = [&] {
        if (!p.launches.empty() && p.dialogs.empty()) frmMain::cmdRef_Click();
    };
    EXPECT_THROW(frmMain::cmdOk_Click(), fake::ProgramEnded);
    EXPECT_EQ(p.fields[TextField::MdbFile], u"");
    EXPECT_EQ(p.files[source], original + std::string(4096, '\0'));
}

}  // namespace
