// What no test database holds: a Jet 3 row with a real jump in its variable offsets, and Jet 4
// compressed text that switches to UCS-2 pairs and back.
#include "support/text_printer.h"

#include "jet_reader/row.h"
#include "jet_reader/text.h"
#include "tests/jet_reader/support.h"

namespace {

// A Jet 3 row of `length` bytes with two variable values, [1, second) and [second, end), both
// non-null: its offsets table, one jump byte (length > 256), the count 2 and the null mask.
jettest::Bytes jet3Row(std::size_t length, std::size_t second, std::size_t end, std::uint8_t jump) {
    jettest::Bytes row(length, 'v');
    row[0] = 2;              // columns
    row[length - 1] = 0x03;  // null mask: both have values
    row[length - 2] = 2;     // variable values
    row[length - 3] = jump;  // the one jump byte
    row[length - 4] = 1;     // offsets 0, 1, 2, low bytes
    row[length - 5] = static_cast<std::uint8_t>(second);
    row[length - 6] = static_cast<std::uint8_t>(end);
    return row;
}

TEST(JetReader, FindsJet3VariableValuesPastAJump) {
    jet::Column first, second;
    second.number = second.varIndex = 1;
    struct Case {
        std::size_t length, second, end;
        std::uint8_t jump;  // the first entry at 256 or beyond; padding, whatever it holds,
    };                      // when the bytes before the offsets are fewer than 256
    for (const Case& c : {Case{300, 200, 294, 2}, Case{300, 280, 294, 1}, Case{260, 100, 254, 0}}) {
        SCOPED_TRACE(std::to_string(c.length) + " bytes, values from " + std::to_string(c.second));
        const jettest::Bytes bytes = jet3Row(c.length, c.second, c.end, c.jump);
        const jet::Row row(bytes, jet::kJet3, true);
        EXPECT_EQ(row.variable(first)->size(), c.second - 1);
        EXPECT_EQ(row.variable(second)->size(), c.end - c.second);
    }
}

TEST(JetReader, DecodesJet4Text) {
    const std::pair<jettest::Bytes, platform::Text> cases[] = {
        {{0xFF, 0xFE, 0x61, 0x62, 0x00, 0x42, 0x30, 0x00, 0x63}, u"ab\u3042c"},
        {{0xFF, 0xFE, 0x00, 0x42, 0x30}, u"\u3042"},
        {{0x41, 0x00, 0x00, 0x00, 0x42, 0x30}, std::u16string(u"A\0\u3042", 3)},
        {{0xFF, 0xFE}, u""},
    };
    for (const auto& [bytes, text] : cases) {
        SCOPED_TRACE(jettest::utf8(text));
        EXPECT_EQ(jet::jet4Text(bytes), text);
    }
    EXPECT_THROW(jet::jet4Text(jettest::Bytes{0xFF, 0xFE, 0x00, 0x42}), jet::Damage);
}

}  // namespace
