#include "jet_reader/table_definition.h"

#include <algorithm>

#include "jet_reader/damage.h"

namespace jet {

namespace {

// A definition spans pages: the first page whole, then bytes 8.. of each next one (the u32 at 4
// of each page names the next, 0 ends). Only as much is joined as the last index name needs; the
// most a definition within the limits below needs is about 94 KiB (Jet 4: 255 columns, 255 real
// and 255 logical indexes, every name 64 characters).
constexpr std::size_t kMaxJoinedBytes = std::size_t{128} * 1024;
constexpr std::size_t kNextPageAt = 4;
constexpr std::size_t kContinuationStart = 8;
constexpr std::uint32_t kMaxColumns = 255;
constexpr std::uint32_t kMaxIndexes = 255;
// Fields only values need (docs/jet-format.md sections 3, 8.1 and 8.2), Jet 3 and Jet 4: in the
// definition, the columns numbered so far (u16, deleted ones included); in a descriptor, the
// length (u16) and, Jet 4 only, a numeric's scale (u8; mdbtools names this byte the precision, yet
// puts the decimal point by it too).
struct ValueFields {
    std::size_t maxColumns, columnLength, columnScale;
};
constexpr ValueFields kJet3Values{21, 16, 0};
constexpr ValueFields kJet4Values{41, 23, 12};
// The index part after the column names (docs/jet-format.md section 3): a block for each real
// index (its columns, pages and flags), then an entry for each logical index, whose type byte lies
// at `logicalIndexType`, then the logical indexes' names. mdbtools reads it so in index.c
// `mdb_read_indices` (39/52 and 20/28 bytes, the type at 19/23); Jackcess in TableImpl.java
// `readIndexDefinitions` (JetFormat.java `SIZE_INDEX_COLUMN_BLOCK`, `SIZE_INDEX_INFO_BLOCK`).
struct IndexFields {
    std::size_t realIndex, logicalIndex, logicalIndexType;
};
constexpr IndexFields kJet3Indexes{39, 20, 19};
constexpr IndexFields kJet4Indexes{52, 28, 23};

class JoinedDefinition {
public:
    JoinedDefinition(const Pages& pages, std::uint64_t first)
        : pages_(pages), page_(firstPage(pages, first)), joined_(page_), chain_{first},
          next_(u32(page_, kNextPageAt)) {}

    // The joined bytes, at least `length` of them; `part` names what needs them ("columns").
    Bytes atLeast(std::size_t length, const char* part = "columns") {
        require(length <= kMaxJoinedBytes, "the table definition is longer than 128 KiB");
        while (joined_.size() < length) {
            if (next_ == 0) fail(std::string("the table definition ends before its ") + part + " do");
            if (std::find(chain_.begin(), chain_.end(), next_) != chain_.end())
                fail("the table definition's pages loop back to page " + std::to_string(next_));
            pages_.read(next_, page_, kDefinitionPage, "table definition continuation");
            chain_.push_back(next_);
            joined_.insert(joined_.end(), page_.begin() + kContinuationStart, page_.end());
            next_ = u32(page_, kNextPageAt);
        }
        return joined_;
    }

private:
    static Page firstPage(const Pages& pages, std::uint64_t n) {
        Page page;
        pages.read(n, page, kDefinitionPage, "table definition");
        return page;
    }

    const Pages& pages_;
    Page page_;
    std::vector<std::uint8_t> joined_;
    std::vector<std::uint64_t> chain_;
    std::uint32_t next_ = 0;
};

}  // namespace

TableDefinition readTableDefinition(const Pages& pages, std::uint64_t page) {
    const Layout& l = pages.layout();
    const ValueFields& v = l.version == 4 ? kJet4Values : kJet3Values;
    JoinedDefinition joined(pages, page);
    Bytes b = joined.atLeast(l.tdefIndexEntries);

    TableDefinition def;
    def.page = page;
    // The table type (docs/jet-format.md section 3): 0x53 marks the engine's own four tables.
    def.engineTable = u8(b, l.version == 4 ? 40 : 20) == 0x53;
    def.storedRows = u32(b, l.tdefRows);
    def.ownedPages = u32(b, l.tdefOwnedPages);
    def.variableColumns = u16(b, l.tdefVariableColumns);
    def.maxColumns = u16(b, v.maxColumns);
    const std::uint32_t columns = u16(b, l.tdefColumns);
    const std::uint32_t logicalIndexes = u32(b, l.tdefLogicalIndexes);
    const std::uint32_t realIndexes = u32(b, l.tdefRealIndexes);
    if (columns == 0 || columns > kMaxColumns)
        fail("the table definition lists " + std::to_string(columns) + " columns");
    if (logicalIndexes > kMaxIndexes || realIndexes > kMaxIndexes)
        fail("the table definition lists " + std::to_string(std::max(logicalIndexes, realIndexes)) +
             " indexes");

    const std::size_t descriptors = l.tdefIndexEntries + realIndexes * l.realIndexEntry;
    std::size_t at = descriptors + columns * l.column;
    b = joined.atLeast(at);
    def.columns.resize(columns);
    for (std::size_t i = 0; i < columns; ++i) {
        const std::size_t d = descriptors + i * l.column;
        Column& c = def.columns[i];
        c.type = u8(b, d);
        c.number = u16(b, d + l.columnNumber);
        c.varIndex = u16(b, d + l.columnVarIndex);
        c.flags = u8(b, d + l.columnFlags);
        c.fixedOffset = u16(b, d + l.columnFixedOffset);
        c.length = u16(b, d + v.columnLength);
        if (l.version == 4) c.scale = u8(b, d + v.columnScale);
    }
    // Then one name per column, in the same order: a length (u8 / u16) and the bytes.
    const auto name = [&](const char* part) {
        b = joined.atLeast(at + l.nameLength, part);
        const std::size_t length = l.nameLength == 1 ? u8(b, at) : u16(b, at);
        at += l.nameLength;
        b = joined.atLeast(at + length, part);
        const Bytes stored = slice(b, at, length);
        at += length;
        return std::string(stored.begin(), stored.end());
    };
    for (Column& c : def.columns) c.name = name("columns");

    // Then the index part (IndexFields above), the logical indexes' names stored as the columns'.
    const IndexFields& x = l.version == 4 ? kJet4Indexes : kJet3Indexes;
    const std::size_t entries = at + realIndexes * x.realIndex;
    at = entries + logicalIndexes * x.logicalIndex;
    b = joined.atLeast(at, "indexes");
    def.indexes.resize(logicalIndexes);
    for (std::size_t i = 0; i < logicalIndexes; ++i)
        def.indexes[i].type = u8(b, entries + i * x.logicalIndex + x.logicalIndexType);
    for (LogicalIndex& index : def.indexes) index.name = name("indexes");
    return def;
}

}  // namespace jet
