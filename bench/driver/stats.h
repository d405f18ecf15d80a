// Summaries of repeated measurements: median, quartiles and the spread check of the table.
#pragma once

#include <cstddef>
#include <vector>

namespace bench {

struct Summary {
    std::size_t count = 0;
    double median = 0, min = 0, max = 0;
    double q1 = 0, q3 = 0;  // quartiles, interpolated between neighbouring samples

    double range() const { return max - min; }
    double iqr() const { return q3 - q1; }
};

// All zero when there are no samples.
Summary summarize(std::vector<double> samples);

// The quantile q (0..1) of samples already sorted, interpolated linearly between the two
// samples around it.
double quantileOfSorted(const std::vector<double>& sorted, double q);

// A figure is too noisy to trust when its samples spread wider than its median.
bool spreadWiderThanMedian(const Summary& s);

}  // namespace bench
