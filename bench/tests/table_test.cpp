#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "table.h"

namespace bench {
namespace {

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
std::string result(const std::string& line) { return line.substr(line.rfind(" | ") + 3); }

TEST(TableVerdicts, StartUpIsMetUpToExactlyOnePointTwoTimesTheBareWindow) {
    const std::string met = row("3 Start-up", {120, 120, 120}, {100, 100, 100}, "<= 1.2x");
    EXPECT_EQ(result(met), "met") << met;
    EXPECT_TRUE(has(met, " 1.2x ")) << met;
    EXPECT_EQ(result(row("3 Start-up", {121}, {100}, "<= 1.2x")), "MISSED");
}

TEST(TableVerdicts, CpuGoalIsBelowOnePercentAndAWeakReferenceIsPointedOut) {
    EXPECT_EQ(result(cpuRow(0.99, 95)), "met");
    const std::string missed = cpuRow(1, 60);
    EXPECT_TRUE(has(result(missed), "MISSED")) << missed;
    EXPECT_TRUE(has(missed, "own process < 80 %")) << missed;
}

TEST(TableVerdicts, ExitLatencyUsesTheMedianAndFlagsAWideSpread) {
    const std::string steady = row("2 Exit", {12, 13, 14, 15, 19.9}, {}, "< 20 ms");
    EXPECT_EQ(result(steady), "met") << steady;
    EXPECT_TRUE(has(steady, "14 (12-19.9)")) << steady;

    // One slow run: the median still meets the goal, but the range is wider than the median.
    const std::string noisy = row("2 Exit", {12, 13, 14, 15, 40}, {}, "< 20 ms");
    EXPECT_EQ(result(noisy), "met WARN: spread wider than the median") << noisy;
    EXPECT_TRUE(has(row("2 Exit", {12, 13, 14}, {1, 2, 30}, "< 20 ms"),
                    "WARN: spread wider than the median in the reference"));

    EXPECT_EQ(result(row("2 Exit", {20, 21, 22}, {}, "< 20 ms")), "MISSED");
}

TEST(TableVerdicts, AnImportOutsideTheSystemFolderMissesAndIsNamed) {
    const std::string line = importsRow({"KERNEL32.dll", "libstdc++-6.dll"});
    EXPECT_TRUE(has(result(line), "MISSED, not in the system folder: libstdc++-6.dll")) << line;
    EXPECT_EQ(result(importsRow({"KERNEL32.dll"})), "met (KERNEL32.dll)");
}

TEST(TableVerdicts, CopyThroughputComparesRatesNotTimes) {
    // 1 GiB in 2 s against 1.8 s: JetComp runs at 0.9 of cp's rate, which run.sh passes as MiB/s.
    const std::string met = row("5 Copy", {1024 / 2.0}, {1024 / 1.8}, ">= 0.9x");
    EXPECT_EQ(result(met), "met") << met;
    EXPECT_TRUE(has(met, "| 512 ")) << met;
    EXPECT_TRUE(has(met, " 0.9x ")) << met;
    EXPECT_EQ(result(row("5 Copy", {1024 / 2.1}, {1024 / 1.8}, ">= 0.9x")), "MISSED");
}

TEST(TableVerdicts, MemoryIsFlatWhenTheBigFilesPeakIsWithinATenthOfTheSmallOnes) {
    EXPECT_EQ(result(row("5 Peak", {11}, {10}, "<= 1.1x")), "met");
    EXPECT_EQ(result(row("5 Peak", {12}, {10}, "<= 1.1x")), "MISSED");
}

TEST(TableText, WithoutSamplesEveryRowSaysSoAndErrorsFollowTheTable) {
    EXPECT_EQ(result(row("3 Start-up", {}, {100}, "<= 1.2x")), "no data");
    EXPECT_EQ(result(row("3 Start-up", {120}, {}, "<= 1.2x")), "no data");  // a ratio needs the reference

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
    EXPECT_TRUE(lines[0].rfind("Figure ", 0) == 0) << lines[0];
    EXPECT_EQ(lines[4], "4 Size: ERROR cannot read it");
    // The column separators of the header and every row stand at the same places.
    auto separators = [](const std::string& line) {
        std::vector<std::size_t> at;
        for (std::size_t i = 0; i < line.size(); ++i)
            if (line[i] == '|') at.push_back(i);
        return at;
    };
    EXPECT_EQ(separators(lines[0]).size(), 5u) << lines[0];
    EXPECT_EQ(separators(lines[2]), separators(lines[0])) << lines[2];
    EXPECT_EQ(separators(lines[3]), separators(lines[0])) << lines[3];
}

}  // namespace
}  // namespace bench
