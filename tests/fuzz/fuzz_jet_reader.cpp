// libFuzzer target: the Jet reader over any bytes of up to 1 MiB, read as a file through the
// platform's ReadOnlyFile, once counting, once with values and once past damage. Seeds: the small real databases of
// the test-data folder (run.sh copies them). For every input, besides no crash, no undefined
// behaviour and no hang:
//  - the reading is a database or a problem "cannot read: ...", never both, never neither;
//  - a database is Jet 3 (2048-byte pages) or Jet 4 (4096), of exactly the input's pages;
//  - each table has rows or a problem, never both;
//  - the reader never asks for bytes past the end of the file;
//  - reading values changes no count or problem; each table has row digests or a value problem,
//    never both: a digest for each row it counted, and the rows given to the callback, each with
//    one value per column; a table without rows has its problem as its value problem;
//  - read past damage, a file read at all is a database; every table read whole before gives the
//    same rows again, first in the same order; no more pages are skipped than the file holds.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "jet_reader/jet_reader.h"
#include "tests/jet_reader/support.h"

namespace {

constexpr std::size_t kMaxInput = std::size_t{1} << 20;

void check(bool ok, const char* what, const jet::Reading& reading) {
    if (ok) return;
    std::fprintf(stderr, "property broken: %s\n  problem: \"%s\"\n", what, reading.problem.c_str());
    std::abort();
}

// Rows given to the callback, and values in each, by definition page.
struct Given {
    std::uint64_t rows = 0;
    std::size_t values = 0;
    bool sameWidth = true;
};

void checkValues(const jet::Reading& counted, const jet::Reading& reading,
                 std::map<std::uint32_t, Given>& given) {
    check(reading.problem == counted.problem && reading.database.has_value() == counted.database.has_value(),
          "values: the same database or problem", reading);
    if (!reading.database) return;
    const auto& tables = reading.database->tables;
    check(tables.size() == counted.database->tables.size(), "values: the same tables", reading);
    for (std::size_t i = 0; i < tables.size(); ++i) {
        const jet::Table& t = tables[i];
        const jet::Table& c = counted.database->tables[i];
        check(t.rows == c.rows && t.problem == c.problem && t.storedRows == c.storedRows,
              "values: the same counts and problems", reading);
        check(t.rowDigests.has_value() == t.valueProblem.empty(), "values: digests xor value problem",
              reading);
        if (!t.rows)
            check(t.valueProblem == t.problem, "values: a table without rows has its problem", reading);
        if (!t.rowDigests) continue;
        const Given& g = given[t.definitionPage];
        check(t.rowDigests->size() == *t.rows && g.rows == *t.rows, "values: a digest and a callback a row",
              reading);
        check(g.sameWidth, "values: one value a column in every row", reading);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxInput) return 0;
    jettest::MemoryFile file(data, size);
    const jet::Reading reading = jet::read(file, jettest::latin1);

    check(file.refused == 0, "a read past the end of the file", reading);
    check(reading.database.has_value() == reading.problem.empty(), "database xor problem", reading);
    if (reading.database) {
        const jet::Database& db = *reading.database;
        check((db.version == 3 && db.pageSize == 2048) || (db.version == 4 && db.pageSize == 4096),
              "version and page size", reading);
        check(db.pageCount * db.pageSize == size && db.pageCount >= 3, "page count", reading);
        for (const jet::Table& table : db.tables)
            check(table.rows.has_value() == table.problem.empty(), "table: rows xor problem", reading);
    } else {
        check(reading.problem.rfind("cannot read: ", 0) == 0, "problem without \"cannot read: \"", reading);
    }

    std::map<std::uint32_t, Given> given;
    jet::ValueReading values;
    values.onRow = [&](const jet::Table& table, const std::vector<jet::NamedValue>& row) {
        Given& g = given[table.definitionPage];
        if (g.rows++ > 0 && row.size() != g.values) g.sameWidth = false;
        g.values = row.size();
    };
    jettest::MemoryFile again(data, size);
    const jet::Reading withValues = jet::read(again, jettest::latin1, values);
    check(again.refused == 0, "values: a read past the end of the file", withValues);
    checkValues(reading, withValues, given);

    jet::ValueReading past;
    past.pastDamage = true;
    jettest::MemoryFile third(data, size);
    const jet::Reading salvaged = jet::read(third, jettest::latin1, past);
    check(third.refused == 0, "past damage: a read past the end of the file", salvaged);
    if (!reading.database) return 0;
    check(salvaged.database.has_value(), "past damage: a database read before", salvaged);
    const auto& before = reading.database->tables;
    const auto& after = salvaged.database->tables;
    check(after.size() >= before.size(), "past damage: the tables read before", salvaged);
    for (std::size_t i = 0; i < before.size(); ++i)
        if (before[i].rows && withValues.database->tables[i].valueProblem.empty())
            check(after[i].rows == before[i].rows, "past damage: the rows read before", salvaged);
    check(salvaged.database->unreadablePages <= salvaged.database->pageCount, "past damage: pages skipped",
          salvaged);
    return 0;
}
