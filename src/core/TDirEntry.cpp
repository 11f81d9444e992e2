#include "TDirEntry.h"

#include "SaturatingAdd.h"
#include <algorithm>
#include <vector>

std::int32_t EntryDepth(const TDirEntry& e) {
    std::int32_t depth = 1;
    for (const TDirEntry* p = e.Parent; p != nullptr; p = p->Parent)
        ++depth;
    return depth;
}

namespace {

// Visits every entry of e's subtree, e included. An explicit stack instead of recursion: a
// tree may be deeper than any thread's stack.
template <class Visit> void ForEachInSubtree(const TDirEntry& e, Visit visit) {
    std::vector<const TDirEntry*> pending{&e};
    while (!pending.empty()) {
        const TDirEntry* cur = pending.back();
        pending.pop_back();
        visit(*cur);
        if (cur->SubDirs) {
            for (const auto& child : *cur->SubDirs)
                pending.push_back(child.get());
        }
    }
}

} // namespace

std::int64_t TotalFileCount(const TDirEntry& e) {
    std::int64_t total = 0;
    ForEachInSubtree(e, [&total](const TDirEntry& d) { total = SaturatingAdd(total, d.Files); });
    return total;
}

std::int64_t TotalSize(const TDirEntry& e) {
    std::int64_t total = 0;
    ForEachInSubtree(e, [&total](const TDirEntry& d) { total = SaturatingAdd(total, d.Bytes); });
    return total;
}

std::int64_t TotalSubdirCount(const TDirEntry& e) {
    std::int64_t total = -1; // e itself is not counted
    ForEachInSubtree(e, [&total](const TDirEntry&) { ++total; });
    return total;
}

int CompareEntryNames(const TDirEntry& a, const TDirEntry& b) {
    // Both names compared with their terminating 0, so a prefix sorts first.
    const auto* x = reinterpret_cast<const unsigned char*>(a.Name.c_str());
    const auto* y = reinterpret_cast<const unsigned char*>(b.Name.c_str());
    const std::size_t n = std::min(a.Name.size(), b.Name.size()) + 1;
    for (std::size_t i = 0; i < n; ++i) {
        if (x[i] != y[i])
            return int(x[i]) - int(y[i]);
    }
    return 0;
}

namespace {

// Index of e in its list. Sibling names are distinct and the lists are name-sorted after the
// scan, so a binary search finds the same position as a search from the start, without making a
// full walk quadratic in the length of a list. An unsorted list falls back to the plain search.
std::size_t PositionInList(const TDirEntry& e) {
    const TDirList& list = *e.List;
    auto it =
        std::lower_bound(list.begin(), list.end(), &e, [](const auto& item, const TDirEntry* key) {
            return CompareEntryNames(*item, *key) < 0;
        });
    if (it != list.end() && it->get() == &e)
        return static_cast<std::size_t>(it - list.begin());
    auto found =
        std::find_if(list.begin(), list.end(), [&e](const auto& item) { return item.get() == &e; });
    return static_cast<std::size_t>(found - list.begin());
}

} // namespace

TDirEntry* NextEntry(const TDirEntry& e, bool SkipChildren) {
    if (!SkipChildren && e.HasSubDirs())
        return e.SubDirs->front().get();
    // Climb until an entry has a following sibling; the root is alone in its list.
    for (const TDirEntry* cur = &e; cur != nullptr; cur = cur->Parent) {
        if (cur->List == nullptr)
            return nullptr;
        const std::size_t next = PositionInList(*cur) + 1;
        if (next < cur->List->size())
            return (*cur->List)[next].get();
    }
    return nullptr;
}
