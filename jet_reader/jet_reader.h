// Reads a Jet 3 or Jet 4 database file (.mdb) far enough to list its local tables and count each
// one's live rows, as the database engine finds them: the header, the catalog (MSysObjects), each
// table's definition and usage map, and the row slots of its data pages. It reads only the pages it
// needs, one at a time, so its memory does not grow with the file. On anything it cannot make sense
// of it says so, with the reason, and never reads outside what it was given.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace jet {

using platform::Text;

// Text in the database's code page (the names in a Jet 3 file) to UTF-16.
using CodePageDecoder = std::function<Text(std::uint32_t codePage, const std::string& bytes)>;

struct Table {
    Text name;
    bool user = false;                  // listed as mdb-tables -1 lists a user table
    std::optional<std::uint64_t> rows;  // live rows by scan; none when its pages cannot be read
    std::string problem;                // why the rows could not be counted
};

struct Database {
    int version = 0;                    // 3 or 4
    std::uint32_t pageSize = 0;
    std::uint64_t pageCount = 0;
    std::uint32_t codePage = 0;
    bool encrypted = false;             // pages stored under the database key
    std::vector<Table> tables;          // every local table (system ones too), in catalog order
};

struct Reading {
    std::optional<Database> database;   // present when the header and the catalog could be read
    std::string problem;                // otherwise: "cannot read: " and the reason
};

// Reads the file; never throws for what the file holds (only the decoder may throw).
Reading read(platform::ReadOnlyFile& file, const CodePageDecoder& decode);

}  // namespace jet
