#include "DirTree.h"

#include "DirEnumerator.h"
#include "ParallelScan.h"
#include "PosixDirEnumerator.h"
#include "ScanSteps.h"

#include <algorithm>
#include <thread>

namespace {

void ScanDir(std::unique_ptr<DirReader> reader, TDirList& list, std::string_view name,
             TDirEntry* parent);

// Counts a file into the running directory's entry, or scans a subdirectory below it while the
// directory's own enumeration stays open (depth first).
void ProcessFound(const DirItem& item, DirReader& reader, TDirEntry& entry) {
    if (IsDotOrDotDot(item.Name))
        return;
    if (item.Kind == DirItemKind::Directory)
        ScanDir(reader.OpenSubdir(item.Name), SubDirsOf(entry), item.Name, &entry);
    else
        CountFile(entry, item);
}

// contract: a directory that cannot be opened, or delivers no first item, gets no entry. Otherwise
// its entry is appended to `list` before any of its items is processed, so everything counted is
// reachable from the top list even if a later allocation throws. The reader is released on return.
void ScanDir(std::unique_ptr<DirReader> reader, TDirList& list, std::string_view name,
             TDirEntry* parent) {
    if (!reader)
        return;
    DirItem item;
    if (reader->Next(item) != DirStep::Item)
        return;
    list.push_back(NewEntry(name, parent, list));
    TDirEntry& entry = *list.back();
    do {
        ProcessFound(item, *reader, entry);
    } while (reader->Next(item) == DirStep::Item);
}

// Sorts every list of the finished tree by name; the order of discovery leaves no trace.
void SortTree(TDirList& top) {
    // An explicit stack instead of recursion: a tree may be deeper than the thread's stack.
    std::vector<TDirList*> pending{&top};
    while (!pending.empty()) {
        TDirList& list = *pending.back();
        pending.pop_back();
        FinishList(list);
        for (const auto& entry : list) {
            if (entry->SubDirs)
                pending.push_back(entry->SubDirs.get());
        }
    }
}

// Frees each entry after its whole subtree, siblings in list order, each list after its
// entries, then the top list itself; without recursion, whatever the depth.
void FreeTree(std::unique_ptr<TDirList>& top) {
    struct Level {
        TDirList* List;
        std::size_t Next;
    };
    std::vector<Level> levels{{top.get(), 0}};
    while (!levels.empty()) {
        Level& level = levels.back();
        if (level.Next == level.List->size()) {
            levels.pop_back();
            if (!levels.empty()) { // the list just emptied is a SubDirs of its parent's entry
                Level& parent = levels.back();
                std::unique_ptr<TDirEntry>& owner = (*parent.List)[parent.Next];
                owner->SubDirs.reset();
                owner.reset();
                ++parent.Next;
            }
            continue;
        }
        std::unique_ptr<TDirEntry>& entry = (*level.List)[level.Next];
        if (entry->SubDirs) {
            levels.push_back({entry->SubDirs.get(), 0});
            continue;
        }
        entry.reset();
        ++level.Next;
    }
    top.reset();
}

} // namespace

std::string NormaliseStartPath(const std::string& path) {
    if (path.empty() || path.back() == '/')
        return path;
    return path + '/';
}

void DirTree::BuildTree(const std::string& path, unsigned threads) {
    if (threads == 0)
        threads = std::max(1u, std::thread::hardware_concurrency());
    PosixDirEnumerator enumerator;
    DirList = std::make_unique<TDirList>();
    ParallelScan(enumerator.OpenStart(NormaliseStartPath(path)), *DirList, path, threads,
                 enumerator.Threading());
}

void DirTree::BuildTree(const std::string& path, DirEnumerator& enumerator) {
    DirList = std::make_unique<TDirList>();
    ScanDir(enumerator.OpenStart(NormaliseStartPath(path)), *DirList, path, nullptr);
    SortTree(*DirList);
}

void DirTree::ReleaseTree() {
    if (DirList)
        FreeTree(DirList);
}

TDirEntry* DirTree::Root() const {
    return DirList && !DirList->empty() ? DirList->front().get() : nullptr;
}
