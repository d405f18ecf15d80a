// Reads a Jet 3 or Jet 4 database file (.mdb) far enough to list its local tables, with their
// indexes, and count each one's live rows, as the database engine finds them: the header, the
// catalog (MSysObjects), each table's definition and usage map, and the row slots of its data
// pages. It reads only the pages it needs, one at a time, so its memory does not grow with the
// file. On anything it cannot make sense of it says so, with the reason, and never reads outside
// what it was given.
//
// What damage costs (docs/jet-format.md section 7):
//  - the whole file ("cannot read: ..."): the header (signature, version, page 0), a size that is
//    not a whole number of pages or under 3 pages, and the catalog: page 2 and its continuations,
//    MSysObjects' columns, usage map, data pages and rows (every one is decoded), overflow, and
//    a catalog without its own row (Id 2);
//  - one table (no rows, a problem): whatever is reached from its Id: its definition and its
//    continuations, up to the last index name, its usage map and map pages, its data pages and
//    slots, overflow pointers, each live row's column count and null mask; also an Id that
//    another table's row already named.
// A listed page that is no data page is skipped, as Jackcess and mdbtools do. Chains are bounded
// (a definition joins at most 128 KiB, an overflow goes at most 4 hops); no loop runs longer than
// the page count allows, and a page no pointer reaches is never read.
//
// Read with values, it also decodes every value of every live row, long values and all, and
// reduces each row to a digest (table_values.h); damage in values costs only its table's digests.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "jet_reader/sha256.h"
#include "jet_reader/value.h"
#include "platform/platform.h"

namespace jet {

using platform::Text;

// Text in the database's code page (the names in a Jet 3 file) to UTF-16.
using CodePageDecoder = std::function<Text(std::uint32_t codePage, const std::string& bytes)>;

// A logical index of a table, as its definition lists it (docs/jet-format.md section 3).
struct Index {
    Text name;  // as stored (Jet 3: through the decoder)
    // Made by a relationship that enforces referential integrity, one in each of its two tables
    // (the definition's index type 0x02), not by the user.
    bool foreignKey = false;
};

struct Table {
    Text name;                          // as stored (Jet 3: through the decoder)
    bool user = false;                  // listed as mdb-tables -1 lists a user table
    std::uint32_t definitionPage = 0;   // the page of its definition (its Id in the catalog)
    std::optional<std::uint64_t> rows;  // live rows by scan; none when its pages cannot be read
    std::string problem;                // why the rows could not be counted
    // The row count its definition stores (what mdb-count prints); none when the definition
    // cannot be read. It may lag behind the scan for system tables (MSysACEs, MSysQueries).
    std::optional<std::uint64_t> storedRows;
    std::vector<Index> indexes;  // in the definition's order; none when it cannot be read
    // Only when read with values (the second read below), and asked for: every live row's digest
    // (row_digest.h), sorted, so that two tables hold the same rows when these are equal. None when
    // a value could not be decoded or the rows not counted; then valueProblem says why.
    std::optional<std::vector<Digest>> rowDigests;
    std::string valueProblem;
    // Read with values: the column names in column-number order, once the definition was read.
    std::vector<Text> columns;
    // Where the problem or the value problem was found: the page being read then.
    std::optional<std::uint64_t> problemPage;
};

// What a user makes beside tables, as the catalog lists it.
enum class ObjectKind { Query, LinkedTable, Form, Report, Macro, Module };
struct Object {
    ObjectKind kind;
    Text name;
};

struct Database {
    int version = 0;  // 3 or 4
    std::uint32_t pageSize = 0;
    std::uint64_t pageCount = 0;
    std::uint32_t codePage = 0;
    bool encrypted = false;  // pages stored under the database key
    // Read past damage only (ValueReading::pastDamage): the catalog could not be read, so the tables
    // are those whose definitions a scan of the pages found, each named "Table_<page>" and taken for
    // the user's (none can be told apart then); and what was skipped: pages (a listed or scanned page
    // whose type, owner, slots or a row is broken, or that lies past the end) and values (a long
    // value that cannot be read, or any other value that cannot be decoded, left empty).
    bool catalogLost = false;
    std::uint64_t unreadablePages = 0;
    std::uint64_t unreadableValues = 0;
    // Every local table (system ones too): the catalog's rows of Type 1, in its order. (mdb-tables
    // would also take a Type whose low 7 bits are 1, such as 0x8001; no file is known to hold one.)
    std::vector<Table> tables;
    std::vector<Object> objects;  // in the catalog's order
};

struct Reading {
    std::optional<Database> database;          // present when the header and the catalog could be read
    std::string problem;                       // otherwise: "cannot read: " and the reason
    std::optional<std::uint64_t> problemPage;  // the page being read when it was found
};

// Reads the file; never throws for what the file holds (only the decoder may throw).
Reading read(platform::ReadOnlyFile& file, const CodePageDecoder& decode);

// What the read with values does besides counting, for every table, system ones too.
struct ValueReading {
    bool digests = true;  // fill Table::rowDigests
    // When set, called with each live row whose values all decode, in column-number order (as
    // mdb-export prints them); the table has its name, user and definition page, not yet its
    // counts. A table's rows stop coming at its first value that cannot be decoded.
    std::function<void(const Table& table, const std::vector<NamedValue>& row)> onRow;
    // For the original only, whose rows are all worth having: read every row that can be read. A
    // damaged page is skipped and counted, a value that cannot be decoded is left empty (marked
    // NamedValue::unreadable) and counted, a table whose usage map is damaged has its data pages
    // found by their owner, a file cut short is read as far as its whole pages go, and a catalog
    // that cannot be read is replaced by a scan for table definitions. Rows come to onRow as read.
    bool pastDamage = false;
};

// The same reading, the counts and problems unchanged, and every live row's values decoded as
// `values` asks (docs/jet-format.md section 8): a table whose values cannot all be decoded gets a
// valueProblem. The work stays linear in the file's size, and the memory a digest a row.
Reading read(platform::ReadOnlyFile& file, const CodePageDecoder& decode, const ValueReading& values);

}  // namespace jet
