#pragma once

#include <ostream>

class TDirEntry;

// The scanned tree as CSV (RFC 4180: CRLF line ends, fields quoted when they hold a comma, a
// quote, CR or LF, quotes doubled). A header row, then one row per directory in pre-order:
//   path,depth,files,bytes,total_files,total_bytes,subdirs
// path is the starting directory as given joined by "/" with the names below it, in the bytes
// the file system gave; depth counts the root as 1; subdirs counts every directory below.
class TreeCsvWriter {
public:
    TreeCsvWriter() = delete;
    static void Write(const TDirEntry& root, std::ostream& out);
};
