// The run on a database in a shared folder, against the fake: in use or short of space it is
// refused before the compactor starts; after the swap the repaired file takes the backup's security.
#include "support/text_printer.h"

#include <algorithm>

#include "main_window/frmMain.h"
#include "tests/unit/fake_platform.h"
#include "tests/unit/run_files.h"
#include "tests/unit/test_databases.h"

using fake::Text;
using namespace fake::run;

namespace {

const Text kInUse = u"は使用中です。データベースを開いているプログラムをすべて終了してから実行してください。";
constexpr std::uint64_t kPlenty = 1ull << 40;
const std::string kDatabase = fake::testDatabase("delTestV1997.mdb");

bool run(fake::Platform& q, const Text& source, const std::string& bytes = kDatabase) {
    q.fields[platform::TextField::MdbFile] = source;
    q.files[source] = bytes;
    q.files[kCompactor] = "exe";
    try {
        frmMain::cmdOk_Click();
    } catch (const fake::ProgramEnded&) {
        return true;
    }
    return false;
}

TEST(SharedDatabase, InUseOrShortOfSpaceIsRefusedBeforeTheLaunch) {
    struct Row {
        const char* what;
        Text source, lockFile;  // no lock file when empty
        bool databaseHeld, lockHeld;
        std::string bytes;
        std::uint64_t freeBytes;
        Text refusal;  // empty: the repair goes through
    };
    const Text ldb = u"C:\\data\\sales.ldb";
    const Row rows[] = {
        {"database held", kSource, u"", true, false, kDatabase, kPlenty, kSource + kInUse},
        {"lock file held", kSource, ldb, false, true, kDatabase, kPlenty, kSource + kInUse},
        {"an .accdb's lock held", u"C:\\data\\a.b.ACCDB", u"C:\\data\\a.b.laccdb", false, true, kDatabase,
         kPlenty, u"C:\\data\\a.b.ACCDB" + kInUse},
        {"no extension", u"C:\\v1.2\\sales", u"C:\\v1.2\\sales.ldb", false, true, kDatabase, kPlenty,
         u"C:\\v1.2\\sales" + kInUse},
        {"too little space", kSource, u"", false, false, std::string(1234567, 'd'), 1000,
         u"C:\\data\\の空き容量が足りません。最適化には1,234,567バイト以上の空きが必要です（空き1,000バイト）。"},
        {"no space, a bare name", u"sales.mdb", u"", false, false, std::string(100, 'd'), 0,
         u"の空き容量が足りません。最適化には100バイト以上の空きが必要です（空き0バイト）。"},
        {"a lock file left by a crash", kSource, ldb, false, false, kDatabase, kPlenty, u""},
        {"an .ldb held beside an .accdb", u"C:\\data\\sales.accdb", ldb, false, true, kDatabase, kPlenty,
         u""},
        {"exactly the space needed", kSource, u"", false, false, kDatabase, kDatabase.size(), u""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        fake::Platform q;
        if (!row.lockFile.empty()) q.files[row.lockFile] = "lock";
        if (row.lockHeld) q.heldOpen.insert(row.lockFile);
        if (row.databaseHeld) q.heldOpen.insert(row.source);
        q.freeBytes = row.freeBytes;
        const bool ended = run(q, row.source, row.bytes);
        if (row.refusal.empty()) {
            EXPECT_TRUE(ended);
            EXPECT_EQ(q.moves.size(), 2u);
        } else {
            EXPECT_FALSE(ended);
            ASSERT_EQ(q.boxes.size(), 1u);
            EXPECT_EQ(q.boxes[0].text, row.refusal);
            EXPECT_EQ(q.boxes[0].flags, 16);
            EXPECT_EQ(*q.boxes[0].title, u"中止");
            EXPECT_THAT(q.launches, testing::IsEmpty());
            EXPECT_THAT(q.moves, testing::IsEmpty());
        }
        if (!row.lockFile.empty()) {
            EXPECT_EQ(q.files[row.lockFile], "lock");  // never deleted
        }
    }
}

TEST(SharedDatabase, TheRepairedFileTakesTheBackupsSecurityRightAfterTheSwap) {
    fake::Platform q;
    EXPECT_TRUE(run(q, kSource));
    const auto first = std::find(q.calls.begin(), q.calls.end(), "moveFile");
    const auto swap = std::find(first + 1, q.calls.end(), "moveFile");
    ASSERT_GE(q.calls.end() - swap, 6);
    // The read-only attribute after the list and the time; the owner, which may be refused, last.
    EXPECT_EQ(std::vector<std::string>(swap + 1, swap + 6),
              (std::vector<std::string>{"copyAccessList", "copyCreationTime", "copyAttributes", "copyOwner",
                                        "localTime"}));
    EXPECT_EQ(q.carried, (std::vector<std::pair<Text, Text>>(4, {kBefore, kSource})));
}

TEST(SharedDatabase, FailuresAreReportedWhereTheyHappen) {
    struct Row {
        const char* operation;
        Text place, line, closing;
        bool ended;
    };
    const Row rows[] = {
        {"freeSpaceBeside", u"cmdOk_Click", u"28", u"処理を中断します。", false},
        // Both files are whole by then: the run goes on to its end, and nothing is undone.
        {"copyAccessList", u"mCopyFileSecurity", u"10", u"処理を続けます。", true},
        {"copyOwner", u"mCopyFileSecurity", u"40", u"処理を続けます。", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.operation);
        fake::Platform q;
        q.failOn(row.operation);
        EXPECT_EQ(run(q, kSource), row.ended);
        ASSERT_EQ(q.boxes.size(), row.ended ? 2u : 1u);
        EXPECT_EQ(q.boxes[0].text, u"プログラムの実行中にエラーが発生しました。\r\n場所： " + row.place +
                                       u"\r\n\r\n番号： 75\r\n\r\n内容： パス名が無効です。\r\n\r\n位置： " +
                                       row.line + u"\r\n\r\n\r\n" + row.closing);
        EXPECT_EQ(q.boxes[0].flags, 16);
        EXPECT_EQ(q.launches.size(), row.ended ? 1u : 0u);
        if (row.ended) {
            EXPECT_EQ(q.files[kBefore], kDatabase);
        }
    }
}

}  // namespace
