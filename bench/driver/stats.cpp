#include "stats.h"

#include <algorithm>
#include <cmath>

namespace bench {

double quantileOfSorted(const std::vector<double>& sorted, double q) {
    if (sorted.empty()) return 0;
    const double position = q * static_cast<double>(sorted.size() - 1);
    const std::size_t below = static_cast<std::size_t>(std::floor(position));
    const std::size_t above = std::min(below + 1, sorted.size() - 1);
    const double fraction = position - static_cast<double>(below);
    return sorted[below] + (sorted[above] - sorted[below]) * fraction;
}

Summary summarize(std::vector<double> samples) {
    Summary s;
    if (samples.empty()) return s;
    std::sort(samples.begin(), samples.end());
    s.count = samples.size();
    s.min = samples.front();
    s.max = samples.back();
    s.median = quantileOfSorted(samples, 0.5);
    s.q1 = quantileOfSorted(samples, 0.25);
    s.q3 = quantileOfSorted(samples, 0.75);
    return s;
}

bool spreadWiderThanMedian(const Summary& s) { return s.count > 1 && s.range() > s.median; }

}  // namespace bench
