#pragma once

#include <cstdint>

class TDirEntry;

// The read-only work a listing does on a built tree, each as one timed unit. Every function
// returns a figure that depends on all it visited, so the compiler cannot drop the work, and
// that the caller checks against the tree.
class TreeWalks {
public:
    TreeWalks() = delete;

    // The listing's order: NextEntry from the root until it answers none. Entries visited.
    static std::int64_t NextEntryWalk(const TDirEntry& root);
    // The floor of a walk: plain recursion over the sibling lists, the same pre-order. Entries.
    static std::int64_t RecursiveWalk(const TDirEntry& root);
    // TotalFileCount, TotalSize and TotalSubdirCount of the root: the summary's three walks.
    // Returns the subdirectory count.
    static std::int64_t RootTotals(const TDirEntry& root);
    // What the figures text asks of every line: the three totals of each entry with two or more
    // subdirectories, in listing order. Returns the sum of the subdirectory counts.
    static std::int64_t ListingTotals(const TDirEntry& root);
};
