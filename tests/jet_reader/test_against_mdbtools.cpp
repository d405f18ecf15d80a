// The reader against Debian's mdbtools on every real database in the test-data folder: the user
// tables mdb-tables -1 lists and the rows mdb-count prints for each.
#include "support/text_printer.h"

#include <algorithm>
#include <utility>

#include "tests/jet_reader/support.h"

namespace {

using namespace jettest;
using Counts = std::vector<std::pair<std::string, std::uint64_t>>;  // table, rows; sorted

Counts mdbtools(const std::string& path) {
    Counts counts;
    for (const std::string& table : outputLines("mdb-tables -1 '" + path + "'")) {
        const auto count = outputLines("mdb-count '" + path + "' '" + table + "'");
        counts.emplace_back(table, count.size() == 1 ? std::stoull(count[0]) : ~0ULL);
    }
    std::sort(counts.begin(), counts.end());
    return counts;
}

TEST(JetReader, AgreesWithMdbtoolsOnEveryTestDatabase) {
    int status = -1;
    outputLines("command -v mdb-tables mdb-count", &status);
    ASSERT_EQ(status, 0) << "mdbtools (mdb-tables, mdb-count) not found: apt-get install mdbtools";
    const std::vector<std::string> files = testDatabases();
    ASSERT_GE(files.size(), 12u) << "test databases in " << JET_TESTDATA_DIR;

    for (const std::string& name : files) {
        SCOPED_TRACE(name);
        DiskFile file(testdata(name));
        const jet::Reading reading = jet::read(file, latin1);
        ASSERT_TRUE(reading.database) << reading.problem;
        const jet::Database& db = *reading.database;
        EXPECT_EQ(db.version, name.find("V1997") != std::string::npos ? 3 : 4);
        EXPECT_EQ(db.pageSize, db.version == 3 ? 2048u : 4096u);
        EXPECT_EQ(db.codePage, 1252u);
        EXPECT_FALSE(db.encrypted);
        EXPECT_EQ(db.tables.at(0).name, u"MSysObjects");

        Counts ours, stored;
        for (const jet::Table& t : db.tables) {
            EXPECT_TRUE(t.rows) << utf8(t.name) << ": " << t.problem;
            if (!t.user || !t.rows || !t.storedRows) continue;
            ours.emplace_back(utf8(t.name), *t.rows);
            stored.emplace_back(utf8(t.name), *t.storedRows);
        }
        std::sort(ours.begin(), ours.end());
        std::sort(stored.begin(), stored.end());
        const Counts expected = mdbtools(testdata(name));
        EXPECT_EQ(ours, expected) << "rows by scan";
        EXPECT_EQ(stored, expected) << "rows the definitions store";
    }
}

}  // namespace
