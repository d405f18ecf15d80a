// The original read past damage: every row that survives comes, each skipped page and value is
// counted, a lost catalog is replaced by the definitions a scan finds, and no row comes that the
// undamaged file does not hold.
#include "support/text_printer.h"

#include <algorithm>

#include "tests/jet_reader/support.h"

namespace {

using namespace jettest;

jet::Reading read(const Bytes& bytes, bool pastDamage) {
    MemoryFile file(bytes);
    jet::ValueReading values;
    values.pastDamage = pastDamage;
    return jet::read(file, latin1, values);
}

const jet::Table* byDefinition(const jet::Database& database, std::uint32_t page) {
    for (const jet::Table& t : database.tables)
        if (t.definitionPage == page) return &t;
    return nullptr;
}

TEST(JetReaderPastDamage, SoundFilesReadAsBeforeAndSkipNothing) {
    for (const std::string& name : testDatabases()) {
        SCOPED_TRACE(name);
        const Bytes bytes = loadFile(testdata(name));
        const jet::Reading strict = read(bytes, false);
        const jet::Reading past = read(bytes, true);
        ASSERT_TRUE(past.database) << past.problem;
        EXPECT_EQ(summary(past), summary(strict));
        EXPECT_FALSE(past.database->catalogLost);
        EXPECT_EQ(past.database->unreadablePages + past.database->unreadableValues, 0u);
        for (std::size_t i = 0; i < strict.database->tables.size(); ++i)
            EXPECT_EQ(past.database->tables[i].rowDigests, strict.database->tables[i].rowDigests);
    }
}

// valuesV2003.mdb: 顧客 defined at page 50 (300 rows; row 0 of page 60 holds a memo chained over
// LVAL rows 54/0 -> 55/0 -> 56/0, whose second pointer is at 0x37014), Orders at page 382 (2823
// rows, 81 of them on page 400). delTestV2000.mdb: Table at page 23, its usage map's pointer at 55.
TEST(JetReaderPastDamage, EveryRowThatSurvivesComes) {
    const auto zero = [](std::size_t page, std::size_t size) {
        return Change([=](Bytes& b) { std::fill_n(b.begin() + page * size, size, 0); });
    };
    struct Case {
        const char* file;
        Change change;
        std::string expected;  // "K L" (pages, values skipped), then each user table's rows
    };
    const Case cases[] = {
        {"valuesV2003.mdb", zero(400, 4096), "1 0 顧客 300 Orders 2742"},
        {"valuesV2003.mdb", put(0x37014, 0), "0 1 顧客 300 Orders 2823"},
        {"valuesV2003.mdb", zero(2, 4096),
         "catalog lost 1 0 Table_3 81 Table_4 0 Table_5 1 Table_17 22 "
         "Table_20 23 Table_26 3 Table_29 9 Table_33 7 Table_50 300 Table_382 2823"},
        {"delTestV2000.mdb", put(23 * 4096 + 55, 0xFFFFFF00), "0 0 Table 2"},    // found by owner
        {"overflowTestV2000.mdb", put(114589, 27 << 8 | 2), "1 0 Table1 6"},     // an overflow's body lost
        {"delTestV2000.mdb", [](Bytes& b) { b.resize(67584); }, "1 5 Table -"},  // cut inside a page
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("case " + std::to_string(i) + ": " + cases[i].file);
        Bytes bytes = loadFile(testdata(cases[i].file));
        const jet::Reading sound = read(bytes, false);
        cases[i].change(bytes);
        const jet::Reading past = read(bytes, true);
        ASSERT_TRUE(past.database) << past.problem;
        const jet::Database& d = *past.database;
        std::string found = d.catalogLost ? "catalog lost " : "";
        found += std::to_string(d.unreadablePages) + " " + std::to_string(d.unreadableValues);
        for (const jet::Table& t : d.tables) {
            if (!t.user) continue;
            found += " " + utf8(t.name) + " " + (t.rows ? std::to_string(*t.rows) : "-");
            // Every row whose values all read is one the undamaged table holds.
            const jet::Table* before = byDefinition(*sound.database, t.definitionPage);
            if (!t.rowDigests || !before) continue;
            std::vector<jet::Digest> held = *before->rowDigests;
            for (const jet::Digest& digest : *t.rowDigests) {
                const auto at = std::lower_bound(held.begin(), held.end(), digest);
                ASSERT_TRUE(at != held.end() && *at == digest) << utf8(t.name) << ": a row it never held";
                held.erase(at);
            }
        }
        EXPECT_EQ(found, cases[i].expected);
    }
}

}  // namespace
