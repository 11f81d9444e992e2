#include "TreeJsonWriter.h"

#include "TDirEntry.h"
#include "Utf8Repair.h"

#include <string>
#include <string_view>

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

// A JSON string of valid UTF-8 text: quotes, backslashes and control characters escaped.
void WriteString(std::ostream& out, std::string_view text) {
    out << '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out << "\\\"";
            break;
        case '\\':
            out << "\\\\";
            break;
        case '\n':
            out << "\\n";
            break;
        case '\r':
            out << "\\r";
            break;
        case '\t':
            out << "\\t";
            break;
        default:
            if (byte < 0x20)
                out << "\\u00" << kHexDigits[byte >> 4] << kHexDigits[byte & 0xF];
            else
                out << c;
        }
    }
    out << '"';
}

std::string Hex(std::string_view bytes) {
    std::string hex;
    hex.reserve(2 * bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex += kHexDigits[byte >> 4];
        hex += kHexDigits[byte & 0xF];
    }
    return hex;
}

// Everything of the entry's object up to the opening of its children array.
void OpenEntry(std::ostream& out, const TDirEntry& entry) {
    const std::string name = ReplaceInvalidUtf8(entry.Name);
    out << "{\"name\":";
    WriteString(out, name);
    if (name != entry.Name)
        out << ",\"name_hex\":\"" << Hex(entry.Name) << '"';
    out << ",\"files\":" << entry.Files << ",\"bytes\":" << entry.Bytes
        << ",\"total_files\":" << TotalFileCount(entry) << ",\"total_bytes\":" << TotalSize(entry)
        << ",\"subdirs\":" << TotalSubdirCount(entry) << ",\"children\":[";
}

bool IsFirstInList(const TDirEntry& entry) {
    return entry.List == nullptr || entry.List->front().get() == &entry;
}

} // namespace

void TreeJsonWriter::Write(const TDirEntry& root, std::ostream& out) {
    // A pre-order walk: each step down opens one object, each step up closes as many as the
    // levels it climbs, so no recursion is needed however deep the tree is.
    int depth = 0;
    for (const TDirEntry* entry = &root; entry != nullptr; entry = NextEntry(*entry, false)) {
        const int next = EntryDepth(*entry);
        for (; depth >= next; --depth)
            out << "]}";
        if (!IsFirstInList(*entry))
            out << ',';
        OpenEntry(out, *entry);
        depth = next;
    }
    for (; depth > 0; --depth)
        out << "]}";
    out << '\n';
}
