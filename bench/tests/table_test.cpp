#include <gtest/gtest.h>

#include "../driver/bench.h"

namespace bench {
namespace {

std::string result(const std::string& line) { return line.substr(line.rfind(" | ") + 3); }

TEST(Table, EachLineShowsTheMediansTheirRatioAndTheVerdictOnItsGoal) {
    const struct {
        std::vector<double> measured, reference;
        const char *goal, *result, *shown;
    } cases[] = {
        {{4, 1, 3, 2}, {}, "", "WARN: spread wider than the median", "| 2.5 (1-4) "},  // median, min, max
        {{9, 1, 5}, {}, "", "WARN: spread wider than the median", "| 5 (1-9) "},
        {{7}, {}, "", "", "| 7 "},
        {{}, {}, "", "", "| - "},
        {{10, 12, 20}, {5, 10, 15}, "", "", "12 (10-20)"},  // no warning: range < median, range = median
        {{1, 10, 30}, {}, "", "WARN: spread wider than the median", ""},  // one outlier is enough
        {{0}, {0, 0, 1}, "", "WARN: spread wider than the median in the reference", ""},  // median 0
        {{120, 120, 120}, {100, 100, 100}, "<= 1.2x", "met", " 1.2x "},  // start-up: met up to 1.2x exactly
        {{121}, {100}, "<= 1.2x", "MISSED", ""},
        {{12, 13, 14, 15, 19.9}, {}, "< 20 ms", "met", "14 (12-19.9)"},  // exit noticed: the median counts
        {{12, 13, 14, 15, 40}, {}, "< 20 ms", "met WARN: spread wider than the median", ""},
        {{12, 13, 14}, {1, 2, 30}, "< 20 ms", "met WARN: spread wider than the median in the reference", ""},
        {{20, 21, 22}, {}, "< 20 ms", "MISSED", ""},
        {{1024 / 2.0}, {1024 / 1.8}, ">= 0.9x", "met", "| 512 "},  // copy: 1 GiB in 2 s vs 1.8 s, in MiB/s
        {{1024 / 2.0}, {1024 / 1.8}, ">= 0.9x", "met", " 0.9x "},
        {{1024 / 2.1}, {1024 / 1.8}, ">= 0.9x", "MISSED", ""},
        {{11}, {10}, "<= 1.1x", "met", ""},  // memory: the big file's peak within a tenth of the small one's
        {{12}, {10}, "<= 1.1x", "MISSED", ""},
        {{}, {100}, "<= 1.2x", "no data", ""},  // no verdict without samples, nor on a ratio without both
        {{120}, {}, "<= 1.2x", "no data", ""},
    };
    for (const auto& c : cases) {
        const std::string line = row("figure", c.measured, c.reference, c.goal);
        EXPECT_EQ(result(line), c.result) << line;
        EXPECT_NE(line.find(c.shown), std::string::npos) << line;
    }
    EXPECT_EQ(result(cpuRow(0.99, 95)), "met");  // CPU: below 1 %, and a weak reference pointed out
    EXPECT_EQ(result(cpuRow(1, 60)), "MISSED (the busy poll's own process < 80 %)");
    EXPECT_EQ(result(importsRow({"KERNEL32.dll", "libstdc++-6.dll"})),  // an import outside the system
              "MISSED, not in the system folder: libstdc++-6.dll (KERNEL32.dll libstdc++-6.dll)");
    EXPECT_EQ(result(importsRow({"KERNEL32.dll"})), "met (KERNEL32.dll)");
}

TEST(Table, SamplesListKeepsEveryNumberInOrderAndSkipsWhatIsNotANumber) {
    EXPECT_EQ(numbers("12.5,fast,9,,12.5"), (std::vector<double>{12.5, 9, 12.5}));
    EXPECT_TRUE(numbers("").empty());
    EXPECT_TRUE(numbers("12abc").empty());
}

TEST(Table, TheHeaderComesOnceAndEveryRowKeepsItsColumns) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "bench_table_test.txt";
    std::filesystem::remove(file);
    ASSERT_TRUE(appendToTable(file.wstring(), row("2 Exit", {12, 13}, {1, 2}, "< 20 ms")));
    ASSERT_TRUE(appendToTable(file.wstring(), row("3 Start-up", {}, {}, "<= 1.2x")));
    ASSERT_TRUE(appendToTable(file.wstring(), "4 Size: ERROR cannot read it"));
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    in.close();
    std::filesystem::remove(file);
    ASSERT_EQ(lines.size(), 5u);  // the header and its rule once, then the lines as appended
    EXPECT_EQ(lines[0].rfind("Figure ", 0), 0u) << lines[0];
    EXPECT_EQ(lines[4], "4 Size: ERROR cannot read it");
    for (int i : {0, 2, 3}) {  // the column separators stand at the same places
        std::vector<std::size_t> at;
        for (std::size_t c = lines[i].find('|'); c != std::string::npos; c = lines[i].find('|', c + 1))
            at.push_back(c);
        EXPECT_EQ(at, (std::vector<std::size_t>{41, 66, 91, 102, 117})) << lines[i];
    }
}

}  // namespace
}  // namespace bench
