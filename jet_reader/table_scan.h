// A table's live rows: the data pages its owned-pages usage map lists, and on each the slots
// whose entry lacks 0x8000. An overflowed row (0x4000) counts once, at its slot; its body (a slot
// with 0x8000 elsewhere) is reached through the pointer and skipped by the scan itself.
#pragma once

#include <cstdint>
#include <functional>
#include <unordered_set>

#include "jet_reader/damage.h"
#include "jet_reader/pages.h"
#include "jet_reader/table_definition.h"

namespace jet {

// What one file's scans share: the listed pages already found to be no data pages (Jackcess and
// mdbtools skip them too), so that maps listing the same such page cost one read in all.
struct ScanMemo {
    std::unordered_set<std::uint64_t> notData;
};

// Calls `onRow` with each live row's bytes (an overflowed row's body), in map and slot order.
// Throws Damage: a listed data page that another table owns, slots outside their page, an
// overflow pointer that leads nowhere, to a live row, to another table, or round in a loop.
void forEachLiveRow(const Pages& pages, const TableDefinition& table, ScanMemo& memo,
                    const std::function<void(Bytes row)>& onRow);

}  // namespace jet
