#include "jet_reader/usage_map.h"

#include <string>

#include "jet_reader/damage.h"
#include "jet_reader/data_page.h"

namespace jet {

namespace {

constexpr std::size_t kMinimumMapRow = 5;
constexpr std::size_t kMapPageBitmapAt = 4;

// Bit k of `bitmap` (LSB first in each byte) set: page first + k is marked.
void forEachSetBit(const Pages& pages, Bytes bitmap, std::uint64_t first,
                   const std::function<void(std::uint64_t)>& onPage) {
    for (std::size_t i = 0; i < bitmap.size(); ++i) {
        if (bitmap[i] == 0) continue;
        for (unsigned bit = 0; bit < 8; ++bit) {
            if ((bitmap[i] & (1u << bit)) == 0) continue;
            const std::uint64_t page = first + i * 8 + bit;
            pages.requireInFile(page, "mapped");
            onPage(page);
        }
    }
}

}  // namespace

void forEachMappedPage(const Pages& pages, std::uint32_t mapRow,
                       const std::function<void(std::uint64_t page)>& onPage) {
    Page rowPage;
    const Bytes row = readPointedRow(pages, mapRow, rowPage, "usage map row").bytes;
    if (row.size() < kMinimumMapRow)
        fail("the usage map row holds " + std::to_string(row.size()) + " bytes, fewer than 5");

    switch (row[0]) {
        case 0:
            forEachSetBit(pages, row.subspan(kMinimumMapRow), u32(row, 1), onPage);
            return;
        case 1: {
            // Entry i names the bitmap page for pages i * (page size - 4) * 8 and on. One whose
            // pages all lie past the end of the file can mark none of them, and is not read.
            const std::uint64_t perMapPage = (pages.layout().pageSize - kMapPageBitmapAt) * 8ULL;
            Page mapPage;
            for (std::size_t i = 0; 1 + 4 * i + 4 <= row.size(); ++i) {
                const std::uint32_t n = u32(row, 1 + 4 * i);
                if (n == 0) continue;
                pages.requireInFile(n, "usage map");
                if (i * perMapPage >= pages.count()) continue;
                pages.read(n, mapPage, kUsageMapPage, "usage map");
                forEachSetBit(pages, Bytes(mapPage).subspan(kMapPageBitmapAt), i * perMapPage, onPage);
            }
            return;
        }
        default:
            fail("a usage map of type " + std::to_string(row[0]) + ", not 0 or 1");
    }
}

}  // namespace jet
