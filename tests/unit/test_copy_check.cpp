// The run reads the compactor's copy and the original before it swaps them: each way the copy can
// fall short, what the user is told or asked, and which files end where.
#include "support/text_printer.h"

#include "main_window/frmMain.h"
#include "support/encrypted_database.h"
#include "tests/unit/fake_platform.h"
#include "tests/unit/run_files.h"
#include "tests/unit/test_databases.h"

using fake::Text;
using namespace fake::run;

namespace {

const Text kUnreadable = kAfter + u"はデータベースとして読み取れません。ファイル名は変更していません。";
const Text kDiffers = u"修復後のファイルは修復前と次の点が異なります。\r\n\r\n";
// The line the question gets when rows the copy lacks were written out first.
const Text kWritten =
    u"\r\n修復後のファイルにない行を次のフォルダに書き出しました: C:\\data\\_LostRows20261207090503sales\r\n";
const Text kQuestion = u"\r\n修復後のファイルに置き換えますか？（「いいえ」ではファイル名を変更しません。）";
const Text kExitWhole =
    u"JetComp.exeが終了コード1で終了しましたが、修復後のファイルにはすべてのテーブルと行がそろっています。\r\n";
const Text kExitRefused = u"JetComp.exeが終了コード1で終了しました。ファイル名は変更していません。";
const Text kDone = u"終了しました。";
// Asked after a refusal when the original reads at least in part (answered No here).
const Text kSalvage = kSource + u"から読み取れた行をCSVファイルに書き出しますか？";

const std::string kCodes = fake::testDatabase("testIndexCodesV1997.mdb");  // 29 tables
const std::string kIndex = fake::testDatabase("indexTestV1997.mdb");       // Table1 4, Table2 3, Table3 4
const std::string kSmall = fake::testDatabase("jet3-testV1997.mdb");       // Table1 2, Table2-4 empty
const std::string kDeleted = fake::testDatabase("delTestV1997.mdb");       // Table 2
const std::string kJet4 = fake::testDatabase("jet4-compIndexTestV2000.mdb");
// Jet 4 with a relationship, 顧客Orders: 顧客.ID → Orders.CustomerID; Orders' indexes PrimaryKey,
// ByCustomer and the relationship's own, 顧客's PrimaryKey, 名前順 and the relationship's own, .rB.
const std::string kValues = fake::testDatabase("valuesV2003.mdb");
// Jet 4 whose only relationships are Access's own, between its MSysNavPane… tables (here made
// user tables, so that only their names tell).
const std::string kNavPane = fake::testDatabase("testUnicodeCompV2003.mdb");
// The same file with one table named as the compactor names the table of what it met.
const std::string kCodesWithErrors = fake::renamed(kCodes, "Table12_asc_desc", "MSysCompactError");

std::string same(const std::string& source) { return source + std::string(4096, '\0'); }
// A Jet 3 file with one of its pages zeroed.
std::string zeroed(std::string bytes, std::size_t page) {
    return bytes.replace(page * 2048, 2048, 2048, '\0');
}

struct Row {
    const char* what;
    std::string original;
    std::function<std::string(const std::string&)> copy;
    std::uint32_t exitCode;
    std::int32_t answer;      // to the question, when one is asked
    std::vector<Text> boxes;  // every message shown, in order
    std::vector<std::int32_t> flags;
    bool swapped;
};

TEST(CopyCheck, EachWayTheCopyFallsShort) {
    const Text missing = u"テーブル「Table12_asc_desc」がありません。\r\n";
    // indexTestV1997's relationships: Table2Table1 (Table1 → Table2), Table3Table1 (Table1 → Table3).
    const auto relationshipsRenamed = [](const std::string& s) {
        return same(fake::withText(
            fake::withText(s, "MSysRelationships", "szRelationship", u"Table2Table1", u"Table2Table9"),
            "MSysRelationships", "szRelationship", u"Table3Table1", u"Table3Table9"));
    };
    const auto systemTable = [](const std::string& s, const char* table) {
        return fake::withCatalogField(s, table, fake::CatalogField::Flags,
                                      static_cast<std::int32_t>(0x80000000));
    };
    Text manyMissing = kDiffers;
    for (const char16_t* name :
         {u"Table1", u"Table1_desc", u"Table10", u"Table10_desc", u"Table11", u"Table12", u"Table12_asc_desc",
          u"Table12_desc_asc", u"Table12_desc_desc", u"Table13"})
        manyMissing += u"テーブル「" + Text(name) + u"」がありません。\r\n";
    manyMissing += u"ほか19件\r\n" + kWritten + kQuestion;
    // one case a row
    // clang-format off
    const Row rows[] = {
        {"a healthy copy", kJet4, same, 0, 0, {kDone}, {64}, true},
        {"a healthy copy with a relationship", kValues, same, 0, 0, {kDone}, {64}, true},
        // The same rows stored by another version of the engine: other pages, Jet 3 text in its code
        // page against compressed or plain UCS-2, long values in other chains.
        {"the same rows, Jet 3 against Jet 4", kDeleted,
         [](const std::string&) { return fake::testDatabase("delTestV2000.mdb"); }, 0, 0, {kDone}, {64}, true},
        {"the same rows, overflowed otherwise", fake::testDatabase("overflowTestV1997.mdb"),
         [](const std::string&) { return fake::testDatabase("overflowTestV2000.mdb"); }, 0, 0, {kDone}, {64}, true},
        {"the same values, Access 2000 against 2003", fake::testDatabase("valuesV2000.mdb"),
         [](const std::string&) { return kValues; }, 0, 0, {kDone}, {64}, true},
        // A memo's 12-byte field: its length (the top byte flags how it is stored), then where.
        {"a memo blanked", kValues, [](const std::string& s) {
             return same(fake::withField(s, "顧客", "メモ", [](char* f, std::size_t n) {
                 if (n < 12 || (f[0] == 0 && f[1] == 0 && f[2] == 0)) return false;
                 f[0] = f[1] = f[2] = 0;
                 return true;
             }));
         }, 0, 7, {kDiffers + u"テーブル「顧客」: 修復前の行のうち1行が、同じ内容では修復後にありません（行数: 300 → 300）。\r\n" +
                   kWritten + kQuestion}, {308}, false},
        {"a memo's chain cut", kValues, [](const std::string& s) {
             return same(fake::withField(s, "顧客", "長いメモ", [](char* f, std::size_t n) {
                 if (n < 12 || static_cast<unsigned char>(f[3]) != 0) return false;  // a chain of LVAL rows
                 f[4] = f[5] = f[6] = f[7] = 0;
                 return true;
             }));
         }, 0, 7, {kUnreadable + u"（ページ 60）", kSalvage}, {16, 36}, false},
        {"the pages' encryption lost", support::encrypted(kIndex, 0xA7E0C0FE),
         [](const std::string&) { return same(kIndex); }, 0, 7,
         {kDiffers + u"修復後のファイルは暗号化されていません。\r\n" + kQuestion}, {308}, false},
        {"no database at all", kDeleted, [](const std::string&) { return std::string("not a database"); },
         0, 7, {kUnreadable, kSalvage}, {16, 36}, false},
        {"cut in half", kDeleted, [](const std::string& s) { return s.substr(0, s.size() / 2); },
         0, 7, {kUnreadable + u"（ページ 6）", kSalvage}, {16, 36}, false},
        {"catalog page zeroed", kDeleted, [](const std::string& s) {
             std::string c = s;
             std::fill(c.begin() + 2 * 2048, c.begin() + 3 * 2048, '\0');
             return c;
         }, 0, 7, {kUnreadable + u"（ページ 2）", kSalvage}, {16, 36}, false},
        {"a table missing, kept", kCodes,
         [](const std::string& s) { return fake::renamed(s, "Table12_asc_desc", "Table12_xxx_desc"); },
         0, 7, {kDiffers + missing + kWritten + kQuestion}, {308}, false},
        {"fewer rows, replaced", kIndex, [](const std::string&) { return kSmall; }, 0, 6,
         {kDiffers + u"テーブル「Table1」: 修復前の行のうち4行が、同じ内容では修復後にありません（行数: 4 → 2）。\r\n"
                     u"テーブル「Table2」: 修復前の行のうち3行が、同じ内容では修復後にありません（行数: 3 → 0）。\r\n"
                     u"テーブル「Table3」: 修復前の行のうち4行が、同じ内容では修復後にありません（行数: 4 → 0）。\r\n"
                     u"リレーションシップ「Table3Table1」がありません。\r\n"
                     u"リレーションシップ「Table2Table1」がありません。\r\n"
                     u"テーブル「Table1」のインデックス「id」がありません。\r\n" +
                     kWritten + kQuestion, kDone},
         {308, 64}, true},
        {"one text value changed", kIndex, [](const std::string& s) { return same(fake::renamed(s, "baz13", "baz14")); },
         0, 7, {kDiffers + u"テーブル「Table1」: 修復前の行のうち1行が、同じ内容では修復後にありません（行数: 4 → 4）。\r\n" +
                kWritten + kQuestion}, {308}, false},
        {"one long value changed", kIndex, [](const std::string& s) { return same(fake::withLong(s, "Table3", "id", 2, 99)); },
         0, 7, {kDiffers + u"テーブル「Table3」: 修復前の行のうち1行が、同じ内容では修復後にありません（行数: 4 → 4）。\r\n" +
                kWritten + kQuestion}, {308}, false},
        {"two rows' values of a column swapped", kIndex, [](const std::string& s) {
             return same(fake::renamed(fake::renamed(fake::renamed(s, "bar10", "barXX"), "bar11", "bar10"), "barXX", "bar11"));
         }, 0, 7, {kDiffers + u"テーブル「Table3」: 修復前の行のうち2行が、同じ内容では修復後にありません（行数: 4 → 4）。\r\n" +
                   kWritten + kQuestion}, {308}, false},
        {"more than ten findings", kCodes, [](const std::string&) { return kDeleted; }, 0, 7,
         {manyMissing}, {308}, false},
        {"errors the compactor recorded", kCodesWithErrors, same, 0, 6,
         {kDiffers + u"最適化中のエラーが10件記録されました（MSysCompactError）。\r\n" + kQuestion, kDone},
         {308, 64}, true},
        {"an unreadable original: the copy alone decides", "damaged", [](const std::string&) { return kJet4; },
         0, 0, {kDone}, {64}, true},
        // A damaged original is read past its damage: what the copy lacks of the rows that read is
        // lost, and rows it holds beyond them may be the compactor's finds. indexTestV1997 keeps
        // Table3's rows on page 26 and Table1's on 27; with its catalog zeroed the scan names Table1
        // by its definition's page, 37.
        {"a page of the original lost, the copy whole", zeroed(kIndex, 26), [](const std::string&) { return same(kIndex); },
         0, 0, {kDone}, {64}, true},
        {"a page of the original lost, the copy short of a row of another page", zeroed(kIndex, 26),
         [](const std::string&) { return same(fake::renamed(kIndex, "baz13", "baz14")); }, 0, 7,
         {kDiffers + u"テーブル「Table1」: 修復前の行のうち1行が、同じ内容では修復後にありません（行数: 4 → 4）。\r\n" +
          kWritten + kQuestion}, {308}, false},
        {"the original's catalog lost, the copy whole", zeroed(kIndex, 2), [](const std::string&) { return same(kIndex); },
         0, 0, {kDone}, {64}, true},
        {"the original's catalog lost, the copy short of a row", zeroed(kIndex, 2),
         [](const std::string&) { return same(fake::renamed(kIndex, "baz13", "baz14")); }, 0, 7,
         {kDiffers + u"テーブル「Table_37」: 修復前の行のうち1行が、同じ内容では修復後にありません（行数: 4 → 3）。\r\n" +
          kWritten + kQuestion}, {308}, false},
        {"exit code 1, whole copy, replaced", kIndex, same, 1, 6, {kExitWhole + kQuestion, kDone}, {308, 64}, true},
        {"exit code 1, whole copy, kept", kIndex, same, 1, 7, {kExitWhole + kQuestion}, {308}, false},
        {"exit code 1, rows short", kIndex, [](const std::string&) { return kSmall; }, 1, 7,
         {kExitRefused, kSalvage}, {16, 36}, false},
        {"exit code 1, errors recorded", kCodesWithErrors, same, 1, 7, {kExitRefused, kSalvage}, {16, 36}, false},
        {"exit code 1, unreadable original", "damaged", [](const std::string&) { return kJet4; }, 1, 6,
         {kExitRefused}, {16}, false},
        {"a breakpoint's exception code, whole copy", kIndex, same, 0x80000003, 6,
         {u"JetComp.exeが終了コード0x80000003で終了しました。ファイル名は変更していません。", kSalvage}, {16, 36},
         false},
        {"a user table the copy holds as the system's", kIndex,
         [](const std::string& s) { return fake::withCatalogField(s, "Table2", fake::CatalogField::Flags, 0x80000000); },
         0, 7, {kDiffers + u"テーブル「Table2」がありません。\r\n" + kWritten + kQuestion}, {308}, false},
        {"a query dropped", fake::withCatalogField(kIndex, "Table2", fake::CatalogField::Type, 5),
         [](const std::string&) { return same(kIndex); },
         0, 7, {kDiffers + u"クエリ「Table2」がありません。\r\n" + kQuestion}, {308}, false},
        {"a form dropped",
         fake::withCatalogField(kIndex, "Table2", fake::CatalogField::ParentId, fake::containerId(kIndex, "Forms")),
         [](const std::string&) { return same(kIndex); },
         0, 7, {kDiffers + u"フォーム「Table2」がありません。\r\n" + kQuestion}, {308}, false},
        {"an index dropped", kValues,
         [](const std::string& s) { return same(fake::renamed(s, fake::utf16le(u"ByCustomer"), fake::utf16le(u"ByCustomex"))); },
         0, 7, {kDiffers + u"テーブル「Orders」のインデックス「ByCustomer」がありません。\r\n" + kQuestion}, {308}, false},
        {"a relationship's own index dropped: it goes with the relationship", kValues,
         [](const std::string& s) { return same(fake::renamed(s, fake::utf16le(u".rB"), fake::utf16le(u".rX"))); },
         0, 0, {kDone}, {64}, true},
        {"a relationship dropped", kValues, [](const std::string& s) {
             return same(fake::withText(s, "MSysRelationships", "szRelationship", u"顧客Orders", u"顧客Orderz"));
         }, 0, 7, {kDiffers + u"リレーションシップ「顧客Orders」がありません。\r\n" + kQuestion}, {308}, false},
        {"two relationships dropped, one between tables the catalog marks the system's: no finding for it",
         systemTable(systemTable(kIndex, "Table1"), "Table2"), relationshipsRenamed, 0, 7,
         {kDiffers + u"リレーションシップ「Table3Table1」がありません。\r\n" + kQuestion}, {308}, false},
        {"a relationship between tables named MSys… dropped: no finding",
         fake::withCatalogField(fake::withCatalogField(kNavPane, "MSysNavPaneGroups", fake::CatalogField::Flags, 0),
                                "MSysNavPaneGroupToObjects", fake::CatalogField::Flags, 0),
         [](const std::string& s) {
             return same(fake::withText(s, "MSysRelationships", "szRelationship",
                                        u"MSysNavPaneGroupsMSysNavPaneGroupToObjects",
                                        u"MSysNavPaneGroupsMSysNavPaneGroupToObjectz"));
         }, 0, 0, {kDone}, {64}, true},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        fake::Platform p;
        readyToRun(p, row.original);
        p.compactorOutput = row.copy;
        p.exitCode = row.exitCode;
        p.answers = {row.answer, 1};
        bool ended = false;
        try {
            frmMain::cmdOk_Click();
        } catch (const fake::ProgramEnded&) {
            ended = true;
        }
        std::vector<Text> texts;
        std::vector<std::int32_t> flags;
        for (const fake::Box& box : p.boxes) {
            texts.push_back(box.text);
            flags.push_back(box.flags);
            EXPECT_EQ(*box.title, box.flags == 308  ? u"警告"
                                  : box.flags == 16 ? u"中止"
                                  : box.flags == 36 ? u"確認"
                                                    : u"情報");
        }
        EXPECT_EQ(texts, row.boxes);
        EXPECT_EQ(flags, row.flags);
        EXPECT_EQ(ended, row.swapped);
        const std::string copy = row.copy(row.original);
        if (row.swapped) {
            EXPECT_EQ(p.files[kSource], copy);
            EXPECT_EQ(p.logLines().size(), 7u);
        } else {
            // Nothing renamed: the original where it was, the copy beside it for the user to see.
            EXPECT_THAT(p.moves, testing::IsEmpty());
            EXPECT_EQ(p.files[kSource], row.original);
            EXPECT_EQ(p.files[kAfter], copy);
            EXPECT_EQ(p.logLines().size(), 4u);
            EXPECT_FALSE(p.unloaded);
        }
        EXPECT_EQ(p.liveFileSystems, 0);
    }
}

// The rows the copy lacks are in a CSV file of their table before the question, beside the
// database, in a folder of a name not taken; a failure to write them is said in the question.
TEST(CopyCheck, LostRowsAreWrittenOutBeforeTheQuestion) {
    const Text folder = u"C:\\data\\_LostRows20261207090503sales";
    const std::string kBaz13 = "\xEF\xBB\xBFid,otherfk1,otherfk2,data,otherfk3\r\n3,2,13,\"baz13\",0\r\n";
    const struct {
        const char* what;
        std::function<void(fake::Platform&)> before;
        Text line;
        Text file;  // where the row is written; empty when it is not
    } rows[] = {
        {"written", [](fake::Platform&) {},
         u"修復後のファイルにない行を次のフォルダに書き出しました: " + folder, folder + u"\\Table1.csv"},
        {"the original's catalog lost", [](fake::Platform& p) { p.files[kSource] = zeroed(kIndex, 2); },
         u"修復後のファイルにない行を次のフォルダに書き出しました: " + folder, folder + u"\\Table_37.csv"},
        {"the folder's name taken", [&](fake::Platform& p) { p.folders.insert(folder); },
         u"修復後のファイルにない行を次のフォルダに書き出しました: " + folder + u" (2)",
         folder + u" (2)\\Table1.csv"},
        {"not written", [](fake::Platform& p) { p.failOn("createNewFile"); },
         u"修復後のファイルにない行を書き出せませんでした（エラー75: パス名が無効です。）。", u""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        fake::Platform p;
        readyToRun(p, kIndex);
        p.compactorOutput = [](const std::string&) { return same(fake::renamed(kIndex, "baz13", "baz14")); };
        row.before(p);
        p.answers = {7};
        frmMain::cmdOk_Click();
        ASSERT_EQ(p.boxes.size(), 1u);
        EXPECT_THAT(p.boxes[0].text,
                    support::HasSubstr(u"\r\n\r\n" + row.line + u"\r\n\r\n修復後のファイルに置き換えますか"));
        if (!row.file.empty()) {
            EXPECT_EQ(p.files[row.file], kBaz13);
        }
        EXPECT_THAT(p.moves, testing::IsEmpty());
    }
}

// A file the system will not let the check read is no verdict on the database: the run stops with
// the system's reason, whichever of the two it was.
TEST(CopyCheck, AReadTheSystemRefusesIsReportedWithItsReasonAndNothingMoves) {
    for (const int nth : {1, 2}) {  // the copy, then the original
        SCOPED_TRACE(nth);
        fake::Platform p;
        readyToRun(p, kIndex);
        p.failure = {32, u"プロセスはファイルにアクセスできません。別のプロセスが使用中です。"};
        p.failOn("openForReading", nth);
        frmMain::cmdOk_Click();
        ASSERT_EQ(p.boxes.size(), 1u);
        EXPECT_EQ(p.boxes[0].text,
                  u"プログラムの実行中にエラーが発生しました。\r\n場所： cmdOk_Click\r\n\r\n番号： 32\r\n\r\n"
                  u"内容： プロセスはファイルにアクセスできません。別のプロセスが使用中です。\r\n\r\n"
                  u"位置： 28\r\n\r\n\r\n処理を中断します。");
        EXPECT_THAT(p.moves, testing::IsEmpty());
        EXPECT_EQ(p.liveFileSystems, 0);
    }
}

// The check reads both files on the window thread: ｷｬﾝｾﾙ pressed meanwhile ends the program there,
// and nothing is renamed.
TEST(CopyCheck, CancelDuringTheCheckEndsTheProgramWithNothingRenamed) {
    fake::Platform p;
    readyToRun(p, kCodes);
    p.onEvents = [&] {
        if (p.count("openForReading") > 0) frmMain::cmdCancel_Click();
    };
    EXPECT_THROW(frmMain::cmdOk_Click(), fake::ProgramEnded);
    EXPECT_THAT(p.moves, testing::IsEmpty());
    EXPECT_TRUE(p.unloaded);
    EXPECT_THAT(p.boxes, testing::IsEmpty());
    EXPECT_EQ(p.logLines().size(), 4u);  // ended in the check, before the next line
}

TEST(CopyCheck, TheQuestionListsTenFindingsThenHowManyMore) {
    std::vector<Text> findings(12, u"x");
    EXPECT_EQ(frmMain::differencesQuestion(findings),
              kDiffers + u"x\r\nx\r\nx\r\nx\r\nx\r\nx\r\nx\r\nx\r\nx\r\nx\r\nほか2件\r\n" + kQuestion);
    findings.resize(10);
    EXPECT_EQ(frmMain::differencesQuestion(findings),
              kDiffers + u"x\r\nx\r\nx\r\nx\r\nx\r\nx\r\nx\r\nx\r\nx\r\nx\r\n" + kQuestion);
}

}  // namespace
