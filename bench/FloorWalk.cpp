#include "FloorWalk.h"

#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kDirentBufferSize = 32 * 1024;

bool IsDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

int OpenSubdir(int parentFd, const char* name) {
    return ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

} // namespace

// Aligned for the kernel's dirent64 records, which getdents64 writes at 8-byte boundaries.
struct alignas(alignof(dirent64)) FloorWalk::DirentBuffer {
    char Bytes[kDirentBufferSize];
};

FloorWalk::FloorWalk() = default;
FloorWalk::~FloorWalk() = default;

ScanTotals FloorWalk::Walk(const std::string& path) {
    totals_ = ScanTotals{};
    // The start itself may be a link, as a typed path may be; only the items below are not
    // followed.
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return totals_;
    WalkOpenDir(fd, 0);
    return totals_;
}

FloorWalk::DirentBuffer& FloorWalk::BufferAt(std::size_t depth) {
    // A directory's buffer must survive the walks of its subdirectories, hence one per level.
    while (buffers_.size() <= depth)
        buffers_.push_back(std::make_unique<DirentBuffer>());
    return *buffers_[depth];
}

// contract: takes ownership of dirFd and closes it before returning.
void FloorWalk::WalkOpenDir(int dirFd, std::size_t depth) {
    ++totals_.Directories;
    char* const buffer = BufferAt(depth).Bytes;
    for (;;) {
        const ssize_t filled = ::getdents64(dirFd, buffer, kDirentBufferSize);
        if (filled <= 0)
            break; // end of the directory, or a read error: keep what was counted
        for (ssize_t offset = 0; offset < filled;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer + offset);
            offset += entry->d_reclen;
            const char* name = entry->d_name;
            if (IsDotOrDotDot(name))
                continue;
            bool isDir = entry->d_type == DT_DIR;
            struct stat st;
            if (!isDir) {
                if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                    continue; // gone since the read: neither file nor directory any more
                // Only a file system that leaves d_type unknown gets here with a directory.
                isDir = S_ISDIR(st.st_mode);
            }
            if (isDir) {
                const int subFd = OpenSubdir(dirFd, name);
                if (subFd >= 0)
                    WalkOpenDir(subFd, depth + 1);
                continue;
            }
            ++totals_.Files;
            totals_.Bytes += st.st_size;
        }
    }
    ::close(dirFd);
}
