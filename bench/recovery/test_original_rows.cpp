// The limit of a damaged copy's rows: a row leaves it when any page it is read from (found here by
// scanning the file, not by its pointers) or its table's definition is touched, and only then.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>

#include "original_rows.h"
#include "support/unicode.h"

namespace {

std::string load(const std::string& name) {
    std::ifstream in(std::string(RECOVERY_TESTDATA_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

platform::Text latin1(std::uint32_t, const std::string& bytes) { return {bytes.begin(), bytes.end()}; }

// Sets of pages to touch, one at a time.
using PageSets = std::vector<std::vector<std::uint64_t>>;
using Touches = std::function<PageSets(const std::string& bytes, const recovery::Original& original)>;

// Each data page (type 0x01) whose bytes 4-7 (its owner) are `owner`, alone.
PageSets eachDataPage(const std::string& bytes, std::uint32_t pageSize, const std::string& owner) {
    PageSets sets;
    for (std::uint64_t n = 1; n < bytes.size() / pageSize; ++n)
        if (bytes[n * pageSize] == 0x01 && bytes.compare(n * pageSize + 4, 4, owner) == 0)
            sets.push_back({n});
    return sets;
}

const recovery::OriginalTable& table(const recovery::Original& original, const std::string& name) {
    for (const recovery::OriginalTable& t : original.tables)
        if (support::utf8(t.name) == name) return t;
    throw std::runtime_error("no table " + name);
}

Touches nothing() {
    return [](const std::string&, const recovery::Original&) { return PageSets{{}}; };
}
Touches definitionOf(const std::string& name) {
    return [=](const std::string&, const recovery::Original& o) {
        return PageSets{table(o, name).definitionPages};
    };
}
Touches eachDataPageOf(const std::string& name) {
    return [=](const std::string& bytes, const recovery::Original& o) {
        const std::uint32_t page = static_cast<std::uint32_t>(table(o, name).definitionPages.at(0));
        return eachDataPage(bytes, o.pageSize,
                            {char(page), char(page >> 8), char(page >> 16), char(page >> 24)});
    };
}
Touches everyLongValuePage() {
    return [](const std::string& bytes, const recovery::Original& o) {
        std::vector<std::uint64_t> all;
        for (const auto& page : eachDataPage(bytes, o.pageSize, "LVAL")) all.push_back(page[0]);
        return PageSets{all};
    };
}

TEST(RecoveryLimit, RowsLeaveItWithTheirPagesOnly) {
    const struct {
        const char* file;
        Touches touches;
        std::uint64_t least, most;  // the limit with each set touched
    } cases[] = {
        {"valuesV2000.mdb", nothing(), 3123, 3123},
        {"valuesV2000.mdb", definitionOf("Orders"), 300, 300},
        {"valuesV2000.mdb", eachDataPageOf("Orders"), 300, 3122},
        // 顧客's 60 memos of 2,000 characters or more lie on LVAL pages; Orders has no long values.
        {"valuesV2000.mdb", everyLongValuePage(), 2823, 3123 - 60},
        {"overflowTestV2000.mdb", eachDataPageOf("Table1"), 0, 6},
        {"overflowTestV1997.mdb", eachDataPageOf("Table1"), 0, 6},
    };
    for (const auto& c : cases) {
        const std::string bytes = load(c.file);
        const recovery::Original original = recovery::readOriginal(bytes, latin1);
        const PageSets sets = c.touches(bytes, original);
        ASSERT_FALSE(sets.empty()) << c.file;
        for (const auto& pages : sets) {
            std::vector<bool> touched(bytes.size() / original.pageSize);
            for (const std::uint64_t n : pages) touched.at(n) = true;
            const std::uint64_t rows = recovery::limitRows(original, touched);
            EXPECT_GE(rows, c.least) << c.file << " page " << (pages.empty() ? 0 : pages[0]);
            EXPECT_LE(rows, c.most) << c.file << " page " << (pages.empty() ? 0 : pages[0]);
        }
    }
}

TEST(RecoveryLimit, TouchedPagesDifferOrAreMissing) {
    const std::string original = "aaaabbbbccccdddd";  // four pages of four bytes
    const struct {
        std::string damaged;
        std::vector<bool> touched;
    } cases[] = {
        {original, {false, false, false, false}},          {"aaaabbXbccccdddd", {false, true, false, false}},
        {"aaaabbbbcccc", {false, false, false, true}},     {"aaaabbbbcc", {false, false, true, true}},
        {original + "eeee", {false, false, false, false}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(recovery::touchedPages(original, c.damaged, 4), c.touched) << c.damaged;
}

}  // namespace
