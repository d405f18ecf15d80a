// What harbek_bench.exe, copy_check_cost.exe and the unit tests share: the clock, and the table, one
// line a figure: its median (min-max) beside the reference's, their ratio, the goal and the verdict.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "pe_imports.h"

namespace bench {

// QueryPerformanceCounter's ticks, by default now, in ms: the same clock in every process.
inline double clockMs(long long ticks = 0) {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(ticks ? ticks : now.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

inline std::string number(double value, const char* unit = "") {
    char text[32];
    std::snprintf(text, sizeof text, value >= 100 ? "%.0f%s" : "%.3g%s", value, unit);
    return text;
}

struct Summary {  // of repeated samples
    std::size_t count = 0;
    double median = 0, min = 0, max = 0;
    explicit Summary(std::vector<double> s) : count(s.size()) {
        std::sort(s.begin(), s.end());
        if (count) median = (s[(count - 1) / 2] + s[count / 2]) / 2, min = s[0], max = s.back();
    }
    bool tooWide() const { return count > 1 && max - min > median; }  // the range exceeds the median
    std::string cell() const {
        if (count < 2) return count ? number(median) : "-";
        return number(median) + " (" + number(min) + "-" + number(max) + ")";
    }
};

// The cells padded to the columns figure, measured, reference, ratio and goal; then the result.
inline std::string line(const std::vector<std::string>& cells) {
    std::string text;
    for (std::size_t i = 0, widths[] = {40, 22, 22, 8, 12}; i < 5; ++i)
        text += cells[i] + std::string(widths[i] - std::min(widths[i], cells[i].size()), ' ') + " | ";
    return text + cells[5];
}

// A goal reads "< 20 ms", "<= 1.2x" or ">= 0.9x": the median, or with "x" the ratio of the medians,
// against the limit, which a value exactly on it must not miss through rounding; "": no goal.
inline std::string row(const std::string& figure, const std::vector<double>& measured,
                       const std::vector<double>& reference, const std::string& goal,
                       const std::string& note = "") {
    const Summary m(measured), r(reference);
    const bool hasRatio = m.count && r.count && r.median > 0, onRatio = !goal.empty() && goal.back() == 'x';
    const double ratio = hasRatio ? m.median / r.median : 0, value = onRatio ? ratio : m.median;
    const std::string op = goal.substr(0, goal.find(' '));
    const double limit = std::atof(goal.c_str() + op.size()), slack = limit * 1e-9;
    bool met = op == "<" ? value < limit : op == "<=" ? value <= limit + slack : value >= limit - slack;
    std::string result = !m.count || (onRatio && !hasRatio) ? "no data" : met ? "met" : "MISSED";
    if (goal.empty()) result.clear();
    if (m.tooWide() || r.tooWide())
        result += std::string(result.empty() ? "" : " ") + "WARN: spread wider than the median" +
                  (m.tooWide() ? "" : " in the reference");
    if (!note.empty()) result += std::string(result.empty() ? "(" : " (") + note + ")";
    return line(
        {figure, m.cell(), r.cell(), hasRatio ? number(ratio, "x") : "-", goal.empty() ? "-" : goal, result});
}

// Harbek's CPU share while it waits, against the busy poll's, which should be near 100 %.
inline std::string cpuRow(double harbekPercent, double referencePercent) {
    return row("1 CPU while waiting (% of a core)", {harbekPercent}, {referencePercent}, "< 1 %",
               referencePercent < 80 ? "the busy poll's own process < 80 %" : "");
}

// Harbek.exe's imports: met when every one is a DLL Windows itself provides; the others are named.
inline std::string importsRow(const std::vector<std::string>& dlls) {
    std::string names, others, verdict = dlls.empty() ? "no data" : "met";
    for (const auto& dll : dlls) names += (names.empty() ? "" : " ") + dll;
    for (const auto& dll : dlls) others += pe::isSystemDll(dll) ? "" : " " + dll;
    if (!others.empty()) verdict = "MISSED, not in the system folder:" + others;
    return line({"4 Harbek.exe imports", std::to_string(dlls.size()) + " DLLs", "-", "-", "system only",
                 verdict + " (" + names + ")"});
}

// The numbers of a comma-separated list, in order; what does not read as a number is skipped.
inline std::vector<double> numbers(const std::string& list) {
    std::vector<double> found;
    for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + 1) {
        end = list.find(',', start);
        const std::string text = list.substr(start, end - start);
        char* stop = nullptr;
        const double value = std::strtod(text.c_str(), &stop);
        if (!text.empty() && !*stop) found.push_back(value);
    }
    return found;
}

// Appends the line to the table file, which starts with the column header and its rule.
inline bool appendToTable(const std::wstring& table, const std::string& text) {
    const bool fresh = !std::filesystem::exists(table) || std::filesystem::is_empty(table);
    const std::string header = line({"Figure", "Measured", "Reference", "Ratio", "Goal", "Result"});
    std::ofstream out(std::filesystem::path(table), std::ios::binary | std::ios::app);
    if (fresh) out << header << '\n' << std::string(header.size(), '-') << '\n';
    return static_cast<bool>(out << text << '\n');
}

}  // namespace bench
