#pragma once

#include "TDirEntry.h"

#include <memory>
#include <string>

class DirEnumerator;

// Owns the tree of one listing run, from BuildTree to ReleaseTree.
class DirTree {
public:
    // None before BuildTree and after ReleaseTree; after BuildTree a list holding the root at
    // index 0, or empty when the starting directory cannot be enumerated.
    std::unique_ptr<TDirList> DirList;

    // Scans `path` with the real file system, or with `enumerator` where one is given, and sorts
    // the tree. Reports nothing: an unreadable start leaves DirList empty.
    void BuildTree(const std::string& path);
    void BuildTree(const std::string& path, DirEnumerator& enumerator);

    // Frees every entry and list, each entry after its whole subtree. Without a tree: nothing.
    void ReleaseTree();

    // The root, or nullptr when there is no tree or it is empty.
    TDirEntry* Root() const;
};

// The path the scan opens for a starting path: empty stays empty, a trailing "/" stays, any
// other path gets "/" appended.
std::string NormaliseStartPath(const std::string& path);
