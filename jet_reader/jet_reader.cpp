#include "jet_reader/jet_reader.h"

#include <unordered_set>

#include "jet_reader/catalog.h"
#include "jet_reader/damage.h"
#include "jet_reader/header.h"
#include "jet_reader/pages.h"
#include "jet_reader/row.h"
#include "jet_reader/table_definition.h"
#include "jet_reader/table_scan.h"
#include "jet_reader/table_values.h"
#include "jet_reader/text.h"

namespace jet {

namespace {

// mdb-tables -1 lists a table unless its Flags hold 0x80000000 (system) or 0x2 (other system).
constexpr std::uint32_t kSystemFlags = 0x80000002;

class TableCounter {
public:
    // With `values`, each table's values too; `decode` and `values` must outlive the counter.
    // With `skips`, the rows are read past damage.
    TableCounter(const Pages& pages, std::uint32_t codePage, const CodePageDecoder& decode,
                 const ValueReading* values, Skips* skips)
        : pages_(pages), codePage_(codePage), decode_(decode), values_(values), skips_(skips),
          decoder_(pages, codePage, decode, longValues_) {}

    Table count(const CatalogEntry& entry) {
        Table table;
        table.name = entry.name;
        table.definitionPage = static_cast<std::uint32_t>(entry.id);
        table.user = (static_cast<std::uint32_t>(entry.flags) & kSystemFlags) == 0;
        table.scanned = entry.scanned;
        const std::uint64_t skippedBefore = skips_ != nullptr ? skips_->pages() + skips_->values() : 0;
        try {
            const std::uint64_t page = static_cast<std::uint32_t>(entry.id);
            pages_.requireInFile(page, "table definition");
            require(definitions_.insert(page).second,
                    "its definition's page is also that of an earlier table");
            const TableDefinition definition = readTableDefinition(pages_, page);
            table.storedRows = definition.storedRows;
            for (const LogicalIndex& index : definition.indexes)
                table.indexes.push_back({nameOf(index.name), index.foreignKey()});
            std::optional<TableValues> values;
            if (values_ != nullptr)
                values.emplace(pages_, definition, table, *values_, decoder_, codePage_, decode_, skips_);
            std::uint64_t rows = 0;
            const auto onRow = [&](Bytes row) {
                requireRowHeader(row, pages_.layout());
                if (values) values->add(row);
                ++rows;
            };
            if (skips_ != nullptr)
                forEachReadableRow(pages_, definition, memo_, *skips_, onRow);
            else
                forEachLiveRow(pages_, definition, memo_, onRow);
            table.rows = rows;
            if (values) values->finish(table);
        } catch (const Damage& damage) {
            table.problem = damage.reason;
            table.problemPage = pages_.lastRead();
            if (skips_ != nullptr) skips_->page(pages_.lastRead());
            if (values_ != nullptr) table.valueProblem = damage.reason;
        }
        if (skips_ != nullptr) table.skipped = skips_->pages() + skips_->values() - skippedBefore;
        return table;
    }

    ScanMemo& memo() { return memo_; }

private:
    // A name in the definition as stored: UCS-2LE (Jet 4), code-page bytes (Jet 3).
    Text nameOf(const std::string& stored) const {
        if (pages_.layout().version != 4) return decode_(codePage_, stored);
        return ucs2Text(Bytes(reinterpret_cast<const std::uint8_t*>(stored.data()), stored.size()));
    }

    const Pages& pages_;
    std::uint32_t codePage_;
    const CodePageDecoder& decode_;
    const ValueReading* values_;
    Skips* skips_;
    ScanMemo memo_;
    LongValueMemo longValues_;
    ValueDecoder decoder_;
    std::unordered_set<std::uint64_t> definitions_;  // definition pages already counted
};

// The tables of a catalog read past damage that its rows no longer list, found by scanning for their
// definitions; the catalog's own among them only when it is lost. A page that looks like the start
// of a definition yet does not read as one (the continuation of one whose first page was lost, a
// page of a table deleted long ago) is no table, and not counted as skipped either.
void addUnlisted(const Pages& pages, ScanMemo& memo, bool catalogLost, std::vector<CatalogEntry>& catalog) {
    std::unordered_set<std::int64_t> listed;
    for (const CatalogEntry& e : catalog)
        if (e.type == kLocalTable) listed.insert(e.id);
    for (const std::uint64_t page : definitionPagesFound(pages, memo)) {
        if ((page == 2 && !catalogLost) || listed.contains(static_cast<std::int64_t>(page))) continue;
        CatalogEntry entry;
        try {
            // The engine's own tables say so in their definitions; Access's other "MSys…" tables do
            // not, and pass for the user's.
            if (readTableDefinition(pages, page).engineTable)
                entry.flags = static_cast<std::int32_t>(0x80000000);
        } catch (const Damage&) {
            continue;
        }
        const std::string number = std::to_string(page);
        entry.name = u"Table_" + Text(number.begin(), number.end());
        entry.type = kLocalTable;
        entry.id = static_cast<std::int32_t>(page);
        entry.scanned = true;
        catalog.push_back(std::move(entry));
    }
}

Reading readWith(platform::ReadOnlyFile& file, const CodePageDecoder& decode, const ValueReading* values) {
    Reading reading;
    const bool pastDamage = values != nullptr && values->pastDamage;
    try {
        const Header header = readHeader(file, pastDamage);
        const Pages pages(file, header);
        std::optional<Skips> skips;
        if (pastDamage) skips.emplace(header.pageCount);
        TableCounter counter(pages, header.codePage, decode, values, skips ? &*skips : nullptr);
        std::vector<CatalogEntry> catalog;
        bool catalogLost = false;
        try {
            catalog = readCatalog(pages, header.codePage, decode, counter.memo(), skips ? &*skips : nullptr);
        } catch (const Damage& damage) {
            reading.problemPage = pages.lastRead();
            if (!skips) fail("the catalog (MSysObjects): " + damage.reason);
            skips->page(pages.lastRead());
            catalogLost = true;
        }
        if (skips && (catalogLost || skips->pages() > 0))
            addUnlisted(pages, counter.memo(), catalogLost, catalog);

        Database database;
        database.version = header.layout->version;
        database.pageSize = header.layout->pageSize;
        database.pageCount = header.pageCount;
        database.codePage = header.codePage;
        database.encrypted = header.databaseKey != 0;
        database.tables.reserve(catalog.size());
        for (const CatalogEntry& entry : catalog)
            if (entry.type == kLocalTable) database.tables.push_back(counter.count(entry));
        database.objects = objectsOf(catalog);
        if (skips) {
            database.catalogLost = catalogLost;
            database.unreadablePages = skips->pages();
            database.unreadableValues = skips->values();
        }
        reading.database = std::move(database);
    } catch (const Damage& damage) {
        reading.problem = "cannot read: " + damage.reason;
    }
    return reading;
}

}  // namespace

Reading read(platform::ReadOnlyFile& file, const CodePageDecoder& decode) {
    return readWith(file, decode, nullptr);
}

Reading read(platform::ReadOnlyFile& file, const CodePageDecoder& decode, const ValueReading& values) {
    return readWith(file, decode, &values);
}

}  // namespace jet
