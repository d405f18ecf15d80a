#include "table.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "sample_keys.h"
#include "stats.h"

namespace bench {
namespace {

constexpr double kMiB = 1024.0 * 1024.0;

std::string format(const char* pattern, ...)
{
    char text[512];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(text, sizeof text, pattern, args);
    va_end(args);
    return text;
}

// "n=20 range a-b IQR c ms", and a warning (noisy set) when the spread is wider than the median.
std::string spreadNote(const Summary& s, const char* unit, bool& noisy)
{
    std::string note = format("n=%zu range %.1f-%.1f IQR %.1f%s", s.count, s.min, s.max, s.iqr(), unit);
    if (spreadWiderThanMedian(s)) {
        noisy = true;
        note += s.iqr() > s.median ? " WARN range,IQR>median" : " WARN range>median";
    }
    return note;
}

// Goals are judged on ratios of measured values; a ratio that lands on the goal exactly must not
// miss it through rounding.
bool atLeast(double value, double goal) { return value >= goal * (1 - 1e-9); }
bool atMost(double value, double goal) { return value <= goal * (1 + 1e-9); }

std::string join(const std::vector<std::string>& parts, const char* separator)
{
    std::string text;
    for (const auto& p : parts) {
        if (!text.empty()) text += separator;
        text += p;
    }
    return text;
}

Row cpuRow(const Samples& samples)
{
    Row row{"1 CPU while waiting (% of a core)", "", "", "", "Harbek < 1 %, ref ~100 %", Verdict::NoData, false, ""};
    auto harbek = samples.number(key(keys::kCpuPercent, "harbek"));
    auto reference = samples.number(key(keys::kCpuPercent, "reference"));
    if (!harbek || !reference) return row;
    const double seconds = samples.number(key(keys::kCpuSeconds, "harbek")).value_or(0);
    // Linux counts CPU in 10 ms ticks: a run that used none of them used less than one.
    row.measured = *harbek == 0 && seconds > 0 ? format("Harbek < %.2f %%", 1.0 / seconds) : format("Harbek %.2f %%", *harbek);
    auto serverH = samples.number(key(keys::kCpuServerPercent, "harbek"));
    auto serverR = samples.number(key(keys::kCpuServerPercent, "reference"));
    row.reference = format("busy poll %.1f %%", *reference);
    // The busy poll's every call is a request to wineserver, which does much of its work.
    if (serverR) row.reference += format(" (+%.1f %% wineserver)", *serverR);
    if (*reference <= 0) row.ratio = "-";
    else if (*harbek == 0 && seconds > 0) row.ratio = format("< %.4fx", 1.0 / seconds / *reference);
    else row.ratio = format("%.4fx", *harbek / *reference);
    row.verdict = *harbek < 1.0 ? Verdict::Met : Verdict::Missed;
    std::vector<std::string> notes;
    notes.push_back(format("1 run each, %.1f s / %.1f s", seconds,
                           samples.number(key(keys::kCpuSeconds, "reference")).value_or(0)));
    if (serverH && serverR) notes.push_back(format("wineserver %.1f %% / %.1f %%", *serverH, *serverR));
    const Summary sh = summarize(samples.numbers(key(keys::kCpuSlice, "harbek")));
    const Summary sr = summarize(samples.numbers(key(keys::kCpuSlice, "reference")));
    if (sh.count && sr.count)
        notes.push_back(format("1-s slices %.0f-%.0f %% / %.0f-%.0f %%", sh.min, sh.max, sr.min, sr.max));
    if (*reference < 80) notes.push_back("ref's own process < 80 %");
    if (auto method = samples.text(keys::kCpuMethod)) notes.push_back(*method);
    row.notes = join(notes, "; ");
    return row;
}

Row exitRow(const Samples& samples)
{
    Row row{"2 Exit noticed (ms)", "", "", "-", "< 20 ms", Verdict::NoData, false, ""};
    const Summary s = summarize(samples.numbers(keys::kExitMs));
    if (!s.count) return row;
    row.measured = format("log line %.1f", s.median);
    row.verdict = s.median < 20 ? Verdict::Met : Verdict::Missed;
    std::string notes = "Harbek " + spreadNote(s, " ms", row.noisy);
    const Summary wake = summarize(samples.numbers(keys::kExitWakeMs));
    if (wake.count) {
        row.reference = format("bare wake %.1f", wake.median);
        bool ignored = false;  // the verdict does not rest on it
        notes += "; ref = a waiter blocked on the handle, " + spreadNote(wake, " ms", ignored);
    }
    row.notes = notes;
    return row;
}

Row startupRow(const Samples& samples)
{
    Row row{"3 Start-up to window (ms)", "", "", "", "<= 1.2x bare", Verdict::NoData, false, ""};
    const Summary h = summarize(samples.numbers(keys::kStartupHarbekMs));
    const Summary b = summarize(samples.numbers(keys::kStartupBareMs));
    if (!h.count || !b.count || b.median <= 0) return row;
    row.measured = format("Harbek %.0f", h.median);
    row.reference = format("bare window %.0f", b.median);
    const double ratio = h.median / b.median;
    row.ratio = format("%.2fx", ratio);
    row.verdict = atMost(ratio, 1.2) ? Verdict::Met : Verdict::Missed;
    row.notes = "Harbek " + spreadNote(h, " ms", row.noisy) + "; bare " + spreadNote(b, " ms", row.noisy);
    // Where Harbek's start-up goes: the loader's share, then the controls'; the verdict rests on
    // the bare window alone.
    bool ignored = false;
    const Summary manifest = summarize(samples.numbers(keys::kStartupManifestMs));
    if (manifest.count) row.notes += format("; +manifest %.0f ms ", manifest.median) + spreadNote(manifest, " ms", ignored);
    const Summary controls = summarize(samples.numbers(keys::kStartupControlsMs));
    if (controls.count && controls.median > 0)
        row.notes += format("; +6 controls %.0f ms (Harbek %.2fx of it) ", controls.median, h.median / controls.median) +
                     spreadNote(controls, " ms", ignored);
    return row;
}

Row sizeRow(const Samples& samples)
{
    Row row{"4 Harbek.exe size (KiB)", "", "", "", "< 600 KiB", Verdict::NoData, false, ""};
    auto h = samples.number(keys::kSizeHarbek);
    if (!h) return row;
    row.measured = format("%.0f KiB", *h / 1024);
    row.verdict = *h < 600 * 1024 ? Verdict::Met : Verdict::Missed;
    if (auto b = samples.number(keys::kSizeBare); b && *b > 0) {
        row.reference = format("bare window %.0f KiB", *b / 1024);
        row.ratio = format("%.1fx", *h / *b);
    }
    row.notes = format("%.0f bytes; static, stripped", *h);
    return row;
}

Row importsRow(const Samples& samples)
{
    Row row{"4 Harbek.exe imports", "", "-", "-", "system DLLs only", Verdict::NoData, false, ""};
    const auto imports = samples.texts(keys::kImport);
    if (imports.empty()) return row;
    std::vector<std::string> names, others;
    for (const auto& entry : imports) {
        const auto space = entry.find(' ');
        const std::string name = entry.substr(0, space);
        names.push_back(name);
        if (space == std::string::npos || entry.substr(space + 1) != "system") others.push_back(name);
    }
    const auto delayed = samples.texts(keys::kDelayedImport);
    row.measured = format("%zu DLLs", names.size());
    row.verdict = others.empty() ? Verdict::Met : Verdict::Missed;
    row.notes = join(names, " ");
    if (!delayed.empty()) row.notes += "; delay-loaded: " + join(delayed, " ");
    if (!others.empty()) row.notes += "; not in the system folder: " + join(others, " ");
    return row;
}

Row copyRow(const Samples& samples, const std::string& label, const std::string& title)
{
    Row row{"5 Stand-in copy " + title + " (MiB/s)", "", "", "", ">= 0.9x cp", Verdict::NoData, false, ""};
    auto bytes = samples.number(key(keys::kStandinBytes, label));
    const Summary jet = summarize(samples.numbers(key(keys::kStandinJetCompSeconds, label)));
    const Summary cp = summarize(samples.numbers(key(keys::kStandinCpSeconds, label)));
    if (!bytes || !jet.count || !cp.count || jet.median <= 0 || cp.median <= 0) return row;
    const double mib = *bytes / kMiB;
    const double jetRate = mib / jet.median, cpRate = mib / cp.median;
    row.measured = format("JetComp %.0f", jetRate);
    row.reference = format("cp %.0f", cpRate);
    row.ratio = format("%.2fx", jetRate / cpRate);
    row.verdict = atLeast(jetRate / cpRate, 0.9) ? Verdict::Met : Verdict::Missed;
    std::vector<std::string> notes;
    notes.push_back(format("JetComp %.2f s ", jet.median) + spreadNote(jet, " s", row.noisy));
    notes.push_back(format("cp %.2f s ", cp.median) + spreadNote(cp, " s", row.noisy));
    const Summary sync = summarize(samples.numbers(key(keys::kStandinCpSyncSeconds, label)));
    if (sync.count && sync.median > 0)
        notes.push_back(format("cp+fsync %.0f MiB/s (JetComp %.2fx)", mib / sync.median,
                               jetRate / (mib / sync.median)));
    const Summary launch = summarize(samples.numbers(keys::kStandinLaunchSeconds));
    if (launch.count) notes.push_back(format("JetComp start alone %.2f s", launch.median));
    row.notes = join(notes, "; ");
    return row;
}

Row memoryRow(const Samples& samples)
{
    Row row{"5 JetComp.exe peak memory (MiB)", "", "", "", "flat (<= 1.1x)", Verdict::NoData, false, ""};
    const auto big = samples.numbers(key(keys::kStandinPeakBytes, "1GiB"));
    const auto small = samples.numbers(key(keys::kStandinPeakBytes, "256MiB"));
    if (big.empty() || small.empty()) return row;
    const double b = *std::max_element(big.begin(), big.end()) / kMiB;
    const double s = *std::max_element(small.begin(), small.end()) / kMiB;
    if (s <= 0) return row;
    row.measured = format("1 GiB: %.1f", b);
    row.reference = format("256 MiB: %.1f", s);
    row.ratio = format("%.2fx", b / s);
    row.verdict = atMost(b / s, 1.1) ? Verdict::Met : Verdict::Missed;
    row.notes = format("PeakWorkingSetSize, highest of %zu / %zu runs", big.size(), small.size());
    return row;
}

const char* verdictText(const Row& row)
{
    switch (row.verdict) {
        case Verdict::Met: return row.noisy ? "met (noisy)" : "met";
        case Verdict::Missed: return row.noisy ? "MISSED (noisy)" : "MISSED";
        case Verdict::NoData: return "no data";
    }
    return "";
}

}  // namespace

std::string key(const char* pattern, const std::string& part)
{
    std::string text = pattern;
    if (auto at = text.find("%s"); at != std::string::npos) text.replace(at, 2, part);
    return text;
}

std::vector<Row> buildRows(const Samples& samples)
{
    return {cpuRow(samples),     exitRow(samples),
            startupRow(samples), sizeRow(samples),
            importsRow(samples), copyRow(samples, "1GiB", "1 GiB"),
            copyRow(samples, "256MiB", "256 MiB"), memoryRow(samples)};
}

std::string renderTable(const Samples& samples, const std::vector<Row>& rows)
{
    std::vector<std::vector<std::string>> cells = {{"Figure", "Measured", "Reference", "Ratio", "Goal", "Result", "Notes"}};
    for (const Row& r : rows)
        cells.push_back({r.figure, r.measured.empty() ? "-" : r.measured, r.reference.empty() ? "-" : r.reference,
                         r.ratio.empty() ? "-" : r.ratio, r.goal, verdictText(r), r.notes});
    std::vector<std::size_t> width(cells[0].size(), 0);
    for (const auto& line : cells)
        for (std::size_t i = 0; i < line.size(); ++i) width[i] = std::max(width[i], line[i].size());

    std::string out = format("Machine: %s cores; load average at start %s, at end %s\n",
                             samples.text(keys::kCores).value_or("?").c_str(),
                             samples.text(keys::kLoadStart).value_or("?").c_str(),
                             samples.text(keys::kLoadEnd).value_or("?").c_str());
    if (auto build = samples.text(keys::kBuild)) out += "Programs run as: " + *build + "\n";
    auto rule = [&] {
        std::string line;
        for (std::size_t i = 0; i + 1 < width.size(); ++i) line += std::string(width[i], '-') + "-+-";
        return line + std::string(width.back(), '-') + "\n";
    };
    for (std::size_t n = 0; n < cells.size(); ++n) {
        std::string line;
        for (std::size_t i = 0; i < cells[n].size(); ++i) {
            line += cells[n][i];
            if (i + 1 < cells[n].size()) line += std::string(width[i] - cells[n][i].size(), ' ') + " | ";
        }
        out += line + "\n";
        if (n == 0) out += rule();
    }
    for (const auto& error : samples.texts(keys::kError)) out += "ERROR " + error + "\n";
    return out;
}

}  // namespace bench
