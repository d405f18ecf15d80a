// What the tests lean on where a fault would hide others: how a failure prints Text, and the reads
// of a file in memory.
#include "support/text_printer.h"

#include <tuple>

#include "support/memory_file.h"

namespace {

TEST(TextPrinter, ShowsTextAsUtf8AndEscapesWhatCannotBeSeen) {
    const std::pair<std::u16string, std::string> rows[] = {
        {u"終了しました。", "u\"終了しました。\""},
        {u"C:\\a \"b\"\r\n\t", "u\"C:\\\\a \\\"b\\\"\\r\\n\\t\""},
        {std::u16string(u"a\0\x1B\x7F", 4), "u\"a\\0\\u001B\\u007F\""},
        {u"𠮷野家", "u\"𠮷野家\""},
        {u"\xD800x\xDC00 \xD83D", "u\"\\uD800x\\uDC00 \\uD83D\""},  // unpaired surrogates
    };
    for (const auto& [text, printed] : rows) EXPECT_EQ(testing::PrintToString(text), printed);
    // Inside containers and pairs, and a literal compared with a Text, too.
    EXPECT_EQ(testing::PrintToString(std::vector<std::pair<std::u16string, int>>{{u"あ", 1}}),
              "{ (u\"あ\", 1) }");
    EXPECT_EQ((testing::internal::FormatForComparisonFailureMessage(u"い", std::u16string())), "u\"い\"");
}

TEST(MemoryFile, ReadsOnlyWhollyInsideAndItsZerosTakeNoBytes) {
    const std::string bytes = "abcd";
    support::MemoryFile file(bytes, 3);
    EXPECT_EQ(file.size(), 7u);
    const std::tuple<std::uint64_t, std::size_t, bool, std::string> rows[] = {
        // offset, length, read
        {0, 4, true, "abcd"}, {2, 4, true, std::string("cd\0\0", 4)},
        {7, 0, true, ""},     {5, 3, false, ""},
        {8, 0, false, ""},    {~0ull, 2, false, ""},
    };
    for (const auto& [offset, length, ok, read] : rows) {
        std::string out(length, 'x');
        EXPECT_EQ(file.read(offset, out.data(), length), ok) << offset << "+" << length;
        if (ok) {
            EXPECT_EQ(out, read);
        }
    }
    EXPECT_EQ(file.reads, 3u);
    EXPECT_EQ(file.bytesRead, 8u);
    EXPECT_EQ(file.refused, 3u);
}

TEST(MemoryFile, ACopyReadsWhatItWasGivenWhateverBecomesOfIt) {
    std::string bytes = "old";
    const auto file = support::MemoryFile::copyOf(bytes);
    bytes = "newer";
    std::string out(3, 'x');
    ASSERT_TRUE(file->read(0, out.data(), 3));
    EXPECT_EQ(out, "old");
    EXPECT_EQ(file->size(), 3u);
}

}  // namespace
