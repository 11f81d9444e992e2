#pragma once

#include "ScanTotals.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// The least a scan of the same tree can do, single-threaded: each directory opened relative to
// its parent's descriptor, read with getdents64 into a 32 KiB buffer, directories told apart by
// d_type without a stat, and one fstatat relative to the open directory for every other item.
// Nothing is allocated per file or per directory: one buffer per depth level, kept across walks.
//
// On trees where every item can be looked at, it counts what tarn counts: every non-directory
// item is a file, a directory that cannot be opened is not counted, the start is one directory.
class FloorWalk {
public:
    FloorWalk();
    ~FloorWalk();
    FloorWalk(const FloorWalk&) = delete;
    FloorWalk& operator=(const FloorWalk&) = delete;

    // Totals of the tree below `path`; all zero when the start cannot be opened.
    ScanTotals Walk(const std::string& path);

private:
    struct DirentBuffer;

    void WalkOpenDir(int dirFd, std::size_t depth);
    DirentBuffer& BufferAt(std::size_t depth);

    std::vector<std::unique_ptr<DirentBuffer>> buffers_;
    ScanTotals totals_;
};
