#pragma once

#include "TDirEntry.h"

#include <ostream>
#include <string>
#include <vector>

// Checks every structural invariant of a built tree below the top-level list: at most one root,
// whose Parent is none and whose List is the top list; every entry reached exactly once; each
// child's Parent and List pointing at the entry and the list that hold it; every list in strictly
// ascending name order; bare names (not empty below the root, no "/", no "." or ".."); and no
// negative own count, nor a negative total at the root. Returns one line per violation, empty
// when all hold.
std::vector<std::string> BrokenInvariants(const TDirList& top);

// What a tree holds, for comparing with what a fixture made.
struct TreeCounts {
    std::int64_t Dirs = 0; // entries, the root included
    std::int64_t Files = 0;
    std::int64_t Bytes = 0;
    std::int32_t Depth = 0; // of the deepest entry; the root has 1
    bool operator==(const TreeCounts&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const TreeCounts& c) {
    return out << c.Dirs << " dirs, " << c.Files << " files, " << c.Bytes << " bytes, depth "
               << c.Depth;
}

// Counts by walking the lists themselves, not through the aggregates under test.
TreeCounts CountTree(const TDirList& top);
