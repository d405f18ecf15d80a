#include "table.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "stats.h"

namespace bench {
namespace {

constexpr double kMiB = 1024.0 * 1024.0;

std::optional<double> asNumber(const std::string& text)
{
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size()) return std::nullopt;
    return value;
}

std::string format(const char* pattern, ...)
{
    char text[512];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(text, sizeof text, pattern, args);
    va_end(args);
    return text;
}

std::string join(const std::vector<std::string>& parts, const char* separator)
{
    std::string text;
    for (const auto& p : parts) text += (text.empty() ? "" : separator) + p;
    return text;
}

// "n=20 range a-b IQR c ms", and a warning when the spread is wider than the median; noisy, when
// given, is set then (the rows whose verdict does not rest on the figure give none).
std::string spreadNote(const Summary& s, const char* unit, bool* noisy = nullptr)
{
    std::string note = format("n=%zu range %.1f-%.1f IQR %.1f%s", s.count, s.min, s.max, s.iqr(), unit);
    if (!spreadWiderThanMedian(s)) return note;
    if (noisy) *noisy = true;
    return note + (s.iqr() > s.median ? " WARN range,IQR>median" : " WARN range>median");
}

// Goals are judged on ratios of measured values; a ratio that lands on the goal exactly must not
// miss it through rounding.
Verdict verdictOf(bool met) { return met ? Verdict::Met : Verdict::Missed; }
bool atLeast(double value, double goal) { return value >= goal * (1 - 1e-9); }
bool atMost(double value, double goal) { return value <= goal * (1 + 1e-9); }

Row cpuRow(const Samples& samples)
{
    Row row{"1 CPU while waiting (% of a core)", "", "", "", "Harbek < 1 %, ref ~100 %"};
    const auto harbek = samples.number("cpu.harbek.percent"), reference = samples.number("cpu.reference.percent");
    if (!harbek || !reference) return row;
    const double seconds = samples.number("cpu.harbek.seconds").value_or(0);
    // Linux counts CPU in 10 ms ticks: a run that used none of them used less than one.
    const bool belowATick = *harbek == 0 && seconds > 0;
    row.measured = belowATick ? format("Harbek < %.2f %%", 1.0 / seconds) : format("Harbek %.2f %%", *harbek);
    const auto serverH = samples.number("cpu.harbek.server_percent");
    const auto serverR = samples.number("cpu.reference.server_percent");
    row.reference = format("busy poll %.1f %%", *reference);
    // The busy poll's every call is a request to wineserver, which does much of its work.
    if (serverR) row.reference += format(" (+%.1f %% wineserver)", *serverR);
    if (*reference <= 0) row.ratio = "-";
    else if (belowATick) row.ratio = format("< %.4fx", 1.0 / seconds / *reference);
    else row.ratio = format("%.4fx", *harbek / *reference);
    row.verdict = verdictOf(*harbek < 1.0);
    std::vector<std::string> notes{format("1 run each, %.1f s / %.1f s", seconds,
                                          samples.number("cpu.reference.seconds").value_or(0))};
    if (serverH && serverR) notes.push_back(format("wineserver %.1f %% / %.1f %%", *serverH, *serverR));
    const Summary sh = summarize(samples.numbers("cpu.harbek.slice"));
    const Summary sr = summarize(samples.numbers("cpu.reference.slice"));
    if (sh.count && sr.count)
        notes.push_back(format("1-s slices %.0f-%.0f %% / %.0f-%.0f %%", sh.min, sh.max, sr.min, sr.max));
    if (*reference < 80) notes.push_back("ref's own process < 80 %");
    if (auto method = samples.text("cpu.method")) notes.push_back(*method);
    row.notes = join(notes, "; ");
    return row;
}

Row exitRow(const Samples& samples)
{
    Row row{"2 Exit noticed (ms)", "", "", "-", "< 20 ms"};
    const Summary s = summarize(samples.numbers("exit.ms"));
    if (!s.count) return row;
    row.measured = format("log line %.1f", s.median);
    row.verdict = verdictOf(s.median < 20);
    row.notes = "Harbek " + spreadNote(s, " ms", &row.noisy);
    if (const Summary wake = summarize(samples.numbers("exit.wake_ms")); wake.count) {
        row.reference = format("bare wake %.1f", wake.median);
        row.notes += "; ref = a waiter blocked on the handle, " + spreadNote(wake, " ms");
    }
    return row;
}

Row startupRow(const Samples& samples)
{
    Row row{"3 Start-up to window (ms)", "", "", "", "<= 1.2x bare"};
    const Summary h = summarize(samples.numbers("startup.harbek.ms"));
    const Summary b = summarize(samples.numbers("startup.bare.ms"));
    if (!h.count || !b.count || b.median <= 0) return row;
    row.measured = format("Harbek %.0f", h.median);
    row.reference = format("bare window %.0f", b.median);
    row.ratio = format("%.2fx", h.median / b.median);
    row.verdict = verdictOf(atMost(h.median / b.median, 1.2));
    row.notes = "Harbek " + spreadNote(h, " ms", &row.noisy) + "; bare " + spreadNote(b, " ms", &row.noisy);
    // Where Harbek's start-up goes: the loader's share, then the controls'; the verdict rests on
    // the bare window alone.
    if (const Summary manifest = summarize(samples.numbers("startup.manifest.ms")); manifest.count)
        row.notes += format("; +manifest %.0f ms ", manifest.median) + spreadNote(manifest, " ms");
    if (const Summary controls = summarize(samples.numbers("startup.controls.ms")); controls.count && controls.median > 0)
        row.notes += format("; +6 controls %.0f ms (Harbek %.2fx of it) ", controls.median, h.median / controls.median) +
                     spreadNote(controls, " ms");
    return row;
}

Row sizeRow(const Samples& samples)
{
    Row row{"4 Harbek.exe size (KiB)", "", "", "", "< 600 KiB"};
    const auto h = samples.number("size.harbek.bytes");
    if (!h) return row;
    row.measured = format("%.0f KiB", *h / 1024);
    row.verdict = verdictOf(*h < 600 * 1024);
    if (const auto b = samples.number("size.bare.bytes"); b && *b > 0) {
        row.reference = format("bare window %.0f KiB", *b / 1024);
        row.ratio = format("%.1fx", *h / *b);
    }
    row.notes = format("%.0f bytes; static, stripped", *h);
    return row;
}

// Each import reads "<dll> system" or "<dll> other".
Row importsRow(const Samples& samples)
{
    Row row{"4 Harbek.exe imports", "", "-", "-", "system DLLs only"};
    const auto imports = samples.texts("imports.harbek");
    if (imports.empty()) return row;
    std::vector<std::string> names, others;
    for (const auto& entry : imports) {
        names.push_back(entry.substr(0, entry.find(' ')));
        if (entry != names.back() + " system") others.push_back(names.back());
    }
    row.measured = format("%zu DLLs", names.size());
    row.verdict = verdictOf(others.empty());
    row.notes = join(names, " ");
    if (const auto delayed = samples.texts("imports.harbek.delayed"); !delayed.empty())
        row.notes += "; delay-loaded: " + join(delayed, " ");
    if (!others.empty()) row.notes += "; not in the system folder: " + join(others, " ");
    return row;
}

Row copyRow(const Samples& samples, const std::string& label, const std::string& title)
{
    Row row{"5 Stand-in copy " + title + " (MiB/s)", "", "", "", ">= 0.9x cp"};
    const auto bytes = samples.number("standin." + label + ".bytes");
    const Summary jet = summarize(samples.numbers("standin." + label + ".jetcomp_s"));
    const Summary cp = summarize(samples.numbers("standin." + label + ".cp_s"));
    if (!bytes || !jet.count || !cp.count || jet.median <= 0 || cp.median <= 0) return row;
    const double mib = *bytes / kMiB, jetRate = mib / jet.median, cpRate = mib / cp.median;
    row.measured = format("JetComp %.0f", jetRate);
    row.reference = format("cp %.0f", cpRate);
    row.ratio = format("%.2fx", jetRate / cpRate);
    row.verdict = verdictOf(atLeast(jetRate / cpRate, 0.9));
    std::vector<std::string> notes{format("JetComp %.2f s ", jet.median) + spreadNote(jet, " s", &row.noisy),
                                   format("cp %.2f s ", cp.median) + spreadNote(cp, " s", &row.noisy)};
    const Summary sync = summarize(samples.numbers("standin." + label + ".cpsync_s"));
    if (sync.count && sync.median > 0)
        notes.push_back(format("cp+fsync %.0f MiB/s (JetComp %.2fx)", mib / sync.median, jetRate / (mib / sync.median)));
    const Summary launch = summarize(samples.numbers("standin.launch_s"));
    if (launch.count) notes.push_back(format("JetComp start alone %.2f s", launch.median));
    row.notes = join(notes, "; ");
    return row;
}

Row memoryRow(const Samples& samples)
{
    Row row{"5 JetComp.exe peak memory (MiB)", "", "", "", "flat (<= 1.1x)"};
    const auto big = samples.numbers("standin.1GiB.peak_bytes"), small = samples.numbers("standin.256MiB.peak_bytes");
    if (big.empty() || small.empty()) return row;
    const double b = *std::max_element(big.begin(), big.end()) / kMiB;
    const double s = *std::max_element(small.begin(), small.end()) / kMiB;
    if (s <= 0) return row;
    row.measured = format("1 GiB: %.1f", b);
    row.reference = format("256 MiB: %.1f", s);
    row.ratio = format("%.2fx", b / s);
    row.verdict = verdictOf(atMost(b / s, 1.1));
    row.notes = format("PeakWorkingSetSize, highest of %zu / %zu runs", big.size(), small.size());
    return row;
}

std::string resultOf(const Row& row)
{
    if (row.verdict == Verdict::NoData) return "no data";
    return std::string(row.verdict == Verdict::Met ? "met" : "MISSED") + (row.noisy ? " (noisy)" : "");
}

}  // namespace

