// A table's live rows: the data pages its owned-pages usage map lists, and on each the slots
// whose entry lacks 0x8000. An overflowed row (0x4000) counts once, at its slot; its body (a slot
// with 0x8000 elsewhere) is reached through the pointer and skipped by the scan itself.
#pragma once

#include <cstdint>
#include <functional>
#include <unordered_set>
#include <utility>
#include <vector>

#include "jet_reader/damage.h"
#include "jet_reader/pages.h"
#include "jet_reader/table_definition.h"

namespace jet {

// What one file's scans share: the listed pages already found to be no data pages (Jackcess and
// mdbtools skip them too), so that maps listing the same such page cost one read in all.
struct ScanMemo {
    std::unordered_set<std::uint64_t> notData;
    // Read past damage only, made at its first use by one pass over every page: each data page
    // with its owner (owner, page; sorted), and the table definitions no other definition continues.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> owned;
    std::vector<std::uint64_t> definitions;
    bool indexed = false;
};

// What a reading past damage skipped: each page once, and each value.
class Skips {
public:
    explicit Skips(std::uint64_t pageCount) : seen_(static_cast<std::size_t>(pageCount)) {}
    void page(std::uint64_t n) {
        if (n < seen_.size() && !seen_[n]) {
            seen_[n] = true;
            ++pages_;
        }
    }
    void value() { ++values_; }
    std::uint64_t pages() const { return pages_; }
    std::uint64_t values() const { return values_; }

private:
    std::vector<bool> seen_;
    std::uint64_t pages_ = 0;
    std::uint64_t values_ = 0;
};

// Calls `onRow` with each live row's bytes (an overflowed row's body), in map and slot order.
// Throws Damage: a listed data page that another table owns, slots outside their page, an
// overflow pointer that leads nowhere, to a live row, to another table, or round in a loop.
void forEachLiveRow(const Pages& pages, const TableDefinition& table, ScanMemo& memo,
                    const std::function<void(Bytes row)>& onRow);

// The same, past damage: a listed page that cannot be read, is no data page of this table or has
// broken slots is skipped and counted, as is a page with a row that `onRow` or the overflow finds
// broken (the rest of its rows still come). A usage map that cannot be read gives way to the data
// pages that name this table their owner.
void forEachReadableRow(const Pages& pages, const TableDefinition& table, ScanMemo& memo, Skips& skips,
                        const std::function<void(Bytes row)>& onRow);

// Read past damage, when the catalog is lost: the pages of the table definitions found, ascending.
const std::vector<std::uint64_t>& definitionPagesFound(const Pages& pages, ScanMemo& memo);

}  // namespace jet
