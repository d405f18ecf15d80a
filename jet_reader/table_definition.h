// A table's definition (TDEF): the fields the reader needs, the column descriptors with their
// names and the logical indexes with theirs, read from the definition's page and, as far as
// needed, its continuation pages.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet_reader/pages.h"

namespace jet {

struct Column {
    std::uint8_t type = 0;          // 0x03 int16, 0x04 int32, 0x0A text, ...
    std::uint16_t number = 0;       // its bit in a row's null mask
    std::uint16_t varIndex = 0;     // its entry in a row's variable-offset table
    std::uint8_t flags = 0;         // 0x01: fixed length
    std::uint16_t fixedOffset = 0;  // where a fixed value starts in a row's fixed area
    std::uint16_t length = 0;       // a text's or binary's most bytes; a fixed one's size
    std::uint8_t scale = 0;         // Jet 4 numeric: digits after the decimal point
    std::string name;               // as stored: code-page bytes (Jet 3), UCS-2LE (Jet 4)

    bool fixedLength() const { return (flags & 0x01) != 0; }
};

// A logical index: what Access lists as an index of the table. Several may share one real index
// (the pages of its entries); a relationship that enforces referential integrity adds one of type
// 0x02 to each of its two tables (docs/jet-format.md section 3).
struct LogicalIndex {
    std::uint8_t type = 0;  // 0x01 primary key, 0x02 foreign key, 0x00 other
    std::string name;       // as stored: code-page bytes (Jet 3), UCS-2LE (Jet 4)

    bool foreignKey() const { return type == 0x02; }
};

struct TableDefinition {
    std::uint64_t page = 0;
    bool engineTable = false;      // MSysObjects, MSysACEs, MSysQueries or MSysRelationships
    std::uint32_t storedRows = 0;  // the row count kept in the definition (mdb-count's)
    std::uint32_t ownedPages = 0;  // row pointer to the owned-pages usage map
    std::uint16_t variableColumns = 0;
    std::uint16_t maxColumns = 0;       // columns numbered so far, deleted ones included
    std::vector<Column> columns;        // in the definition's order, not by number
    std::vector<LogicalIndex> indexes;  // in the definition's order
};

// Throws Damage: a page that is no TDEF, a chain that ends early (before the last index name),
// loops or grows past 128 KiB, 0 or more than 255 columns, more than 255 indexes.
TableDefinition readTableDefinition(const Pages& pages, std::uint64_t page);

}  // namespace jet