Samples Samples::parse(const std::string& text)
{
    Samples samples;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (const auto tab = line.find('\t'); tab != std::string::npos)
            samples.values_.emplace(line.substr(0, tab), line.substr(tab + 1));
    }
    return samples;
}

std::vector<std::string> Samples::texts(const std::string& key) const
{
    std::vector<std::string> found;
    for (auto [at, end] = values_.equal_range(key); at != end; ++at) found.push_back(at->second);
    return found;
}

std::vector<double> Samples::numbers(const std::string& key) const
{
    std::vector<double> found;
    for (const auto& text : texts(key))
        if (auto n = asNumber(text)) found.push_back(*n);
    return found;
}

std::optional<std::string> Samples::text(const std::string& key) const
{
    const auto all = texts(key);
    return all.empty() ? std::nullopt : std::optional(all.back());
}

std::optional<double> Samples::number(const std::string& key) const
{
    const auto t = text(key);
    return t ? asNumber(*t) : std::nullopt;
}

std::vector<Row> buildRows(const Samples& samples)
{
    return {cpuRow(samples),  exitRow(samples),    startupRow(samples),
            sizeRow(samples), importsRow(samples), copyRow(samples, "1GiB", "1 GiB"),
            copyRow(samples, "256MiB", "256 MiB"), memoryRow(samples)};
}

