// libFuzzer target: the Jet reader over any bytes, read as a file through the platform's
// ReadOnlyFile. Seeds: the small real databases of tests/data (run.sh copies them). For
// every input, besides no crash, no undefined behaviour and no hang:
//  - the reading is a database or a problem "cannot read: ...", never both, never neither;
//  - a database is Jet 3 (2048-byte pages) or Jet 4 (4096), of exactly the input's pages;
//  - each table has rows or a problem, never both;
//  - the reader never asks for bytes past the end of the file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "jet_reader/jet_reader.h"
#include "tests/jet_reader/support.h"

namespace {

void check(bool ok, const char* what, const jet::Reading& reading) {
    if (ok) return;
    std::fprintf(stderr, "property broken: %s\n  problem: \"%s\"\n", what, reading.problem.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    jettest::MemoryFile file(data, size);
    const jet::Reading reading = jet::read(file, jettest::latin1);

    check(file.refused == 0, "a read past the end of the file", reading);
    check(reading.database.has_value() == reading.problem.empty(), "database xor problem", reading);
    if (!reading.database) {
        check(reading.problem.rfind("cannot read: ", 0) == 0, "problem without \"cannot read: \"", reading);
        return 0;
    }
    const jet::Database& db = *reading.database;
    check((db.version == 3 && db.pageSize == 2048) || (db.version == 4 && db.pageSize == 4096),
          "version and page size", reading);
    check(db.pageCount * db.pageSize == size && db.pageCount >= 3, "page count", reading);
    for (const jet::Table& table : db.tables)
        check(table.rows.has_value() == table.problem.empty(), "table: rows xor problem", reading);
    return 0;
}
