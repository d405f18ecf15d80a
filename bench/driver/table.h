// The one table the benchmark prints: each figure beside its reference, the goal and whether it
// was met, built from the samples the measurements appended to one file as "key<TAB>value" lines.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace bench {

// The samples file read back. A key may have several values (one per run), kept in file order.
class Samples {
public:
    static Samples parse(const std::string& text);  // lines without a tab are skipped

    std::vector<std::string> texts(const std::string& key) const;
    std::vector<double> numbers(const std::string& key) const;      // the values that read as numbers
    std::optional<std::string> text(const std::string& key) const;  // the last value
    std::optional<double> number(const std::string& key) const;

private:
    std::multimap<std::string, std::string> values_;
};

enum class Verdict { Met, Missed, NoData };

struct Row {
    std::string figure{}, measured{}, reference{}, ratio{}, goal{};
    Verdict verdict = Verdict::NoData;
    bool noisy = false;  // some figure of the row spreads wider than its median
    std::string notes{};
};

std::vector<Row> buildRows(const Samples& samples);

// The table as text, headed by the machine's cores and load and followed by any errors.
std::string renderTable(const Samples& samples, const std::vector<Row>& rows);

}  // namespace bench