std::string renderTable(const Samples& samples, const std::vector<Row>& rows)
{
    std::vector<std::vector<std::string>> cells = {{"Figure", "Measured", "Reference", "Ratio", "Goal", "Result", "Notes"}};
    const auto orDash = [](const std::string& s) { return s.empty() ? std::string("-") : s; };
    for (const Row& r : rows)
        cells.push_back({r.figure, orDash(r.measured), orDash(r.reference), orDash(r.ratio), r.goal, resultOf(r), r.notes});
    std::vector<std::size_t> width(cells[0].size(), 0);
    for (const auto& line : cells)
        for (std::size_t i = 0; i < line.size(); ++i) width[i] = std::max(width[i], line[i].size());

    std::string out = "Machine: " + samples.text("machine.cores").value_or("?") + " cores; load average at start " +
                      samples.text("machine.load.start").value_or("?") + ", at end " +
                      samples.text("machine.load.end").value_or("?") + "\n";
    if (const auto build = samples.text("machine.build")) out += "Programs run as: " + *build + "\n";
    for (std::size_t n = 0; n < cells.size(); ++n) {
        std::string line, rule;
        for (std::size_t i = 0; i + 1 < cells[n].size(); ++i) {
            line += cells[n][i] + std::string(width[i] - cells[n][i].size(), ' ') + " | ";
            rule += std::string(width[i], '-') + "-+-";
        }
        out += line + cells[n].back() + "\n";
        if (n == 0) out += rule + std::string(width.back(), '-') + "\n";
    }
    for (const auto& error : samples.texts("error")) out += "ERROR " + error + "\n";
    return out;
}

}  // namespace bench
