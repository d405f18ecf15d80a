#include "table.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "pe_imports.h"
#include "stats.h"

namespace bench {
namespace {

constexpr int kWidths[] = {40, 22, 22, 8, 12};  // figure, measured, reference, ratio, goal

std::string line(const std::vector<std::string>& cells) {
    std::string text;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        text += cells[i];
        if (i < std::size(kWidths))
            text +=
                std::string(std::max<int>(0, kWidths[i] - static_cast<int>(cells[i].size())), ' ') + " | ";
    }
    return text;
}

std::string number(double value, const char* unit = "") {
    char text[32];
    std::snprintf(text, sizeof text, value >= 100 ? "%.0f%s" : "%.3g%s", value, unit);
    return text;
}

std::string cell(const Summary& s) {
    if (s.count == 0) return "-";
    if (s.count == 1) return number(s.median);
    return number(s.median) + " (" + number(s.min) + "-" + number(s.max) + ")";
}

// Whether value meets "<op> limit"; a value that lands on an inclusive limit exactly must not
// miss it through rounding.
bool meets(double value, const std::string& op, double limit) {
    if (op == "<") return value < limit;
    if (op == "<=") return value <= limit * (1 + 1e-9);
    return value >= limit * (1 - 1e-9);
}

}  // namespace

std::string row(const std::string& figure, const std::vector<double>& measured,
                const std::vector<double>& reference, const std::string& goal, const std::string& note) {
    const Summary m = summarize(measured), r = summarize(reference);
    const bool hasRatio = m.count && r.count && r.median > 0;
    const double ratio = hasRatio ? m.median / r.median : 0;
    std::string result;
    if (!goal.empty()) {
        const auto space = goal.find(' ');
        const bool onRatio = goal.back() == 'x';
        if (!m.count || (onRatio && !hasRatio))
            result = "no data";
        else
            result =
                meets(onRatio ? ratio : m.median, goal.substr(0, space), std::atof(goal.c_str() + space + 1))
                    ? "met"
                    : "MISSED";
    }
    const bool mine = spreadWiderThanMedian(m), theirs = spreadWiderThanMedian(r);
    if (mine || theirs)
        result += (result.empty() ? "" : " ") + std::string("WARN: spread wider than the median") +
                  (mine ? "" : " in the reference");
    if (!note.empty()) result += (result.empty() ? "(" : " (") + note + ")";
    return line(
        {figure, cell(m), cell(r), hasRatio ? number(ratio, "x") : "-", goal.empty() ? "-" : goal, result});
}

std::string cpuRow(double harbekPercent, double referencePercent) {
    return row("1 CPU while waiting (% of a core)", {harbekPercent}, {referencePercent}, "< 1 %",
               referencePercent < 80 ? "the busy poll's own process < 80 %" : "");
}

std::string importsRow(const std::vector<std::string>& dlls) {
    std::string names, others;
    for (const auto& dll : dlls) {
        names += (names.empty() ? "" : " ") + dll;
        if (!pe::isSystemDll(dll)) others += " " + dll;
    }
    return line({"4 Harbek.exe imports", std::to_string(dlls.size()) + " DLLs", "-", "-", "system only",
                 (dlls.empty()     ? "no data"
                  : others.empty() ? "met"
                                   : "MISSED, not in the system folder:" + others) +
                     " (" + names + ")"});
}

std::vector<double> numbers(const std::string& list) {
    std::vector<double> found;
    for (std::size_t start = 0; start <= list.size();) {
        const std::size_t end = std::min(list.find(',', start), list.size());
        const std::string text = list.substr(start, end - start);
        char* stop = nullptr;
        const double value = std::strtod(text.c_str(), &stop);
        if (!text.empty() && stop == text.c_str() + text.size()) found.push_back(value);
        start = end + 1;
    }
    return found;
}

bool appendToTable(const std::wstring& table, const std::string& text) {
    std::error_code error;
    const bool fresh = std::filesystem::file_size(table, error) == 0 || error;
    std::ofstream out(std::filesystem::path(table), std::ios::binary | std::ios::app);
    if (fresh) {
        const std::string header = line({"Figure", "Measured", "Reference", "Ratio", "Goal", "Result"});
        out << header << '\n' << std::string(header.size(), '-') << '\n';
    }
    out << text << '\n';
    return static_cast<bool>(out);
}

}  // namespace bench
