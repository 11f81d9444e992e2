#pragma once

#include "DirEnumerator.h"
#include "SaturatingAdd.h"
#include "SortByName.h"
#include "TDirEntry.h"

#include <algorithm>
#include <memory>
#include <string_view>

// The steps that the serial and the parallel scan share, so both build the same tree.

// A directory's entry, not yet in `list`: the caller appends it before processing any item.
inline std::unique_ptr<TDirEntry> NewEntry(std::string_view name, TDirEntry* parent,
                                           TDirList& list) {
    auto entry = std::make_unique<TDirEntry>();
    entry->Name = name;
    entry->Parent = parent;
    entry->List = &list;
    return entry;
}

inline bool IsDotOrDotDot(std::string_view name) {
    return name == "." || name == "..";
}

// Created at the first subdirectory item, before it is scanned, so it stays, empty, when none is
// readable.
inline TDirList& SubDirsOf(TDirEntry& entry) {
    if (!entry.SubDirs)
        entry.SubDirs = std::make_unique<TDirList>();
    return *entry.SubDirs;
}

inline void CountFile(TDirEntry& entry, const DirItem& item) {
    entry.Files = SaturatingAdd(entry.Files, 1);
    entry.Bytes = SaturatingAdd(entry.Bytes, std::max<std::int64_t>(item.Size, 0));
}

// Puts a finished list in name order, the order of discovery leaving no trace, and drops the
// growth slack that its appends left.
inline void FinishList(TDirList& list) {
    SortByName(list);
    list.shrink_to_fit();
}
