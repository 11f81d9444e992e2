#pragma once

#include "TDirEntry.h"

#include <memory>
#include <string>

class DirEnumerator;

// Owns the tree of one listing run, from BuildTree to ReleaseTree.
class DirTree {
public:
    DirTree() = default;
    DirTree(const DirTree&) = delete;
    DirTree& operator=(const DirTree&) = delete;
    ~DirTree() { ReleaseTree(); } // the release never recurses, whatever the depth

    // None before BuildTree and after ReleaseTree; after BuildTree a list holding the root at
    // index 0, or empty when the starting directory cannot be enumerated.
    std::unique_ptr<TDirList> DirList;

    // Scans `path` and sorts the tree. Reports nothing: an unreadable start leaves DirList empty.
    // The real file system is scanned by `threads` workers while the caller waits (0: one per
    // core; 1: on the calling thread alone); the sorted tree is the same either way. With an
    // `enumerator` of the caller's the scan runs on the calling thread, depth first, each
    // directory enumerated while its parent's enumeration stays open.
    void BuildTree(const std::string& path, unsigned threads = 0);
    void BuildTree(const std::string& path, DirEnumerator& enumerator);

    // Frees every entry and list, each entry after its whole subtree. Without a tree: nothing.
    void ReleaseTree();

    // The root, or nullptr when there is no tree or it is empty.
    TDirEntry* Root() const;
};

// The path the scan opens for a starting path: empty stays empty, a trailing "/" stays, any
// other path gets "/" appended.
std::string NormaliseStartPath(const std::string& path);
