#include "jet_reader/data_page.h"

#include <string>

namespace jet {

namespace {

constexpr std::uint16_t kStartMask = 0x1FFF;
constexpr std::size_t kOwnerAt = 4;

}  // namespace

std::size_t slotCount(const Page& page, const Layout& layout) {
    const std::size_t count = u16(page, layout.pageRowCount);
    if (layout.pageRowTable + 2 * count > page.size())
        fail("a data page's " + std::to_string(count) + " row slots run past the page");
    return count;
}

std::uint16_t slotEntry(const Page& page, const Layout& layout, std::size_t i) {
    return u16(page, layout.pageRowTable + 2 * i);
}

Bytes slotRow(const Page& page, const Layout& layout, std::size_t i, bool pastDamage) {
    const std::size_t tableEnd = layout.pageRowTable + 2 * slotCount(page, layout);
    const std::size_t start = slotEntry(page, layout, i) & kStartMask;
    std::size_t end = i == 0 ? page.size() : slotEntry(page, layout, i - 1) & kStartMask;
    // Past damage, a broken entry before this one need not cost this row too: it ends where the
    // nearest row above it starts, or at the page's end.
    if (pastDamage && (end <= start || end > page.size())) {
        end = page.size();
        for (std::size_t j = 0; j < i; ++j)
            if (const std::size_t above = slotEntry(page, layout, j) & kStartMask;
                above > start && above < end)
                end = above;
    }
    if (start < tableEnd || start >= end || end > page.size())
        fail("row slot " + std::to_string(i) + " spans bytes " + std::to_string(start) + " to " +
             std::to_string(end) + ", outside its page");
    return Bytes(page).subspan(start, end - start);
}

std::uint32_t ownerOf(const Page& page) { return u32(page, kOwnerAt); }

PointedRow readPointedRow(const Pages& pages, std::uint32_t pointer, Page& page, const char* what) {
    const std::uint64_t n = pointer >> 8;
    const std::size_t slot = pointer & 0xFF;
    pages.read(n, page, kDataPage, what);
    if (slot >= slotCount(page, pages.layout()))
        fail(std::string(what) + " page " + std::to_string(n) + " has no row slot " + std::to_string(slot));
    return {n, slotEntry(page, pages.layout(), slot), slotRow(page, pages.layout(), slot)};
}

}  // namespace jet
