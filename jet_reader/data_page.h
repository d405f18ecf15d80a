// The row slots of a data page (type 0x01) and rows named by a row pointer (page << 8 | slot).
// A slot's u16 entry holds where its row starts (& 0x1FFF) and two flags; its row ends where the
// previous slot's row starts (slot 0: at the page's end), since rows fill a page from its end.
#pragma once

#include <cstddef>
#include <cstdint>

#include "jet_reader/damage.h"
#include "jet_reader/pages.h"

namespace jet {

// Not a live row: deleted (with kOverflowRow too), or the body of an overflowed row.
inline constexpr std::uint16_t kNotLiveRow = 0x8000;
// The slot holds a row pointer to the row's body, elsewhere.
inline constexpr std::uint16_t kOverflowRow = 0x4000;

// The number of slots; throws Damage when their offset table runs past the page.
std::size_t slotCount(const Page& page, const Layout& layout);

// Slot `i`'s entry, flags and start together; `i` < slotCount.
std::uint16_t slotEntry(const Page& page, const Layout& layout, std::size_t i);

// Slot `i`'s row; throws Damage unless it lies between the offset table and the page's end and
// is not empty. Past damage, a broken entry of the slot before does not end it.
Bytes slotRow(const Page& page, const Layout& layout, std::size_t i, bool pastDamage = false);

// The table definition page a data page belongs to.
std::uint32_t ownerOf(const Page& page);

// Reads the page of row pointer `pointer` into `page` (it must be a data page), and gives that
// row's slot entry and bytes. `what` names the row's page in a reason. Throws Damage.
struct PointedRow {
    std::uint64_t page;
    std::uint16_t entry;
    Bytes bytes;
};
PointedRow readPointedRow(const Pages& pages, std::uint32_t pointer, Page& page, const char* what);

}  // namespace jet
