#include "big_database.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "jet_reader/data_page.h"
#include "jet_reader/header.h"
#include "jet_reader/jet_reader.h"
#include "jet_reader/row.h"
#include "jet_reader/table_definition.h"
#include "jet_reader/usage_map.h"
#include "support/memory_file.h"

namespace support {
namespace {

using jet::Bytes;

constexpr std::uint32_t kInline = 0x80000000;  // a long value's kinds (docs/jet-format.md 8.4)
constexpr std::uint32_t kOneRow = 0x40000000;
constexpr std::uint32_t kLengthMask = 0x3FFFFFFF;
constexpr std::size_t kMapBitmapAt = 4;  // in a usage-map page (type 0x05)

// A row pointer (page << 8 | slot) the source holds at byte `at` of page `page`.
struct Pointer {
    std::uint64_t page;
    std::size_t at;
    std::uint32_t value;
};

// One table's pages to repeat and what in them points at one another.
struct Plan {
    const jet::Table* table = nullptr;
    std::set<std::uint64_t> pages;      // its data pages and the LVAL pages its rows reach
    std::vector<std::uint64_t> mapped;  // what its owned-pages map marks
    std::vector<Pointer> pointers;      // long values, chain rows and overflow slots
    std::uint64_t mapPage = 0;          // where the map row lies
    std::size_t mapAt = 0, mapLength = 0;
};

std::size_t offsetIn(const jet::Page& page, Bytes bytes) {
    return static_cast<std::size_t>(bytes.data() - page.data());
}

// The row's long values that lie in LVAL rows: their pointers, and every row of their chains.
void followLongValues(const jet::Pages& pages, const jet::TableDefinition& definition, std::uint64_t n,
                      const jet::Page& page, Bytes bytes, Plan& plan) {
    const jet::Row row(bytes, pages.layout(), definition.variableColumns > 0);
    jet::Page lval;
    for (const jet::Column& column : definition.columns) {
        if (column.type != jet::kMemo && column.type != jet::kOle) continue;
        const std::optional<Bytes> field = row.variable(column);
        if (!field || field->size() < 12) continue;
        const std::uint32_t header = jet::u32(*field, 0);
        if (header & kInline) continue;
        std::uint32_t pointer = jet::u32(*field, 4);
        plan.pointers.push_back({n, offsetIn(page, *field) + 4, pointer});
        std::uint64_t left = header & kLengthMask;
        for (std::set<std::uint32_t> seen; pointer != 0 && seen.insert(pointer).second;) {
            const jet::PointedRow piece = jet::readPointedRow(pages, pointer, lval, "LVAL");
            plan.pages.insert(piece.page);
            if (header & kOneRow) break;
            pointer = jet::u32(piece.bytes, 0);
            if (pointer != 0) plan.pointers.push_back({piece.page, offsetIn(lval, piece.bytes), pointer});
            const std::uint64_t got = piece.bytes.size() - 4;
            left -= std::min(left, got);
            if (left == 0) break;
        }
    }
}

// Throws jet::Damage when the table's pages cannot be read as the format says.
Plan planFor(const jet::Pages& pages, const jet::Table& table) {
    Plan plan;
    plan.table = &table;
    const jet::Layout& layout = pages.layout();
    const jet::TableDefinition definition = jet::readTableDefinition(pages, table.definitionPage);
    jet::Page page;
    const jet::PointedRow mapRow = jet::readPointedRow(pages, definition.ownedPages, page, "usage map");
    plan.mapPage = mapRow.page;
    plan.mapAt = offsetIn(page, mapRow.bytes);
    plan.mapLength = mapRow.bytes.size();
    jet::forEachMappedPage(pages, definition.ownedPages, [&](std::uint64_t n) { plan.mapped.push_back(n); });

    for (const std::uint64_t n : plan.mapped) {
        pages.read(n, page, "data");
        if (page[0] != jet::kDataPage || jet::ownerOf(page) != table.definitionPage) continue;
        plan.pages.insert(n);
        for (std::size_t slot = 0; slot < jet::slotCount(page, layout); ++slot) {
            const std::uint16_t entry = jet::slotEntry(page, layout, slot);
            if ((entry & (jet::kNotLiveRow | jet::kOverflowRow)) == (jet::kNotLiveRow | jet::kOverflowRow))
                continue;  // deleted
            const Bytes row = jet::slotRow(page, layout, slot);
            if (entry & jet::kOverflowRow)
                plan.pointers.push_back({n, offsetIn(page, row), jet::u32(row, 0)});
            else  // a live row, or the body of an overflowed one
                followLongValues(pages, definition, n, page, row, plan);
        }
    }
    return plan;
}

BigDatabase refused(std::string why) {
    BigDatabase big;
    big.problem = std::move(why);
    return big;
}

void put32(std::string& bytes, std::uint64_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
}

}  // namespace

BigDatabase bigDatabase(const std::string& source, std::uint64_t targetBytes) {
    BigDatabase big;
    MemoryFile file(source);
    const jet::Reading reading =
        jet::read(file, [](std::uint32_t, const std::string& s) { return jet::Text(s.begin(), s.end()); });
    if (!reading.database) return refused(reading.problem);
    const jet::Database& db = *reading.database;
    if (db.encrypted) return refused("the source is encrypted");
    const jet::Pages pages(file, jet::readHeader(file));

    Plan plan;
    for (const jet::Table& table : db.tables) {
        if (!table.user || !table.rows || *table.rows == 0) continue;
        try {
            Plan candidate = planFor(pages, table);
            if (candidate.pages.size() > plan.pages.size()) plan = std::move(candidate);
        } catch (const jet::Damage& damage) {
            big.problem +=
                "table " + std::string(table.name.begin(), table.name.end()) + ": " + damage.reason + "; ";
        }
    }
    if (!plan.table) return refused(big.problem + "no user table with rows to repeat");

    // Copy c (from 0) of the group's page j goes to page base + c * group + j; the map pages follow.
    const std::vector<std::uint64_t> group(plan.pages.begin(), plan.pages.end());
    std::map<std::uint64_t, std::uint64_t> indexOf;
    for (std::uint64_t j = 0; j < group.size(); ++j) indexOf[group[j]] = j;
    const std::uint64_t pageSize = db.pageSize, base = db.pageCount, groupBytes = group.size() * pageSize;
    const std::uint64_t copies =
        targetBytes > source.size() ? (targetBytes - source.size() + groupBytes - 1) / groupBytes : 1;
    const std::uint64_t perMapPage = (pageSize - kMapBitmapAt) * 8;
    const std::uint64_t mapsAt = base + copies * group.size();
    const std::uint64_t mapPages = (mapsAt - 1) / perMapPage + 1;  // the map pages need no bit
    if (1 + 4 * mapPages > plan.mapLength) return refused("too many pages for the table's usage map row");
    if ((mapsAt + mapPages) >> 24) return refused("too many pages for a row pointer");
    auto copyOf = [&](std::uint64_t page, std::uint64_t c) {
        return base + c * group.size() + indexOf.at(page);
    };

    std::string& out = big.bytes;
    out = source;
    out.resize((mapsAt + mapPages) * pageSize, '\0');
    for (std::uint64_t c = 0; c < copies; ++c) {
        for (const std::uint64_t page : group)
            std::memcpy(&out[copyOf(page, c) * pageSize], &source[page * pageSize], pageSize);
        for (const Pointer& pointer : plan.pointers) {
            if (!indexOf.count(pointer.value >> 8)) return refused("a row pointer leaves the table's pages");
            const std::uint64_t to = copyOf(pointer.value >> 8, c);
            put32(out, copyOf(pointer.page, c) * pageSize + pointer.at,
                  static_cast<std::uint32_t>(to << 8 | (pointer.value & 0xFF)));
        }
    }

    // The map row, kind 1: entry i names the map page of pages i * perMapPage and on.
    const std::uint64_t mapRow = plan.mapPage * pageSize + plan.mapAt;
    std::fill_n(&out[mapRow], plan.mapLength, '\0');
    out[mapRow] = 1;
    for (std::uint64_t i = 0; i < mapPages; ++i) {
        put32(out, mapRow + 1 + 4 * i, static_cast<std::uint32_t>(mapsAt + i));
        out[(mapsAt + i) * pageSize] = 0x05;
        out[(mapsAt + i) * pageSize + 1] = 0x01;
    }
    auto mark = [&](std::uint64_t page) {
        const std::uint64_t bit = page % perMapPage;
        out[(mapsAt + page / perMapPage) * pageSize + kMapBitmapAt + bit / 8] |=
            static_cast<char>(1 << bit % 8);
    };
    for (const std::uint64_t page : plan.mapped) {
        mark(page);
        if (indexOf.count(page))
            for (std::uint64_t c = 0; c < copies; ++c) mark(copyOf(page, c));
    }

    const std::uint64_t storedAt = plan.table->definitionPage * pageSize + pages.layout().tdefRows;
    put32(out, storedAt, static_cast<std::uint32_t>(plan.table->storedRows.value_or(0) * (copies + 1)));
    big.table = plan.table->name;
    big.rows = *plan.table->rows;
    big.copies = copies;
    big.problem.clear();
    return big;
}

}  // namespace support
