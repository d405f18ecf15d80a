// The samples file: each measurement appends "key<TAB>value" lines, the table reads them all.
// Several lines may share a key (one per run); the order of the lines is kept.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace bench {

class Samples {
public:
    void add(std::string key, std::string value) { entries_.emplace_back(std::move(key), std::move(value)); }

    // Every value of the key, in file order.
    std::vector<std::string> texts(const std::string& key) const;
    // The values of the key that read as numbers (others are skipped).
    std::vector<double> numbers(const std::string& key) const;
    // The last value of the key, when there is one.
    std::optional<std::string> text(const std::string& key) const;
    std::optional<double> number(const std::string& key) const;

    // Parses the file's text; lines without a tab are ignored.
    static Samples parse(const std::string& text);

private:
    std::vector<std::pair<std::string, std::string>> entries_;
};

Samples readSamples(const std::filesystem::path& file);

// Appends one line; false when the file cannot be written.
bool appendSample(const std::filesystem::path& file, const std::string& key, const std::string& value);
bool appendSample(const std::filesystem::path& file, const std::string& key, double value);

}  // namespace bench
