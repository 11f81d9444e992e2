#pragma once

#include <cstdint>
#include <limits>

// Counts and sums of a tree never go negative, even for hostile sizes (sparse files of exabytes):
// additions stop at the largest value instead of wrapping.
inline std::int64_t SaturatingAdd(std::int64_t a, std::int64_t b) {
    std::int64_t sum;
    if (__builtin_add_overflow(a, b, &sum))
        return b > 0 ? std::numeric_limits<std::int64_t>::max()
                     : std::numeric_limits<std::int64_t>::min();
    return sum;
}
