// The logical indexes the reader finds in each table's definition: their names against what
// Debian's mdbtools prints for every user table of every test database, and, in the files with
// relationships, the indexes those add, which mdbtools leaves out.
#include "support/text_printer.h"

#include <algorithm>
#include <map>
#include <regex>

#include "tests/jet_reader/support.h"

namespace {

using namespace jettest;
using Names = std::vector<std::string>;
using ByTable = std::map<std::string, Names>;  // sorted names by table; tables without any left out

// What `mdb-schema --indexes FILE mysql` prints of the indexes a user made: `ADD INDEX `NAME``,
// and `ADD PRIMARY KEY` without the name, which is "PrimaryKey" in every test database (the
// table below shows it where the reader lists the indexes in full). It leaves out the indexes of
// type 0x02 (mdbtools src/libmdb/backend.c `mdb_print_indexes`).
ByTable mdbSchema(const std::string& path) {
    const std::regex added("ALTER TABLE `([^`]*)` ADD (INDEX `([^`]*)`|PRIMARY KEY) \\(.*");
    ByTable indexes;
    for (const std::string& line :
         outputLines("mdb-schema --indexes --no-relations '" + path + "' mysql 2>/dev/null")) {
        std::smatch m;
        if (std::regex_match(line, m, added))
            indexes[m[1]].push_back(m[3].matched ? m[3].str() : "PrimaryKey");
    }
    for (auto& [table, names] : indexes) std::sort(names.begin(), names.end());
    return indexes;
}

jet::Database database(const std::string& name) {
    DiskFile file(testdata(name));
    jet::Reading reading = jet::read(file, latin1);
    EXPECT_TRUE(reading.database) << reading.problem;
    return reading.database ? std::move(*reading.database) : jet::Database{};
}

TEST(JetReader, IndexNamesAgreeWithMdbSchemaOnEveryTestDatabase) {
    int status = -1;
    outputLines("command -v mdb-schema", &status);
    ASSERT_EQ(status, 0) << "mdb-schema not found: apt-get install mdbtools";
    std::size_t compared = 0;
    for (const std::string& name : testDatabases()) {
        SCOPED_TRACE(name);
        ByTable ours;
        for (const jet::Table& t : database(name).tables) {
            EXPECT_TRUE(t.problem.empty()) << utf8(t.name) << ": " << t.problem;
            for (const jet::Index& index : t.indexes)
                if (t.user && !index.foreignKey) ours[utf8(t.name)].push_back(utf8(index.name));
        }
        for (auto& [table, names] : ours) std::sort(names.begin(), names.end()), compared += names.size();
        EXPECT_EQ(ours, mdbSchema(testdata(name)));
    }
    EXPECT_EQ(compared, 100u);  // in 49 tables of 9 files; the other 5 files have no index
}

// Every logical index, in the definition's order, "*" after those of type 0x02: a relationship's
// index in each of its two tables (the one of the foreign key is named as the relationship in
// MSysRelationships, as `mdb-export FILE MSysRelationships` shows it; the other gets a name of its
// own). Beside them, the user's indexes on the same columns stay (Orders.ByCustomer).
struct Listed {
    const char* file;
    const char* table;
    Names indexes;
};

TEST(JetReader, ListsEveryLogicalIndexWithTheRelationshipsOwn) {
    const Listed rows[] = {
        {"valuesV2003.mdb", "Orders", {"PrimaryKey", "ByCustomer", "顧客Orders*"}},
        {"valuesV2003.mdb", "顧客", {"PrimaryKey", "名前順", ".rB*"}},
        // Jet 3: names of one byte a character, lengths of one byte.
        {"indexTestV1997.mdb", "Table1", {"id", "PrimaryKey", "Table2Table1*", "Table3Table1*"}},
        {"indexTestV1997.mdb", "Table2", {".rC*", "id", "PrimaryKey"}},
    };
    for (const Listed& row : rows) {
        SCOPED_TRACE(std::string(row.file) + " " + row.table);
        const jet::Database db = database(row.file);
        const auto table = std::find_if(db.tables.begin(), db.tables.end(),
                                        [&](const jet::Table& t) { return utf8(t.name) == row.table; });
        ASSERT_NE(table, db.tables.end());
        Names listed;
        for (const jet::Index& index : table->indexes)
            listed.push_back(utf8(index.name) + (index.foreignKey ? "*" : ""));
        EXPECT_EQ(listed, row.indexes);
    }
}

}  // namespace
