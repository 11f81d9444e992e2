#pragma once

#include <ostream>

class TDirEntry;

// The scanned tree as one JSON object per directory, nested through "children":
//   {"name": "...", "files": N, "bytes": N, "total_files": N, "total_bytes": N, "subdirs": N,
//    "children": [ ... ]}
// The root's name is the starting directory as given. A name that is not valid UTF-8 is written
// with U+FFFD for each bad byte and gets a "name_hex" member with its raw bytes in lowercase hex.
// subdirs counts every directory below. The numbers are exact 64-bit integers. The tree is
// written as it is walked, without building a document in memory.
class TreeJsonWriter {
public:
    TreeJsonWriter() = delete;
    static void Write(const TDirEntry& root, std::ostream& out);
};
