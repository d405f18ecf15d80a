// Where Jet 3 and Jet 4 keep the fields the reader uses (docs/jet-format.md, sections 1-5).
#pragma once

#include <cstddef>
#include <cstdint>

namespace jet {

struct Layout {
    int version;  // 3 or 4
    std::uint32_t pageSize;
    std::size_t maskedLength;  // header bytes under the RC4 mask, from 0x18

    // Data page.
    std::size_t pageRowCount;  // u16
    std::size_t pageRowTable;  // u16 offset entries from here

    // Table definition (offsets into the joined bytes).
    std::size_t tdefRows;             // u32, what mdb-count prints
    std::size_t tdefVariableColumns;  // u16
    std::size_t tdefColumns;          // u16
    std::size_t tdefLogicalIndexes;   // u32
    std::size_t tdefRealIndexes;      // u32
    std::size_t tdefOwnedPages;       // u32 row pointer to the owned-pages usage map
    std::size_t tdefIndexEntries;     // real-index entries start here
    std::size_t realIndexEntry;       // bytes of each

    // Column descriptor.
    std::size_t column;             // bytes of each
    std::size_t columnNumber;       // u16
    std::size_t columnVarIndex;     // u16
    std::size_t columnFlags;        // u8
    std::size_t columnFixedOffset;  // u16
    std::size_t nameLength;         // bytes of a column name's length (u8 / u16)

    // Row.
    std::size_t rowColumnCount;  // bytes of the row's column count (and of its var count)
};

inline constexpr Layout kJet3{3, 2048, 126, 8, 10, 12, 23, 25, 27, 31, 35, 43, 8, 18, 1, 3, 13, 14, 1, 1};
inline constexpr Layout kJet4{4, 4096, 128, 12, 14, 16, 43, 45, 47, 51, 55, 63, 12, 25, 5, 7, 15, 21, 2, 2};

// Page types (byte 0 of a page).
inline constexpr std::uint8_t kDataPage = 0x01;
inline constexpr std::uint8_t kDefinitionPage = 0x02;
inline constexpr std::uint8_t kUsageMapPage = 0x05;

}  // namespace jet
