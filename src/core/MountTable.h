#pragma once

#include <string>
#include <string_view>
#include <vector>

// The mounts of this process's view of the file system, as the kernel lists them in
// /proc/self/mountinfo: where each is mounted and its file-system type.
class MountTable {
public:
    struct Mount {
        std::string Point; // absolute, with the table's octal escapes undone
        std::string Type;
    };

    // The table of this process; Known() is false when it cannot be read.
    static MountTable ReadOwn();

    // Parses the text of a mountinfo file; lines it cannot read are left out.
    explicit MountTable(std::string_view mountinfo);

    bool Known() const { return known_; }
    const std::vector<Mount>& Mounts() const { return mounts_; }

    // contract: `dir` is absolute and canonical (no "." or ".." steps, no links, no trailing "/"
    // except for "/" itself). True when a kernel virtual file system is mounted strictly below
    // it, and whenever the table is not known.
    bool KernelFileSystemBelow(std::string_view dir) const;

private:
    MountTable() = default;

    std::vector<Mount> mounts_;
    bool known_ = false;
};
