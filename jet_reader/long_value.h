// Long values, memo and OLE (docs/jet-format.md section 8.4). The column's field is a 12-byte
// header: a u32 whose bits 0-29 are the length and bits 30-31 the kind (0x80...... inline,
// 0x40...... one LVAL row, 0x00...... a chain of them), a row pointer to the (first) LVAL row, 4
// bytes that do not matter; then, inline only, the bytes. LVAL rows lie on data pages that hold
// "LVAL" where other data pages name their table; each row of a chain starts with the pointer to
// the next (0 ends it).
#pragma once

#include <cstdint>
#include <limits>
#include <algorithm>
#include <vector>

#include "jet_reader/damage.h"
#include "jet_reader/pages.h"

namespace jet {

// What one file's long values share: the LVAL rows read so far. A row belongs to one value, so a
// row reached a second time (a chain that loops, two values that share rows) is damage; and so
// however many values point at the same rows, a whole file never costs more LVAL row reads than
// it holds rows.
class LongValueMemo {
public:
    // False when the row (page × 256 + row) was read before. The page must be one of the file's
    // `pages`: a bit for each row a page can hold, made at the first long value, keeps the memory
    // to 32 bytes a page, whatever the file holds.
    bool firstRead(std::uint32_t pointer, std::uint64_t pages) {
        // Jet files end at 2 GiB; a file past 64 GiB is no Jet file, and its far pages count as read.
        if (read_.empty())
            read_.resize(static_cast<std::size_t>(std::min<std::uint64_t>(pages, (1u << 24) - 1) * 256));
        if (pointer >= read_.size() || read_[pointer]) return false;
        read_[pointer] = true;
        return true;
    }

private:
    std::vector<bool> read_;
};

class LongValueReader {
public:
    LongValueReader(const Pages& pages, LongValueMemo& memo) : pages_(pages), memo_(memo) {}

    // The value's bytes, exactly as many as its header says, as Jackcess reads them. Throws
    // Damage: a field shorter than its header, an unknown kind, an inline or one-row value shorter
    // than its length, a chain that ends before it (or loops, or leaves the file), a pointer to
    // anything but a live row of an LVAL page.
    std::vector<std::uint8_t> read(Bytes field);

private:
    Bytes lvalRow(std::uint32_t pointer);

    const Pages& pages_;
    LongValueMemo& memo_;
    Page page_;
    std::uint64_t loaded_ = std::numeric_limits<std::uint64_t>::max();  // the page in page_
};

}  // namespace jet
