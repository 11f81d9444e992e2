#include "MountTable.h"

#include "KernelFileSystems.h"

#include <fstream>
#include <sstream>

namespace {

// The table writes a space, a tab, a newline and a backslash in a path as \040, \011, \012, \134.
bool IsOctalDigit(char c, char highest = '7') {
    return c >= '0' && c <= highest;
}

std::string Unescape(std::string_view field) {
    std::string text;
    text.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        const bool escape = field[i] == '\\' && field.size() - i > 3 &&
                            IsOctalDigit(field[i + 1], '3') && IsOctalDigit(field[i + 2]) &&
                            IsOctalDigit(field[i + 3]);
        if (!escape) {
            text.push_back(field[i]);
            continue;
        }
        text.push_back(static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                         (field[i + 3] - '0')));
        i += 3;
    }
    return text;
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t pos = 0;
    while (pos < line.size()) {
        const std::size_t end = std::min(line.find(' ', pos), line.size());
        if (end > pos)
            fields.push_back(line.substr(pos, end - pos));
        pos = end + 1;
    }
    return fields;
}

// "36 35 98:0 /mnt1 /mnt/parent rw,noatime master:1 - ext3 /dev/root rw": the mount point is the
// fifth field; the type follows the "-" that ends the optional fields.
bool ParseLine(std::string_view line, MountTable::Mount& mount) {
    const std::vector<std::string_view> fields = Fields(line);
    if (fields.size() < 7)
        return false;
    for (std::size_t i = 6; i + 1 < fields.size(); ++i) {
        if (fields[i] == "-") {
            mount.Point = Unescape(fields[4]);
            mount.Type = std::string(fields[i + 1]);
            return !mount.Point.empty() && mount.Point.front() == '/';
        }
    }
    return false;
}

bool IsStrictlyBelow(std::string_view point, std::string_view dir) {
    if (dir == "/")
        return point.size() > 1;
    return point.size() > dir.size() && point.substr(0, dir.size()) == dir &&
           point[dir.size()] == '/';
}

} // namespace

MountTable MountTable::ReadOwn() {
    std::ifstream file("/proc/self/mountinfo");
    if (!file)
        return MountTable();
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad())
        return MountTable();
    return MountTable(text.str());
}

MountTable::MountTable(std::string_view mountinfo) : known_(true) {
    std::size_t pos = 0;
    while (pos < mountinfo.size()) {
        const std::size_t end = std::min(mountinfo.find('\n', pos), mountinfo.size());
        Mount mount;
        if (ParseLine(mountinfo.substr(pos, end - pos), mount))
            mounts_.push_back(std::move(mount));
        pos = end + 1;
    }
}

bool MountTable::KernelFileSystemBelow(std::string_view dir) const {
    if (!known_)
        return true;
    for (const Mount& mount : mounts_) {
        if (IsKernelFileSystemType(mount.Type) && IsStrictlyBelow(mount.Point, dir))
            return true;
    }
    return false;
}
