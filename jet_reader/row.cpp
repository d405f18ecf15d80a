#include "jet_reader/row.h"

#include <string>

namespace jet {

namespace {

std::size_t maskBytes(std::size_t columns) { return (columns + 7) / 8; }

std::size_t columnCount(Bytes row, const Layout& layout) {
    return layout.rowColumnCount == 1 ? u8(row, 0) : u16(row, 0);
}

// The row's column count, once it is known that the count and its null mask fit in the row.
std::size_t checkedColumnCount(Bytes row, const Layout& layout) {
    require(row.size() >= layout.rowColumnCount, "a row is shorter than its column count");
    const std::size_t columns = columnCount(row, layout);
    if (layout.rowColumnCount + maskBytes(columns) > row.size())
        fail("a row of " + std::to_string(row.size()) + " bytes is too short for its " +
             std::to_string(columns) + " columns' null mask");
    return columns;
}

}  // namespace

void requireRowHeader(Bytes row, const Layout& layout) { checkedColumnCount(row, layout); }

Row::Row(Bytes bytes, const Layout& layout, bool hasVariableColumns)
    : bytes_(bytes), layout_(layout), columns_(checkedColumnCount(bytes, layout)),
      maskAt_(bytes.size() - maskBytes(columns_)), tableAt_(maskAt_) {
    const std::size_t header = layout.rowColumnCount;  // also the size of the variable count
    if (!hasVariableColumns) return;

    require(maskAt_ >= 2 * header, "a row is too short for its count of variable values");
    variables_ = header == 1 ? u8(bytes, maskAt_ - 1) : u16(bytes, maskAt_ - 2);
    // Jet 4: entries i = 0..v are u16 at mask - 4 - 2i. Jet 3: bytes at mask - 2 - J - i, after
    // J = (length - 1) / 256 jump bytes at mask - 2 - k; entry i adds 256 for each jump <= i.
    jumps_ = header == 1 ? (bytes.size() - 1) / 256 : 0;
    const std::size_t below = header * (2 + variables_) + jumps_;  // count, offsets, jumps
    if (below + header > maskAt_)
        fail("a row of " + std::to_string(bytes.size()) + " bytes is too short for its " +
             std::to_string(variables_) + " variable values' offsets");
    tableAt_ = maskAt_ - below;
    // The last jump byte is padding when the bytes before the offsets fall short of its 256.
    usedJumps_ = jumps_ > 0 && tableAt_ < 256 * jumps_ ? jumps_ - 1 : jumps_;

    for (std::size_t i = 0; i <= variables_; ++i) {
        const std::size_t offset = variableOffset(i);
        const bool inside = offset >= header && offset <= tableAt_;
        if (!inside || (i > 0 && offset < variableOffset(i - 1)))
            fail("a row's variable offset " + std::to_string(i) + " (" + std::to_string(offset) +
                 ") lies outside the row or before the previous one");
    }
}

std::size_t Row::variableOffset(std::size_t i) const {
    if (layout_.rowColumnCount == 2) return u16(bytes_, maskAt_ - 4 - 2 * i);
    std::size_t offset = u8(bytes_, maskAt_ - 2 - jumps_ - i);
    for (std::size_t k = 0; k < usedJumps_; ++k)
        if (u8(bytes_, maskAt_ - 2 - k) <= i) offset += 256;
    return offset;
}

bool Row::isNull(const Column& column) const {
    if (column.number >= columns_) return true;  // added after the row was written
    return (bytes_[maskAt_ + column.number / 8] & (1u << (column.number % 8))) == 0;
}

std::optional<Bytes> Row::fixed(const Column& column, std::size_t size) const {
    if (isNull(column)) return std::nullopt;
    const std::size_t at = layout_.rowColumnCount + column.fixedOffset;
    if (at + size > tableAt_) fail("a row's fixed value at " + std::to_string(at) + " lies outside its row");
    return bytes_.subspan(at, size);
}

std::optional<Bytes> Row::variable(const Column& column) const {
    if (isNull(column) || column.varIndex >= variables_) return std::nullopt;
    const std::size_t from = variableOffset(column.varIndex);
    return bytes_.subspan(from, variableOffset(column.varIndex + 1u) - from);
}

}  // namespace jet
