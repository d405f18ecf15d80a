#include "jet_reader/long_value.h"

#include <algorithm>
#include <string>

#include "jet_reader/data_page.h"

namespace jet {

namespace {

constexpr std::size_t kHeader = 12;
constexpr std::uint32_t kLengthMask = 0x3FFFFFFF;
constexpr std::uint32_t kInline = 0x80000000;
constexpr std::uint32_t kOneRow = 0x40000000;
constexpr std::uint32_t kChain = 0x00000000;
// Where other data pages name their table, LVAL pages hold "LVAL": read as the owner, this.
constexpr std::uint32_t kLvalMark = 'L' | 'V' << 8 | 'A' << 16 | static_cast<std::uint32_t>('L') << 24;
constexpr std::size_t kNextAt = 0;  // in a chain's row: the next row's pointer, then the bytes
constexpr std::size_t kChunkAt = 4;

std::string where(std::uint32_t pointer) {
    return "page " + std::to_string(pointer >> 8) + " row " + std::to_string(pointer & 0xFF);
}

void requireLength(std::size_t found, std::uint32_t length, const char* what) {
    if (found < length)
        fail(std::string(what) + " holds " + std::to_string(found) + " bytes of a long value of " +
             std::to_string(length));
}

void append(std::vector<std::uint8_t>& value, Bytes bytes) {
    value.insert(value.end(), bytes.begin(), bytes.end());
}

}  // namespace

Bytes LongValueReader::lvalRow(std::uint32_t pointer) {
    const std::uint64_t n = pointer >> 8;
    pages_.requireInFile(n, "long value");
    if (!memo_.firstRead(pointer, pages_.count()))
        fail("the long value row at " + where(pointer) +
             " is reached a second time: a chain loops, or two values share it");
    if (n != loaded_) {
        loaded_ = std::numeric_limits<std::uint64_t>::max();
        pages_.read(n, page_, kDataPage, "long value");
        if (ownerOf(page_) != kLvalMark)
            fail("long value page " + std::to_string(n) + " is a data page without the mark LVAL");
        loaded_ = n;
    }
    const std::size_t slot = pointer & 0xFF;
    if (slot >= slotCount(page_, pages_.layout()))
        fail("a long value points at " + where(pointer) + ", which is no row");
    if ((slotEntry(page_, pages_.layout(), slot) & (kNotLiveRow | kOverflowRow)) != 0)
        fail("a long value points at " + where(pointer) + ", a deleted or moved row");
    return slotRow(page_, pages_.layout(), slot);
}

std::vector<std::uint8_t> LongValueReader::read(Bytes field) {
    require(field.size() >= kHeader, "a long value's field is shorter than its 12-byte header");
    const std::uint32_t word = u32(field, 0);
    const std::uint32_t length = word & kLengthMask;
    const std::uint32_t pointer = u32(field, 4);
    std::vector<std::uint8_t> value;
    switch (word & ~kLengthMask) {
        case kInline:
            requireLength(field.size() - kHeader, length, "an inline field");
            append(value, field.subspan(kHeader, length));
            return value;
        case kOneRow: {
            const Bytes row = lvalRow(pointer);
            requireLength(row.size(), length, "its LVAL row");
            append(value, row.first(length));
            return value;
        }
        case kChain:
            // The bytes of each row after its pointer, up to the length; never reserved ahead,
            // since the length is only what the header claims.
            for (std::uint32_t next = pointer; value.size() < length;) {
                if (next == 0) requireLength(value.size(), length, "its chain of LVAL rows");
                const Bytes row = lvalRow(next);
                require(row.size() >= kChunkAt, "a row of a long value's chain is shorter than its pointer");
                next = u32(row, kNextAt);
                append(value, row.subspan(kChunkAt, std::min<std::size_t>(row.size() - kChunkAt,
                                                                          length - value.size())));
            }
            return value;
        default:
            fail("a long value of kind " + hex(word >> 24 & 0xC0) + ", not inline, one row or a chain");
    }
}

}  // namespace jet
