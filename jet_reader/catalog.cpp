#include "jet_reader/catalog.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "jet_reader/row.h"
#include "jet_reader/text.h"
#include "jet_reader/value.h"

namespace jet {

namespace {

constexpr std::int32_t kCatalogPage = 2;  // also its Id in its own rows
constexpr std::int16_t kLocalTable = 1;

// A stored column name against an ASCII one: bytes in Jet 3, UCS-2LE in Jet 4.
bool isNamed(const Column& column, std::string_view ascii, const Layout& layout) {
    std::string stored;
    for (char c : ascii) {
        stored += c;
        if (layout.version == 4) stored += '\0';
    }
    return column.name == stored;
}

struct Expected {
    std::string_view name;
    std::uint8_t type;
    bool fixedLength;
};

constexpr Expected kId{"Id", kLong, true};
constexpr Expected kParentId{"ParentId", kLong, true};
constexpr Expected kName{"Name", kText, false};
constexpr Expected kType{"Type", kInteger, true};
constexpr Expected kFlags{"Flags", kLong, true};

std::string kind(std::uint8_t type, bool fixedLength) {
    return "of type " + hex(type) + (fixedLength ? " (fixed length)" : " (variable length)");
}

const Column& findColumn(const TableDefinition& table, const Expected& expected, const Layout& layout) {
    for (const Column& c : table.columns) {
        if (!isNamed(c, expected.name, layout)) continue;
        if (c.type != expected.type || c.fixedLength() != expected.fixedLength)
            fail("its column " + std::string(expected.name) + " is " + kind(c.type, c.fixedLength()) +
                 ", not " + kind(expected.type, expected.fixedLength));
        return c;
    }
    fail("it has no column " + std::string(expected.name));
}

std::int32_t int32(Bytes b) { return static_cast<std::int32_t>(u32(b, 0)); }

}  // namespace

std::vector<CatalogTable> readCatalog(const Pages& pages, std::uint32_t codePage,
                                      const CodePageDecoder& decode, ScanMemo& memo) {
    const Layout& layout = pages.layout();
    const TableDefinition catalog = readTableDefinition(pages, kCatalogPage);
    const Column& id = findColumn(catalog, kId, layout);
    findColumn(catalog, kParentId, layout);
    const Column& name = findColumn(catalog, kName, layout);
    const Column& type = findColumn(catalog, kType, layout);
    const Column& flags = findColumn(catalog, kFlags, layout);

    std::vector<CatalogTable> tables;
    forEachLiveRow(pages, catalog, memo, [&](Bytes bytes) {
        const Row row(bytes, layout, catalog.variableColumns > 0);
        const auto typeValue = row.fixed(type, 2);
        if (!typeValue || static_cast<std::int16_t>(u16(*typeValue, 0)) != kLocalTable) return;
        const auto idValue = row.fixed(id, 4);
        const auto nameValue = row.variable(name);
        const auto flagsValue = row.fixed(flags, 4);
        require(idValue && nameValue && flagsValue, "a table's row lacks its Id, Name or Flags");

        CatalogTable table;
        table.id = int32(*idValue);
        table.flags = int32(*flagsValue);
        table.name = layout.version == 4
                         ? jet4Text(*nameValue)
                         : decode(codePage, std::string(nameValue->begin(), nameValue->end()));
        tables.push_back(std::move(table));
    });
    // A catalog that does not list itself is no catalog: every database's does.
    require(
        std::any_of(tables.begin(), tables.end(), [](const CatalogTable& t) { return t.id == kCatalogPage; }),
        "it does not list itself");
    return tables;
}

}  // namespace jet
