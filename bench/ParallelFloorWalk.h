#pragma once

#include "ScanTotals.h"

#include <string>

// The floor of a parallel scan: FloorWalk's walk (openat relative to the parent, getdents64 into
// a 32 KiB buffer per level, d_type for directories, fstatat for every other item) on several
// threads. Each thread walks depth first on its own; a thread that meets a subdirectory while
// another one waits for work opens it and hands it over instead of descending, so work moves
// only when a thread is idle and costs the busy ones one relaxed atomic load per subdirectory.
// Nothing is allocated per file or per directory, and no tree is built.
class ParallelFloorWalk {
public:
    explicit ParallelFloorWalk(unsigned threads);

    unsigned Threads() const { return threads_; }

    // Totals of the tree below `path`, counted as FloorWalk counts; zero when the start cannot
    // be opened.
    ScanTotals Walk(const std::string& path) const;

private:
    unsigned threads_;
};
