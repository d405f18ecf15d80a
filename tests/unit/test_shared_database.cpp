// The run on a database in a shared folder, against the fake: a database in use or short of space
// is refused before the compactor starts; the repaired file takes the backup's security.
#include <gtest/gtest.h>

#include <algorithm>

#include "main_window/frmMain.h"
#include "tests/unit/fake_platform.h"

using fake::Text;
using platform::TextField;

namespace {

const Text kCompactor = u"C:\\Program Files\\Harbek\\JetComp.exe";
const Text kSource = u"C:\\data\\sales.mdb";
const Text kBefore = u"C:\\data\\_BeforeRepair20261207090503sales.mdb";

// The database and what is around it, built up per table row.
struct Database {
    Text source = kSource;
    std::map<Text, std::string> others;   // files beside it, such as lock files
    std::set<Text> held;
    std::size_t size = 8;
    std::uint64_t freeBytes = 1ull << 40;

    Database& at(const Text& path) { source = path; return *this; }
    Database& beside(const Text& path, const std::string& content) { others[path] = content; return *this; }
    Database& holding(const Text& path) { held.insert(path); return *this; }
    Database& sized(std::size_t bytes) { size = bytes; return *this; }
    Database& withFree(std::uint64_t bytes) { freeBytes = bytes; return *this; }
};

// Runs the repair on `setup`; true when it ended the program.
bool runOn(fake::Platform& q, const Database& setup) {
    q.fields[TextField::MdbFile] = setup.source;
    q.files = setup.others;
    q.files[setup.source] = std::string(setup.size, 'd');
    q.files[kCompactor] = "exe";
    q.heldOpen = setup.held;
    q.freeBytes = setup.freeBytes;
    try {
        frmMain::cmdOk_Click();
    } catch (const fake::ProgramEnded&) {
        return true;
    }
    return false;
}

Text report(const Text& place, const Text& line, const Text& closing) {
    return u"プログラムの実行中にエラーが発生しました。\r\n場所： " + place +
           u"\r\n\r\n番号： 75\r\n\r\n内容： パス名が無効です。\r\n\r\n位置： " + line + u"\r\n\r\n\r\n" + closing;
}

const Text kInUse = u"は使用中です。データベースを開いているプログラムをすべて終了してから実行してください。";

TEST(SharedDatabase, InUseOrShortOfSpaceIsRefusedBeforeTheLaunch) {
    struct Row {
        const char* what;
        Database database;
        Text message;
    };
    const Row rows[] = {
        {"database held", Database().holding(kSource), kSource + kInUse},
        {"lock file held",
         Database().beside(u"C:\\data\\sales.ldb", "").holding(u"C:\\data\\sales.ldb"),
         kSource + kInUse},
        {"an .accdb's lock file held",
         Database().at(u"C:\\data\\sales.ACCDB").beside(u"C:\\data\\sales.laccdb", "")
             .holding(u"C:\\data\\sales.laccdb"),
         u"C:\\data\\sales.ACCDB" + kInUse},
        {"lock of a name without extension, in a folder with a dot",
         Database().at(u"C:\\v1.2\\sales").holding(u"C:\\v1.2\\sales.ldb"),
         u"C:\\v1.2\\sales" + kInUse},
        {"too little space",
         Database().sized(1234567).withFree(1000),
         u"C:\\data\\の空き容量が足りません。最適化には1,234,567バイト以上の空きが必要です（空き1,000バイト）。"},
        {"no space, a bare name",
         Database().at(u"sales.mdb").sized(100).withFree(0),
         u"の空き容量が足りません。最適化には100バイト以上の空きが必要です（空き0バイト）。"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        fake::Platform q;
        EXPECT_FALSE(runOn(q, row.database));
        ASSERT_EQ(q.boxes.size(), 1u);
        EXPECT_EQ(q.boxes[0].text, row.message);
        EXPECT_EQ(q.boxes[0].flags, 16);
        EXPECT_EQ(*q.boxes[0].title, u"中止");
        EXPECT_EQ(q.logLines().size(), 3u);
        EXPECT_TRUE(q.launches.empty());
        EXPECT_TRUE(q.moves.empty());
        EXPECT_FALSE(q.unloaded);
        EXPECT_EQ(q.files.size(), row.database.others.size() + 2);   // nothing written, nothing removed
    }
}

TEST(SharedDatabase, WhatIsNoSignOfUseOrShortageLetsTheRepairThrough) {
    struct Row {
        const char* what;
        Database database;
    };
    const Row rows[] = {
        {"a lock file nobody holds", Database().beside(u"C:\\data\\sales.ldb", "left by a crash")},
        {"an .ldb held beside an .accdb",
         Database().at(u"C:\\data\\sales.accdb").holding(u"C:\\data\\sales.ldb")},
        {"the same name held in another folder",
         Database().holding(u"C:\\other\\sales.ldb").holding(u"C:\\other\\sales.mdb")},
        {"exactly the space needed", Database().sized(4096).withFree(4096)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        fake::Platform q;
        EXPECT_TRUE(runOn(q, row.database));
        EXPECT_EQ(q.launches.size(), 1u);
        EXPECT_EQ(q.files[row.database.source], "compacted " + std::string(row.database.size, 'd'));
        for (const auto& [path, content] : row.database.others)
            EXPECT_EQ(q.files[path], content);   // a lock file is left alone
    }
}

TEST(SharedDatabase, TheRepairedFileTakesTheBackupsSecurityRightAfterTheSwap) {
    fake::Platform q;
    EXPECT_TRUE(runOn(q, Database{}));
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
        {"fileSize", u"cmdOk_Click", u"28", u"処理を中断します。", false},
        {"freeSpaceBeside", u"cmdOk_Click", u"28", u"処理を中断します。", false},
        // Both files are whole by then: the run goes on to its end, and nothing is undone.
        {"copyAccessList", u"mCopyFileSecurity", u"10", u"処理を続けます。", true},
        {"copyCreationTime", u"mCopyFileSecurity", u"20", u"処理を続けます。", true},
        {"copyAttributes", u"mCopyFileSecurity", u"30", u"処理を続けます。", true},
        {"copyOwner", u"mCopyFileSecurity", u"40", u"処理を続けます。", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.operation);
        fake::Platform q;
        q.failOn(row.operation);
        EXPECT_EQ(runOn(q, Database{}), row.ended);
        ASSERT_FALSE(q.boxes.empty());
        EXPECT_EQ(q.boxes[0].text, report(row.place, row.line, row.closing));
        EXPECT_EQ(q.boxes[0].flags, 16);
        if (row.ended) {
            ASSERT_EQ(q.boxes.size(), 2u);
            EXPECT_EQ(q.boxes[1].text, u"終了しました。");
            EXPECT_EQ(q.files[kSource], "compacted dddddddd");
            EXPECT_EQ(q.files[kBefore], "dddddddd");
        } else {
            EXPECT_TRUE(q.launches.empty());
        }
    }
}

}  // namespace
