// A large database that reads as a sound one, made from a real test database, for the tests and
// benchmarks that need a file whose reading takes seconds.
#pragma once

#include <cstdint>
#include <string>

namespace support {

struct BigDatabase {
    std::string bytes;         // the new file; empty when the source cannot be grown
    std::string problem;       // then why not
    std::u16string table;      // the table whose rows were repeated
    std::uint64_t rows = 0;    // its live rows in the source
    std::uint64_t copies = 0;  // copies added: the new file holds rows * (copies + 1) of them
};

// The source (a whole unencrypted .mdb file) grown to at least targetBytes by repeating one user
// table (the one whose pages take the most room) as many times as it takes, once at least: its
// data pages and the LVAL pages its long values lie on are appended, copy after copy, with every
// row pointer among them (long values, chains, overflow rows) turned to the copy's own pages, so
// that no LVAL row is reached twice. The table's owned-pages map becomes a reference map (kind 1)
// with map pages (type 0x05) at the end of the file, marking the copies' pages too, and the row
// count its definition stores is multiplied (docs/jet-format.md sections 2, 3, 4 and 8.4). Every
// other table, and the indexes, are left as they were: the copies' rows, autonumbers and keys
// repeated with the rest, are in no index.
BigDatabase bigDatabase(const std::string& source, std::uint64_t targetBytes);

}  // namespace support
