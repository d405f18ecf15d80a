// The benchmark's table, one finished line per figure: the figure's median (min-max) beside the
// reference's, their ratio, the goal and whether it was met, and a warning when samples spread
// wider than their median. Each measurement appends its own lines to the table file.
#pragma once

#include <string>
#include <vector>

namespace bench {

// A goal reads "< 20", "<= 1.2x" or ">= 0.9x": the figure's median, or with "x" the ratio of the
// medians, against the limit. "" shows the figure without a goal.
std::string row(const std::string& figure, const std::vector<double>& measured,
                const std::vector<double>& reference, const std::string& goal, const std::string& note = "");

// Harbek's CPU share while it waits, against the busy poll's, which should be near 100 %.
std::string cpuRow(double harbekPercent, double referencePercent);

// Harbek.exe's imports: met when every one is a DLL Windows itself provides; the others are named.
std::string importsRow(const std::vector<std::string>& dlls);

// The numbers of a comma-separated list, in order; what does not read as a number is skipped.
std::vector<double> numbers(const std::string& list);

// Appends the line to the table file, which starts with the column header.
bool appendToTable(const std::wstring& table, const std::string& line);

}  // namespace bench
