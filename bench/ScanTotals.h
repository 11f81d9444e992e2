#pragma once

#include <cstdint>

// What every contender that counts must agree on for one tree: the files below the start, the
// sum of their sizes, and the directories read, the start included.
struct ScanTotals {
    std::int64_t Files = 0;
    std::int64_t Bytes = 0;
    std::int64_t Directories = 0;

    bool operator==(const ScanTotals&) const = default;
};
