#include "TimingSamples.h"

#include <algorithm>

double TimingSamples::Median() const {
    if (samples_.empty())
        return 0.0;
    std::vector<double> sorted = samples_;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t middle = sorted.size() / 2;
    if (sorted.size() % 2 == 1)
        return sorted[middle];
    return (sorted[middle - 1] + sorted[middle]) / 2.0;
}

double TimingSamples::Minimum() const {
    if (samples_.empty())
        return 0.0;
    return *std::min_element(samples_.begin(), samples_.end());
}
