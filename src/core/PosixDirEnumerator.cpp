#include "PosixDirEnumerator.h"

#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

namespace {

// Kernel virtual file systems: their files report sizes that are not on any disk (/proc/kcore
// alone claims 128 TiB), so a listing does not descend into them below its start.
bool IsKernelVirtualFileSystem(int fd) {
    struct statfs fs {};
    if (fstatfs(fd, &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case PROC_SUPER_MAGIC:
    case SYSFS_MAGIC:
    case DEBUGFS_MAGIC:
    case TRACEFS_MAGIC:
    case CGROUP_SUPER_MAGIC:
    case CGROUP2_SUPER_MAGIC:
    case SECURITYFS_MAGIC:
    case DEVPTS_SUPER_MAGIC:
    case BPF_FS_MAGIC:
    case PSTOREFS_MAGIC:
    case EFIVARFS_MAGIC:
    case SELINUX_MAGIC:
    case SMACK_MAGIC:
    case BINFMTFS_MAGIC:
    case NSFS_MAGIC:
    case 0x62656570: // configfs
    case 0x65735543: // fusectl
        return true;
    default:
        return false;
    }
}

constexpr std::size_t kBufferSize = 32 * 1024;

// One open directory. It owns its descriptor and the buffer that getdents64 fills; the names it
// delivers point into that buffer. The buffer goes as soon as the directory is read to its end,
// while the descriptor stays for opening subdirectories (a parallel scan opens them later).
class PosixDirReader final : public DirReader {
public:
    PosixDirReader(int fd, dev_t device)
        : fd_(fd), device_(device), buffer_(new char[kBufferSize]) {}
    ~PosixDirReader() override { close(fd_); }

    DirStep Next(DirItem& item) override {
        for (;;) {
            if (pos_ >= end_) {
                const DirStep refill = Refill();
                if (refill != DirStep::Item)
                    return refill;
            }
            const auto* d = reinterpret_cast<const struct dirent64*>(buffer_.get() + pos_);
            pos_ += d->d_reclen;
            if (Describe(*d, item))
                return DirStep::Item;
        }
    }

    std::unique_ptr<DirReader> OpenSubdir(std::string_view name) override {
        // Names delivered by this reader end with the 0 of their record; any other name is copied.
        std::string copy;
        const char* cname = name.data();
        if (!InBuffer(cname) || cname[name.size()] != '\0') {
            copy.assign(name);
            cname = copy.c_str();
        }
        const int fd = openat(fd_, cname, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            return nullptr;
        struct stat st {};
        if (fstat(fd, &st) != 0 || (st.st_dev != device_ && IsKernelVirtualFileSystem(fd))) {
            close(fd);
            return nullptr;
        }
        return std::make_unique<PosixDirReader>(fd, st.st_dev);
    }

private:
    bool InBuffer(const char* p) const {
        return buffer_ && p >= buffer_.get() && p < buffer_.get() + kBufferSize;
    }

    DirStep Refill() {
        if (!buffer_)
            return finalStep_;
        ssize_t n;
        do {
            n = getdents64(fd_, buffer_.get(), kBufferSize);
        } while (n < 0 && errno == EINTR);
        if (n <= 0) {
            finalStep_ = n == 0 ? DirStep::End : DirStep::Failed;
            buffer_.reset();
            pos_ = end_ = 0;
            return finalStep_;
        }
        pos_ = 0;
        end_ = static_cast<std::size_t>(n);
        return DirStep::Item;
    }

    // The kind comes from the record where the file system gives it; only non-directories and
    // unknown kinds are looked at with lstat semantics. An item gone meanwhile is not delivered.
    bool Describe(const struct dirent64& d, DirItem& item) {
        item.Name = std::string_view(d.d_name);
        item.Size = 0;
        if (d.d_type == DT_DIR) {
            item.Kind = DirItemKind::Directory;
            return true;
        }
        struct stat st {};
        if (fstatat(fd_, d.d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (d.d_type == DT_UNKNOWN || errno == ENOENT)
                return false;
            item.Kind = DirItemKind::File; // kind known, size withheld (no search permission)
            return true;
        }
        item.Kind = S_ISDIR(st.st_mode) ? DirItemKind::Directory : DirItemKind::File;
        item.Size = item.Kind == DirItemKind::File ? static_cast<std::int64_t>(st.st_size) : 0;
        return true;
    }

    int fd_;
    dev_t device_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    std::unique_ptr<char[]> buffer_; // new[] aligns for any record
    DirStep finalStep_ = DirStep::End;
};

void RaiseDescriptorLimit() {
    struct rlimit limit {};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}

} // namespace

PosixDirEnumerator::PosixDirEnumerator() {
    RaiseDescriptorLimit();
}

std::unique_ptr<DirReader> PosixDirEnumerator::OpenStart(const std::string& path) {
    // An empty path names the current directory. A start that is a link to a directory is
    // followed: the user named it.
    const int fd = open(path.empty() ? "." : path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat st {};
    if (fstat(fd, &st) != 0) {
        close(fd);
        return nullptr;
    }
    return std::make_unique<PosixDirReader>(fd, st.st_dev);
}
