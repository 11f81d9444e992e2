#include "TreeWalks.h"

#include "TDirEntry.h"

namespace {

std::int64_t CountRecursively(const TDirEntry& entry) {
    std::int64_t count = 1;
    if (entry.SubDirs) {
        for (const auto& child : *entry.SubDirs)
            count += CountRecursively(*child);
    }
    return count;
}

} // namespace

std::int64_t TreeWalks::NextEntryWalk(const TDirEntry& root) {
    std::int64_t count = 0;
    for (const TDirEntry* e = &root; e != nullptr; e = NextEntry(*e, false))
        ++count;
    return count;
}

std::int64_t TreeWalks::RecursiveWalk(const TDirEntry& root) {
    return CountRecursively(root);
}

std::int64_t TreeWalks::RootTotals(const TDirEntry& root) {
    // The file count and size only feed a check that they are not negative, which keeps them.
    const std::int64_t files = TotalFileCount(root);
    const std::int64_t bytes = TotalSize(root);
    const std::int64_t subdirs = TotalSubdirCount(root);
    return files >= 0 && bytes >= 0 ? subdirs : -1;
}

std::int64_t TreeWalks::ListingTotals(const TDirEntry& root) {
    std::int64_t sum = 0;
    for (const TDirEntry* e = &root; e != nullptr; e = NextEntry(*e, false)) {
        if (!e->SubDirs || e->SubDirs->size() < 2)
            continue;
        const std::int64_t files = TotalFileCount(*e);
        const std::int64_t bytes = TotalSize(*e);
        if (files >= 0 && bytes >= 0)
            sum += TotalSubdirCount(*e);
    }
    return sum;
}
