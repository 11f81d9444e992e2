#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TDirEntry;

// A sibling list: the entries of one directory's subdirectories, or the top-level list that
// holds the root. The list owns its entries.
using TDirList = std::vector<std::unique_ptr<TDirEntry>>;

// One readable directory of a scanned tree. Files are counted and summed here, never stored.
class TDirEntry {
public:
    std::string Name;         // bare name as the parent's enumeration delivered it; the root's is
                              // the starting path exactly as passed
    TDirList* List = nullptr; // non-owning: the list that holds this entry
    std::unique_ptr<TDirList> SubDirs; // owned; absent until the first subdirectory item
    TDirEntry* Parent = nullptr;       // non-owning back pointer; none for the root
    std::int64_t Files = 0;            // files directly in this directory
    std::int64_t Bytes = 0;            // sum of their sizes

    // An empty SubDirs list counts as absent everywhere.
    bool HasSubDirs() const { return SubDirs && !SubDirs->empty(); }
};

// The aggregates are computed on every call; nothing is cached in the entries.
std::int32_t EntryDepth(const TDirEntry& e);
std::int64_t TotalFileCount(const TDirEntry& e);
std::int64_t TotalSize(const TDirEntry& e);
std::int64_t TotalSubdirCount(const TDirEntry& e);

// Pre-order successor, or nullptr when the walk is over.
TDirEntry* NextEntry(const TDirEntry& e, bool SkipChildren);

// Plain unsigned byte order of the names, the terminating 0 included: negative, 0 or positive.
int CompareEntryNames(const TDirEntry& a, const TDirEntry& b);
