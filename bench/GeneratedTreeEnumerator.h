#pragma once

#include "DirEnumerator.h"

#include <cstdint>

// A tree that exists only in memory, read through the scan's own enumeration layer, so that the
// report benchmark gets trees of any size without touching the disk. It holds exactly the asked
// number of directories, each with 0 to 20 files of the synthetic trees' names and sizes; every
// directory shares what is left of the count among at most FanOut subdirectories, so the tree
// stays balanced and shallow (a depth of about log8 of the count). Any start path opens it, and
// the same count always yields the same tree.
class GeneratedTreeEnumerator final : public DirEnumerator {
public:
    static constexpr int FanOut = 8;

    explicit GeneratedTreeEnumerator(std::int64_t directories);

    std::unique_ptr<DirReader> OpenStart(const std::string& path) override;

private:
    std::int64_t directories_;
};
