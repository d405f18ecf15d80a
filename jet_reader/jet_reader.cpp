#include "jet_reader/jet_reader.h"

#include <unordered_set>

#include "jet_reader/catalog.h"
#include "jet_reader/damage.h"
#include "jet_reader/header.h"
#include "jet_reader/pages.h"
#include "jet_reader/row.h"
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
    TableCounter(const Pages& pages, std::uint32_t codePage, const CodePageDecoder& decode,
                 const ValueReading* values)
        : pages_(pages), codePage_(codePage), decode_(decode), values_(values),
          decoder_(pages, codePage, decode, longValues_) {}

    Table count(const CatalogEntry& entry) {
        Table table;
        table.name = entry.name;
        table.definitionPage = static_cast<std::uint32_t>(entry.id);
        table.user = (static_cast<std::uint32_t>(entry.flags) & kSystemFlags) == 0;
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
                values.emplace(pages_, definition, table, *values_, decoder_, codePage_, decode_);
            std::uint64_t rows = 0;
            forEachLiveRow(pages_, definition, memo_, [&](Bytes row) {
                requireRowHeader(row, pages_.layout());
                ++rows;
                if (values) values->add(row);
            });
            table.rows = rows;
            if (values) values->finish(table);
        } catch (const Damage& damage) {
            table.problem = damage.reason;
            table.problemPage = pages_.lastRead();
            if (values_ != nullptr) table.valueProblem = damage.reason;
        }
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
    ScanMemo memo_;
    LongValueMemo longValues_;
    ValueDecoder decoder_;
    std::unordered_set<std::uint64_t> definitions_;  // definition pages already counted
};

Reading readWith(platform::ReadOnlyFile& file, const CodePageDecoder& decode, const ValueReading* values) {
    Reading reading;
    try {
        const Header header = readHeader(file);
        const Pages pages(file, header);
        TableCounter counter(pages, header.codePage, decode, values);
        std::vector<CatalogEntry> catalog;
        try {
            catalog = readCatalog(pages, header.codePage, decode, counter.memo());
        } catch (const Damage& damage) {
            reading.problemPage = pages.lastRead();
            fail("the catalog (MSysObjects): " + damage.reason);
        }

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
