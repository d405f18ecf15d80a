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
constexpr std::int16_t kContainer = 3;
constexpr std::int16_t kOdbcLinkedTable = 4;
constexpr std::int16_t kQuery = 5;
constexpr std::int16_t kLinkedTable = 6;

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

std::vector<CatalogEntry> readCatalog(const Pages& pages, std::uint32_t codePage,
                                      const CodePageDecoder& decode, ScanMemo& memo, Skips* skips) {
    const Layout& layout = pages.layout();
    const TableDefinition catalog = readTableDefinition(pages, kCatalogPage);
    const Column& id = findColumn(catalog, kId, layout);
    const Column& parentId = findColumn(catalog, kParentId, layout);
    const Column& name = findColumn(catalog, kName, layout);
    const Column& type = findColumn(catalog, kType, layout);
    const Column& flags = findColumn(catalog, kFlags, layout);

    std::vector<CatalogEntry> entries;
    const auto onRow = [&](Bytes bytes) {
        const Row row(bytes, layout, catalog.variableColumns > 0);
        const auto typeValue = row.fixed(type, 2);
        const auto idValue = row.fixed(id, 4);
        const auto nameValue = row.variable(name);
        const auto flagsValue = row.fixed(flags, 4);
        const auto parentValue = row.fixed(parentId, 4);
        if (!typeValue) return;
        CatalogEntry entry;
        entry.type = static_cast<std::int16_t>(u16(*typeValue, 0));
        if (entry.type == kLocalTable)
            require(idValue && nameValue && flagsValue, "a table's row lacks its Id, Name or Flags");
        if (!nameValue) return;
        entry.id = idValue ? int32(*idValue) : 0;
        entry.parentId = parentValue ? int32(*parentValue) : 0;
        entry.flags = flagsValue ? int32(*flagsValue) : 0;
        entry.name = layout.version == 4
                         ? jet4Text(*nameValue)
                         : decode(codePage, std::string(nameValue->begin(), nameValue->end()));
        entries.push_back(std::move(entry));
    };
    if (skips != nullptr) {
        forEachReadableRow(pages, catalog, memo, *skips, onRow);
        return entries;
    }
    forEachLiveRow(pages, catalog, memo, onRow);
    // A catalog that does not list itself is no catalog: every database's does.
    require(std::any_of(entries.begin(), entries.end(),
                        [](const CatalogEntry& e) { return e.type == kLocalTable && e.id == kCatalogPage; }),
            "it does not list itself");
    return entries;
}

std::vector<Object> objectsOf(const std::vector<CatalogEntry>& catalog) {
    // Forms, reports, macros and modules are known by the container that holds them, whatever
    // their own Type says.
    const std::pair<const char16_t*, ObjectKind> containers[] = {{u"Forms", ObjectKind::Form},
                                                                 {u"Reports", ObjectKind::Report},
                                                                 {u"Scripts", ObjectKind::Macro},
                                                                 {u"Modules", ObjectKind::Module}};
    std::vector<std::pair<std::int32_t, ObjectKind>> held;
    for (const CatalogEntry& e : catalog)
        for (const auto& [name, kind] : containers)
            if (e.type == kContainer && e.name == name) held.emplace_back(e.id, kind);

    std::vector<Object> objects;
    for (const CatalogEntry& e : catalog) {
        if (e.type == kQuery) objects.push_back({ObjectKind::Query, e.name});
        if (e.type == kLinkedTable || e.type == kOdbcLinkedTable)
            objects.push_back({ObjectKind::LinkedTable, e.name});
        if (e.type == kContainer) continue;
        for (const auto& [id, kind] : held)
            if (e.parentId == id) objects.push_back({kind, e.name});
    }
    return objects;
}

}  // namespace jet
