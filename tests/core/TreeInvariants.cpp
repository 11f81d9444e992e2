#include "TreeInvariants.h"

#include <algorithm>
#include <set>
#include <utility>

namespace {

// Both walks keep their own stack rather than recursing: a hostile tree is thousands of levels
// deep, and the aggregates that the checks call recurse that deep on their own.
struct Pending {
    const TDirList* List;
    const TDirEntry* Parent;
    std::int32_t Depth;
};

std::string NameOf(const TDirEntry* e) {
    return e ? "\"" + e->Name + "\"" : "the top";
}

class InvariantChecker {
public:
    std::vector<std::string> Check(const TDirList& top) {
        if (top.size() > 1)
            broken_.push_back("the top list holds more than the root");
        std::vector<Pending> pending{{&top, nullptr, 1}};
        while (!pending.empty()) {
            const Pending next = pending.back();
            pending.pop_back();
            CheckList(next, pending);
        }
        if (!top.empty() && top.front()) {
            const TDirEntry& root = *top.front();
            // Own counts that are never negative add up, saturating, to totals that are not.
            if (TotalFileCount(root) < 0 || TotalSize(root) < 0 || TotalSubdirCount(root) < 0)
                broken_.push_back("a negative total at the root");
        }
        return std::move(broken_);
    }

private:
    void CheckList(const Pending& at, std::vector<Pending>& pending) {
        const TDirList& list = *at.List;
        for (std::size_t i = 0; i < list.size(); ++i) {
            const TDirEntry* e = list[i].get();
            if (e == nullptr) {
                broken_.push_back("a null entry in the list of " + NameOf(at.Parent));
                continue;
            }
            if (i > 0 && list[i - 1] && CompareEntryNames(*list[i - 1], *e) >= 0)
                broken_.push_back("not in ascending order: " + list[i - 1]->Name + " before " +
                                  e->Name);
            if (CheckEntry(*e, list, at.Parent) && e->SubDirs)
                pending.push_back({e->SubDirs.get(), e, at.Depth + 1});
        }
    }

    // False when the entry was met before: its subtree is being checked already.
    bool CheckEntry(const TDirEntry& e, const TDirList& holder, const TDirEntry* parent) {
        const std::string name = NameOf(&e);
        if (!seen_.insert(&e).second) {
            broken_.push_back(name + " is held more than once");
            return false;
        }
        if (e.List != &holder)
            broken_.push_back(name + ": List is not the list that holds it");
        if (e.Parent != parent)
            broken_.push_back(name + ": Parent is not the entry whose SubDirs holds it");
        if (parent != nullptr && (e.Name.empty() || e.Name == "." || e.Name == ".." ||
                                  e.Name.find('/') != std::string::npos))
            broken_.push_back(name + ": not a bare directory name");
        if (e.Files < 0 || e.Bytes < 0)
            broken_.push_back(name + ": negative own count");
        return true;
    }

    std::vector<std::string> broken_;
    std::set<const TDirEntry*> seen_;
};

} // namespace

std::vector<std::string> BrokenInvariants(const TDirList& top) {
    return InvariantChecker().Check(top);
}

TreeCounts CountTree(const TDirList& top) {
    TreeCounts counts;
    std::vector<Pending> pending{{&top, nullptr, 1}};
    while (!pending.empty()) {
        const Pending next = pending.back();
        pending.pop_back();
        for (const auto& e : *next.List) {
            ++counts.Dirs;
            counts.Files += e->Files;
            counts.Bytes += e->Bytes;
            counts.Depth = std::max(counts.Depth, next.Depth);
            if (e->SubDirs)
                pending.push_back({e->SubDirs.get(), e.get(), next.Depth + 1});
        }
    }
    return counts;
}
