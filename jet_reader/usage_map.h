// A usage map: the pages a table owns. The map is a row (named by a row pointer in the table's
// definition) whose first byte is its type: 0 = inline (u32 first page, then a bitmap), 1 =
// reference (u32 numbers of bitmap pages of type 0x05, each covering (page size - 4) * 8 pages).
#pragma once

#include <cstdint>
#include <functional>

#include "jet_reader/pages.h"

namespace jet {

// Calls `onPage` with each page the map marks, in ascending order. Throws Damage: a map row that
// cannot be read or is shorter than 5 bytes, a type other than 0 or 1, a map page of the wrong
// type, a marked page past the end of the file.
void forEachMappedPage(const Pages& pages, std::uint32_t mapRow,
                       const std::function<void(std::uint64_t page)>& onPage);

}  // namespace jet
