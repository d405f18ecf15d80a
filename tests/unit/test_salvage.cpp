// After a run that swaps nothing in, the original's readable rows are offered as CSV files: Yes
// writes them, No writes nothing, and the database is never renamed either way.
#include "support/text_printer.h"

#include <algorithm>

#include "main_window/frmMain.h"
#include "tests/unit/fake_platform.h"
#include "tests/unit/run_files.h"
#include "tests/unit/test_databases.h"

using fake::Text;
using namespace fake::run;

namespace {

const Text kFolder = u"C:\\data\\_Salvage20261207090503sales";
const Text kQuestion = kSource + u"から読み取れた行をCSVファイルに書き出しますか？";
// indexTestV1997: Table1 4 rows, Table2 3, Table3 4.
const std::string kIndex = fake::testDatabase("indexTestV1997.mdb");
const std::string kTable2 =
    "\xEF\xBB\xBF"
    "id,data\r\n0,\"foo0\"\r\n1,\"foo1\"\r\n2,\"foo2\"\r\n";

TEST(Salvage, AfterEachRefusalYesWritesTheReadableRowsAndNoWritesNothing) {
    const auto crash = [](fake::Platform& p) { p.exitCode = 0xC0000005u; };
    const auto failed = [](fake::Platform& p) {
        p.exitCode = 1;
        p.compactorOutput = [](const std::string& s) { return s.substr(0, 4096); };
    };
    const auto noCopy = [](fake::Platform& p) { p.compactorWrites = false; };
    const auto refused = [](fake::Platform& p) {
        p.compactorOutput = [](const std::string&) { return std::string("not a database"); };
    };
    // indexTestV1997's page 26 holds Table3's rows (2048-byte pages).
    const auto zeroed = [](std::string s) { return s.replace(26 * 2048, 2048, 2048, '\0'); };
    const Text written = u"3個のテーブルから11行を書き出しました: " + kFolder;
    const struct {
        const char* what;
        std::function<void(fake::Platform&)> refusal;
        std::string original;
        std::int32_t answer;
        Text told;  // after Yes; empty after No
    } rows[] = {
        {"a crash", crash, kIndex, 6, written},
        {"a crash, no", crash, kIndex, 7, u""},
        {"a failure's exit code", failed, kIndex, 6, written},
        {"no copy left", noCopy, kIndex, 6, written},
        {"no copy left, no", noCopy, kIndex, 7, u""},
        {"the copy refused", refused, kIndex, 6, written},
        {"the copy refused, no", refused, kIndex, 7, u""},
        {"a page of the original lost", noCopy, zeroed(kIndex), 6,
         u"3個のテーブルから7行を書き出しました: " + kFolder + u"\r\n読み取れなかったページ: 1、値: 0"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        fake::Platform p;
        readyToRun(p, row.original);
        row.refusal(p);
        p.answers = {1, row.answer};
        frmMain::cmdOk_Click();
        ASSERT_GE(p.boxes.size(), 2u);
        EXPECT_EQ(p.boxes[1].text, kQuestion);
        EXPECT_EQ(*p.boxes[1].title, u"確認");
        EXPECT_THAT(p.moves, testing::IsEmpty());
        EXPECT_EQ(p.files[kSource], row.original);
        EXPECT_FALSE(p.unloaded);
        if (row.told.empty()) {
            EXPECT_EQ(p.boxes.size(), 2u);
            EXPECT_THAT(p.folders, testing::IsEmpty());
            continue;
        }
        ASSERT_EQ(p.boxes.size(), 3u);
        EXPECT_EQ(p.boxes[2].text, row.told);
        EXPECT_EQ(p.boxes[2].flags, 64);
        EXPECT_EQ(*p.boxes[2].title, u"情報");
        EXPECT_EQ(p.files[kFolder + u"\\Table2.csv"], kTable2);
        // A table whose rows are all lost still gets its columns.
        EXPECT_EQ(p.files[kFolder + u"\\Table3.csv"].substr(0, 12),
                  "\xEF\xBB\xBF"
                  "id,data\r\n");
    }
}

// A database with nothing readable is not offered; a failure to write is the routine's own, and
// the run goes on to the window, nothing renamed.
TEST(Salvage, NothingReadableIsNotOfferedAndAFailureIsReportedAsTheRoutines) {
    for (const bool readable : {false, true}) {
        SCOPED_TRACE(readable);
        fake::Platform p;
        readyToRun(p, readable ? kIndex : std::string(8192, 'x'));
        p.compactorWrites = false;
        p.answers = {1, 6};
        p.failOn("createNewFile");
        frmMain::cmdOk_Click();
        EXPECT_EQ(p.boxes.size(), readable ? 3u : 1u);
        if (readable) {
            EXPECT_EQ(
                p.boxes[2].text,
                u"プログラムの実行中にエラーが発生しました。\r\n場所： mSalvage\r\n\r\n番号： 75\r\n\r\n"
                u"内容： パス名が無効です。\r\n\r\n位置： 30\r\n\r\n\r\n処理を続けます。");
        }
        EXPECT_THAT(p.moves, testing::IsEmpty());
    }
}

}  // namespace
