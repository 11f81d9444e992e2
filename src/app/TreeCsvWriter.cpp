#include "TreeCsvWriter.h"

#include "DirTree.h"
#include "TDirEntry.h"

#include <string>
#include <string_view>
#include <vector>

namespace {

void WriteField(std::ostream& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out << field;
        return;
    }
    out << '"';
    for (const char c : field) {
        if (c == '"')
            out << '"';
        out << c;
    }
    out << '"';
}

// The path of the entry being written, kept in one buffer: going down appends a name, going to
// a sibling or back up first cuts the buffer to the parent's length. Memory stays linear in the
// depth of the tree.
class PathBuffer {
public:
    const std::string& Enter(const TDirEntry& entry, int depth) {
        const auto level = static_cast<std::size_t>(depth - 1);
        if (level == 0) {
            path_ = entry.Name;
        } else {
            path_.resize(ends_[level - 1]);
            path_ = NormaliseStartPath(path_) + entry.Name;
        }
        ends_.resize(level);
        ends_.push_back(path_.size());
        return path_;
    }

private:
    std::string path_;
    std::vector<std::size_t> ends_; // where the path of each level ends
};

} // namespace

void TreeCsvWriter::Write(const TDirEntry& root, std::ostream& out) {
    out << "path,depth,files,bytes,total_files,total_bytes,subdirs\r\n";
    PathBuffer path;
    for (const TDirEntry* entry = &root; entry != nullptr; entry = NextEntry(*entry, false)) {
        const int depth = EntryDepth(*entry);
        WriteField(out, path.Enter(*entry, depth));
        out << ',' << depth << ',' << entry->Files << ',' << entry->Bytes << ','
            << TotalFileCount(*entry) << ',' << TotalSize(*entry) << ',' << TotalSubdirCount(*entry)
            << "\r\n";
    }
}
