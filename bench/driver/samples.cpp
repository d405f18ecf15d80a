#include "samples.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace bench {
namespace {

std::optional<double> asNumber(const std::string& text)
{
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

std::vector<std::string> Samples::texts(const std::string& key) const
{
    std::vector<std::string> found;
    for (const auto& [k, v] : entries_)
        if (k == key) found.push_back(v);
    return found;
}

std::vector<double> Samples::numbers(const std::string& key) const
{
    std::vector<double> found;
    for (const auto& [k, v] : entries_)
        if (k == key)
            if (auto n = asNumber(v)) found.push_back(*n);
    return found;
}

std::optional<std::string> Samples::text(const std::string& key) const
{
    std::optional<std::string> last;
    for (const auto& [k, v] : entries_)
        if (k == key) last = v;
    return last;
}

std::optional<double> Samples::number(const std::string& key) const
{
    auto t = text(key);
    return t ? asNumber(*t) : std::nullopt;
}

Samples Samples::parse(const std::string& text)
{
    Samples samples;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto tab = line.find('\t');
        if (tab == std::string::npos) continue;
        samples.add(line.substr(0, tab), line.substr(tab + 1));
    }
    return samples;
}

Samples readSamples(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return Samples::parse(text.str());
}

bool appendSample(const std::filesystem::path& file, const std::string& key, const std::string& value)
{
    std::ofstream out(file, std::ios::binary | std::ios::app);
    out << key << '\t' << value << '\n';
    return static_cast<bool>(out);
}

bool appendSample(const std::filesystem::path& file, const std::string& key, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.10g", value);
    return appendSample(file, key, std::string(text));
}

}  // namespace bench
