#pragma once

#include "TDirEntry.h"

#include <string>

// The tree in pre-order, one line per entry: indentation by depth, name, own files and bytes, and
// "[]" for an empty SubDirs list. Also checks every structural invariant on the way and reports a
// broken one in the text, so a comparison shows it.
inline void AppendTreeText(const TDirEntry& e, const TDirList& holder, const TDirEntry* parent, std::string& out) {
    out += std::string(2 * (EntryDepth(e) - 1), ' ') + e.Name + " " + std::to_string(e.Files) + " " +
           std::to_string(e.Bytes);
    if (e.SubDirs && e.SubDirs->empty())
        out += " []";
    if (e.List != &holder || e.Parent != parent || e.Files < 0 || e.Bytes < 0)
        out += " BROKEN";
    out += "\n";
    if (!e.SubDirs)
        return;
    for (std::size_t i = 0; i < e.SubDirs->size(); ++i) {
        if (i > 0 && CompareEntryNames(*(*e.SubDirs)[i - 1], *(*e.SubDirs)[i]) >= 0)
            out += "UNSORTED\n";
        AppendTreeText(*(*e.SubDirs)[i], *e.SubDirs, &e, out);
    }
}

inline std::string TreeText(const TDirList& list) {
    std::string out;
    for (const auto& e : list)
        AppendTreeText(*e, list, nullptr, out);
    return out;
}
