// A row's values (docs/jet-format.md section 5): the column count at its start, fixed
// values after it, the null mask in its last bytes, and before the mask the count and offset
// table of the variable values (Jet 3: one-byte offsets with a jump table every 256 bytes).
#pragma once

#include <cstddef>
#include <optional>

#include "jet_reader/damage.h"
#include "jet_reader/layout.h"
#include "jet_reader/table_definition.h"

namespace jet {

// Throws Damage when the row is too short for its column count and null mask: the one check a
// row must pass to be counted, whatever its table's columns.
void requireRowHeader(Bytes row, const Layout& layout);

class Row {
public:
    // Checks the column count, the null mask and, when the table has variable columns, their
    // offsets (inside the row, not decreasing). Throws Damage.
    Row(Bytes bytes, const Layout& layout, bool hasVariableColumns);

    // The value's bytes, none when it is null. Throws Damage when it lies outside the row.
    std::optional<Bytes> fixed(const Column& column, std::size_t size) const;
    std::optional<Bytes> variable(const Column& column) const;
    // Whether the column's bit in the null mask is 0, or the row was written before the column
    // existed. A boolean's value is this bit: false when null.
    bool isNull(const Column& column) const;

    std::size_t columnCount() const { return columns_; }
    std::size_t variableCount() const { return variables_; }

private:
    std::size_t variableOffset(std::size_t i) const;

    Bytes bytes_;
    const Layout& layout_;
    std::size_t columns_ = 0;
    std::size_t maskAt_ = 0;
    std::size_t variables_ = 0;  // variable values the row holds
    std::size_t tableAt_ = 0;    // where the variable-offset table (and the value area) ends
    std::size_t jumps_ = 0;      // Jet 3: jump bytes laid out before the count
    std::size_t usedJumps_ = 0;  // of them, those that count (the last may be padding)
};

}  // namespace jet
