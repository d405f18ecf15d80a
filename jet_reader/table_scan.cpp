#include "jet_reader/table_scan.h"

#include <algorithm>
#include <limits>
#include <string>

#include "jet_reader/data_page.h"
#include "jet_reader/usage_map.h"

namespace jet {

namespace {

// Access moves a row once; a body that was itself moved on (0xC000) is one more hop. More than
// this many is taken for a loop. Each hop may cost a page read, so the cap also bounds the reads
// a hostile table can ask for: at most this many per slot.
constexpr int kMaxOverflowHops = 4;

void requireOwner(const Page& page, std::uint64_t n, const TableDefinition& table) {
    if (ownerOf(page) != table.page)
        fail("data page " + std::to_string(n) + " belongs to the table defined at page " +
             std::to_string(ownerOf(page)) + ", not " + std::to_string(table.page));
}

// Reads overflow pages into `page`; `loaded` remembers which one it holds.
class OverflowReader {
public:
    OverflowReader(const Pages& pages, const TableDefinition& table) : pages_(pages), table_(table) {}

    Bytes body(Bytes pointerRow) {
        for (int hop = 0; hop < kMaxOverflowHops; ++hop) {
            require(pointerRow.size() >= 4, "an overflowed row's pointer is shorter than 4 bytes");
            const std::uint32_t pointer = u32(pointerRow, 0);
            const std::uint64_t n = pointer >> 8;
            if (n != loaded_) {
                loaded_ = std::numeric_limits<std::uint64_t>::max();
                pages_.read(n, page_, kDataPage, "overflow");
                requireOwner(page_, n, table_);
                loaded_ = n;
            }
            const std::size_t slot = pointer & 0xFF;
            if (slot >= slotCount(page_, pages_.layout()))
                fail("an overflowed row points at slot " + std::to_string(slot) + " of page " +
                     std::to_string(n) + ", which it lacks");
            const std::uint16_t entry = slotEntry(page_, pages_.layout(), slot);
            require((entry & kNotLiveRow) != 0, "an overflowed row points at a live row");
            pointerRow = slotRow(page_, pages_.layout(), slot);
            if ((entry & kOverflowRow) == 0) return pointerRow;
        }
        fail("an overflowed row's pointers go on for more than " + std::to_string(kMaxOverflowHops) +
             " hops");
    }

private:
    const Pages& pages_;
    const TableDefinition& table_;
    Page page_;
    std::uint64_t loaded_ = std::numeric_limits<std::uint64_t>::max();
};

// One pass over every page: what ScanMemo keeps for reading past damage.
void indexPages(const Pages& pages, ScanMemo& memo) {
    if (memo.indexed) return;
    memo.indexed = true;
    std::vector<std::uint64_t> definitions;
    std::unordered_set<std::uint64_t> continued;
    Page page;
    for (std::uint64_t n = 1; n < pages.count(); ++n) {
        try {
            pages.read(n, page, "scanned");
            if (page[0] == kDataPage) memo.owned.emplace_back(ownerOf(page), static_cast<std::uint32_t>(n));
            if (page[0] != kDefinitionPage) continue;
            definitions.push_back(n);
            if (const std::uint32_t next = u32(page, 4); next != 0) continued.insert(next);
        } catch (const Damage&) {}
    }
    for (const std::uint64_t n : definitions)
        if (!continued.contains(n)) memo.definitions.push_back(n);
    std::sort(memo.owned.begin(), memo.owned.end());
}

// The pages the usage map lists, or, when it cannot be read, those that name the table their owner.
std::vector<std::uint64_t> pagesOf(const Pages& pages, const TableDefinition& table, ScanMemo& memo) {
    std::vector<std::uint64_t> listed;
    try {
        forEachMappedPage(pages, table.ownedPages, [&](std::uint64_t n) { listed.push_back(n); });
        return listed;
    } catch (const Damage&) {}
    indexPages(pages, memo);
    listed.clear();
    const auto owner = static_cast<std::uint32_t>(table.page);
    for (auto at = std::lower_bound(memo.owned.begin(), memo.owned.end(), std::make_pair(owner, 0u));
         at != memo.owned.end() && at->first == owner; ++at)
        listed.push_back(at->second);
    return listed;
}

}  // namespace

const std::vector<std::uint64_t>& definitionPagesFound(const Pages& pages, ScanMemo& memo) {
    indexPages(pages, memo);
    return memo.definitions;
}

void forEachReadableRow(const Pages& pages, const TableDefinition& table, ScanMemo& memo, Skips& skips,
                        const std::function<void(Bytes row)>& onRow) {
    const Layout& layout = pages.layout();
    Page data;
    OverflowReader overflow(pages, table);
    for (const std::uint64_t n : pagesOf(pages, table, memo)) {
        std::size_t slots = 0;
        try {
            pages.read(n, data, kDataPage, "data");
            requireOwner(data, n, table);
            slots = slotCount(data, layout);
        } catch (const Damage&) {
            skips.page(n);
            continue;
        }
        for (std::size_t i = 0; i < slots; ++i) {
            const std::uint16_t entry = slotEntry(data, layout, i);
            if ((entry & kNotLiveRow) != 0) continue;
            try {
                const Bytes row = slotRow(data, layout, i, true);
                onRow((entry & kOverflowRow) != 0 ? overflow.body(row) : row);
            } catch (const Damage&) {
                skips.page(n);
            }
        }
    }
}

void forEachLiveRow(const Pages& pages, const TableDefinition& table, ScanMemo& memo,
                    const std::function<void(Bytes row)>& onRow) {
    const Layout& layout = pages.layout();
    Page data;
    OverflowReader overflow(pages, table);
    forEachMappedPage(pages, table.ownedPages, [&](std::uint64_t n) {
        if (memo.notData.contains(n)) return;
        pages.read(n, data, "data");
        if (data[0] != kDataPage) {
            memo.notData.insert(n);
            return;
        }
        requireOwner(data, n, table);
        const std::size_t slots = slotCount(data, layout);
        for (std::size_t i = 0; i < slots; ++i) {
            const std::uint16_t entry = slotEntry(data, layout, i);
            if ((entry & kNotLiveRow) != 0) continue;
            const Bytes row = slotRow(data, layout, i);
            onRow((entry & kOverflowRow) != 0 ? overflow.body(row) : row);
        }
    });
}

}  // namespace jet
