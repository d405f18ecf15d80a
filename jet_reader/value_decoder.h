// One column's value in one row (docs/jet-format.md sections 8.1-8.4): where it sits (the null
// mask for a boolean, the fixed area, the variable area, LVAL pages), and what its bytes mean.
#pragma once

#include <cstdint>

#include "jet_reader/jet_reader.h"
#include "jet_reader/long_value.h"
#include "jet_reader/row.h"
#include "jet_reader/value.h"

namespace jet {

// Throws Damage unless the reader can decode the column's values: a type it knows (numeric only
// in Jet 4), and a long value (memo, OLE) only in the variable area.
void requireDecodable(const Column& column, const Layout& layout);

class ValueDecoder {
public:
    ValueDecoder(const Pages& pages, std::uint32_t codePage, const CodePageDecoder& decode,
                 LongValueMemo& memo)
        : layout_(pages.layout()), codePage_(codePage), decode_(decode), longValues_(pages, memo) {}

    // The column's value in the row; the column must be decodable. Throws Damage: a value that
    // lies outside the row, a variable value of a fixed-size type that is not of that size, text
    // that ends inside a character, a long value that cannot be read (long_value.h).
    Value decode(const Row& row, const Column& column);

private:
    std::u16string text(Bytes bytes) const;

    const Layout& layout_;
    std::uint32_t codePage_;
    const CodePageDecoder& decode_;
    LongValueReader longValues_;
};

}  // namespace jet
