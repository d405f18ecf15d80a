// Values as the CSV files show them: each type's form, quoting, and names made file names.
#include "support/text_printer.h"

#include "main_window/csv_text.h"

namespace {

jet::Numeric numeric(bool negative, std::array<std::uint32_t, 4> magnitude, std::uint8_t scale) {
    return jet::Numeric{negative, magnitude, scale};
}

TEST(CsvText, EachValueInItsForm) {
    jet::Guid guid;
    for (std::uint8_t i = 0; i < 16; ++i) guid.bytes[i] = static_cast<std::uint8_t>(0x10 + i);
    const struct {
        jet::Value value;
        std::string field;
    } rows[] = {
        {std::monostate{}, ""},
        {std::u16string(), "\"\""},
        {std::u16string(u"007"), "\"007\""},
        {std::u16string(u"a,\"b\"\r\nc"), "\"a,\"\"b\"\"\r\nc\""},
        {std::u16string(u"顧客😀"), "\"顧客😀\""},
        {std::u16string(u"\xD83D"), "\"\xEF\xBF\xBD\""},  // a lone surrogate
        {true, "True"},
        {false, "False"},
        {std::uint8_t{255}, "255"},
        {std::int16_t{-32768}, "-32768"},
        {std::int32_t{2147483647}, "2147483647"},
        {jet::Money{-12345678}, "-1234.5678"},
        {jet::Money{5}, "0.0005"},
        {0.1f, "0.1"},
        {1.0 / 3, "0.3333333333333333"},
        {1e-300, "1e-300"},
        {jet::DateTime{0}, "1899/12/30"},
        {jet::DateTime{36526.5}, "2000/01/01 12:00:00"},
        {jet::DateTime{-1.25}, "1899/12/29 06:00:00"},
        {jet::DateTime{1.999999}, "1900/01/01"},  // 23:59:59.9 rounds to the next midnight
        {jet::DateTime{45000.000011574}, "2023/03/15 00:00:01"},
        {guid, "{13121110-1514-1716-1819-1A1B1C1D1E1F}"},
        {numeric(false, {0, 0, 0, 15}, 1), "1.5"},
        {numeric(true, {0, 0, 0, 123456}, 4), "-12.3456"},
        {numeric(true, {0, 0, 0, 0}, 2), "0.00"},
        {numeric(false, {0, 1, 0, 0}, 0), "18446744073709551616"},
        {jet::Binary{0x00, 0xAB, 0x0F}, "0x00AB0F"},
        {jet::Binary{}, "0x"},
    };
    for (const auto& row : rows) EXPECT_EQ(frmMain::csvField(row.value), row.field) << row.field;
}

TEST(CsvText, LinesHeadersAndFileNames) {
    const std::vector<jet::NamedValue> row = {{u"id", jet::kLong, std::int32_t{7}},
                                              {u"名前", jet::kText, std::u16string(u"x")},
                                              {u"メモ", jet::kMemo, std::monostate{}}};
    EXPECT_EQ(frmMain::csvLine(row), "7,\"x\",\r\n");
    EXPECT_EQ(frmMain::csvHeader({u"id", u"a,b", u"名前"}), "id,\"a,b\",名前\r\n");
    EXPECT_EQ(frmMain::csvFileName(u"a\\b/c:d*e?f\"g<h>i|j\tk"), u"a_b_c_d_e_f_g_h_i_j_k.csv");
    EXPECT_EQ(frmMain::csvFileName(u"顧客"), u"顧客.csv");
}

}  // namespace
