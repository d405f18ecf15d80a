// The catalog, MSysObjects, whose definition is always page 2: its rows of Type 1 are the
// database's local tables, each with its name, its definition's page (Id) and its Flags; the
// others are its queries, linked tables, the containers of forms, reports, macros and modules,
// and what those hold.
#pragma once

#include <cstdint>
#include <vector>

#include "jet_reader/jet_reader.h"
#include "jet_reader/pages.h"
#include "jet_reader/table_scan.h"

namespace jet {

struct CatalogEntry {
    Text name;
    std::int16_t type = 0;
    std::int32_t id = 0;  // of a table: the page of its definition
    std::int32_t parentId = 0;
    std::int32_t flags = 0;
};

constexpr std::int16_t kLocalTable = 1;

// Every row that has a name, in the catalog's order. Throws Damage: page 2 no readable table
// definition, its columns Id, ParentId, Name, Type or Flags missing or of another type, its usage
// map or data pages damaged, a row that cannot be decoded, a table's row lacking Id, Name or
// Flags, no row for page 2 itself (every catalog lists itself). With `skips`, its rows are read
// past damage (table_scan.h) and it need not list itself: only its definition and columns must be
// sound.
std::vector<CatalogEntry> readCatalog(const Pages& pages, std::uint32_t codePage,
                                      const CodePageDecoder& decode, ScanMemo& memo, Skips* skips = nullptr);

// The objects beside tables that a user made: queries, linked tables, and the forms, reports,
// macros and modules their containers hold.
std::vector<Object> objectsOf(const std::vector<CatalogEntry>& catalog);

}  // namespace jet
