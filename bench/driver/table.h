// The one table the benchmark prints: each figure beside its reference, the goal and whether it
// was met, built from the samples file.
#pragma once

#include <string>
#include <vector>

#include "samples.h"

namespace bench {

enum class Verdict { Met, Missed, NoData };

struct Row {
    std::string figure;
    std::string measured;
    std::string reference;
    std::string ratio;
    std::string goal;
    Verdict verdict = Verdict::NoData;
    bool noisy = false;  // some figure of the row spreads wider than its median
    std::string notes;
};

std::vector<Row> buildRows(const Samples& samples);

// The table as text, framed by the machine's cores and load and followed by any errors.
std::string renderTable(const Samples& samples, const std::vector<Row>& rows);

// "%s" in a key pattern replaced by the part.
std::string key(const char* pattern, const std::string& part);

}  // namespace bench
