#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "table.h"

namespace bench {
namespace {

Row rowOf(const std::string& samplesText, const std::string& figureStart)
{
    for (const Row& row : buildRows(Samples::parse(samplesText)))
        if (row.figure.rfind(figureStart, 0) == 0) return row;
    ADD_FAILURE() << "no row starting " << figureStart;
    return {};
}

std::string repeated(const std::string& key, std::initializer_list<double> values)
{
    std::string text;
    for (double v : values) text += key + "\t" + std::to_string(v) + "\n";
    return text;
}

TEST(TableVerdicts, StartUpIsMetUpToExactlyOnePointTwoTimesTheBareWindow)
{
    const Row met = rowOf(repeated("startup.harbek.ms", {120, 120, 120}) + repeated("startup.bare.ms", {100, 100, 100}),
                          "3 ");
    EXPECT_EQ(met.verdict, Verdict::Met);
    EXPECT_EQ(met.ratio, "1.20x");
    const Row missed = rowOf(repeated("startup.harbek.ms", {121}) + repeated("startup.bare.ms", {100}), "3 ");
    EXPECT_EQ(missed.verdict, Verdict::Missed);
}

TEST(TableVerdicts, CpuGoalIsBelowOnePercentAndAWeakReferenceIsPointedOut)
{
    const std::string reference = "cpu.reference.percent\t60\n";
    EXPECT_EQ(rowOf("cpu.harbek.percent\t0.99\n" + reference, "1 ").verdict, Verdict::Met);
    const Row missed = rowOf("cpu.harbek.percent\t1\n" + reference, "1 ");
    EXPECT_EQ(missed.verdict, Verdict::Missed);
    EXPECT_NE(missed.notes.find("ref's own process < 80 %"), std::string::npos) << missed.notes;
}

TEST(TableVerdicts, ExitLatencyUsesTheMedianAndFlagsAWideSpread)
{
    const Row steady = rowOf(repeated("exit.ms", {12, 13, 14, 15, 19.9}), "2 ");
    EXPECT_EQ(steady.verdict, Verdict::Met);
    EXPECT_FALSE(steady.noisy);

    // One slow run: the median still meets the goal, but the range is wider than the median.
    const Row noisy = rowOf(repeated("exit.ms", {12, 13, 14, 15, 40}), "2 ");
    EXPECT_EQ(noisy.verdict, Verdict::Met);
    EXPECT_TRUE(noisy.noisy);
    EXPECT_NE(noisy.notes.find("WARN"), std::string::npos) << noisy.notes;

    EXPECT_EQ(rowOf(repeated("exit.ms", {20, 21, 22}), "2 ").verdict, Verdict::Missed);
}

TEST(TableVerdicts, AnImportOutsideTheSystemFolderMissesAndIsNamed)
{
    const Row row = rowOf("imports.harbek\tKERNEL32.dll system\nimports.harbek\tlibstdc++-6.dll other\n",
                          "4 Harbek.exe imports");
    EXPECT_EQ(row.verdict, Verdict::Missed);
    EXPECT_NE(row.notes.find("not in the system folder: libstdc++-6.dll"), std::string::npos) << row.notes;
    EXPECT_EQ(rowOf("imports.harbek\tKERNEL32.dll system\n", "4 Harbek.exe imports").verdict, Verdict::Met);
}

TEST(TableVerdicts, CopyThroughputComparesRatesNotTimes)
{
    // 1 GiB in 2 s against 1.8 s: JetComp runs at 0.9 of cp's rate.
    const std::string common = "standin.1GiB.bytes\t1073741824\n" + repeated("standin.1GiB.cp_s", {1.8});
    const Row met = rowOf(common + repeated("standin.1GiB.jetcomp_s", {2.0}), "5 Stand-in copy 1 GiB");
    EXPECT_EQ(met.ratio, "0.90x");
    EXPECT_EQ(met.verdict, Verdict::Met);
    EXPECT_EQ(met.measured, "JetComp 512");
    EXPECT_EQ(rowOf(common + repeated("standin.1GiB.jetcomp_s", {2.1}), "5 Stand-in copy 1 GiB").verdict,
              Verdict::Missed);
}

TEST(TableVerdicts, MemoryIsFlatWhenTheBigFilesPeakIsWithinATenthOfTheSmallOnes)
{
    const std::string small = "standin.256MiB.peak_bytes\t10485760\n";  // 10 MiB
    EXPECT_EQ(rowOf(small + "standin.1GiB.peak_bytes\t11534336\n", "5 JetComp").verdict, Verdict::Met);  // 11 MiB
    EXPECT_EQ(rowOf(small + "standin.1GiB.peak_bytes\t12582912\n", "5 JetComp").verdict, Verdict::Missed);
}

TEST(TableText, WithoutSamplesEveryRowSaysSoAndErrorsFollowTheTable)
{
    const Samples samples = Samples::parse("machine.cores\t2\nerror\tStart-up: bare window: it ended\n");
    const auto rows = buildRows(samples);
    for (const Row& row : rows) EXPECT_EQ(row.verdict, Verdict::NoData) << row.figure;
    const std::string text = renderTable(samples, rows);
    EXPECT_NE(text.find("Machine: 2 cores"), std::string::npos) << text;
    EXPECT_NE(text.find("ERROR Start-up: bare window: it ended"), std::string::npos) << text;
    // The column separators of the header, the rule and every row stand at the same places.
    auto separators = [](const std::string& line) {
        std::vector<std::size_t> at;
        for (std::size_t i = 0; i < line.size(); ++i)
            if (line[i] == '|' || line[i] == '+') at.push_back(i);
        return at;
    };
    std::vector<std::string> lines;
    for (std::size_t start = text.find('\n') + 1, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    ASSERT_GE(lines.size(), 2 + rows.size());
    const auto header = separators(lines[0]);
    EXPECT_EQ(header.size(), 6u) << lines[0];
    for (std::size_t i = 1; i < 2 + rows.size(); ++i) EXPECT_EQ(separators(lines[i]), header) << lines[i];
}

}  // namespace
}  // namespace bench
