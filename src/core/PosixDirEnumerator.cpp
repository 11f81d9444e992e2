#include "PosixDirEnumerator.h"

#include "KernelFileSystems.h"
#include "MountTable.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <string>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

namespace {

bool IsKernelVirtualFileSystem(int fd) {
    struct statfs fs {};
    return fstatfs(fd, &fs) == 0 && IsKernelFileSystemMagic(static_cast<unsigned long>(fs.f_type));
}

// Without a kernel virtual file system mounted below the start, no directory of the scan needs
// the per-directory check (an fstat each, and an fstatfs on every change of device). One that is
// mounted while the scan runs is not seen; the check cannot be sure of that either.
bool NeedsMountChecks(int startFd) {
    char canonical[PATH_MAX];
    const std::string self = "/proc/self/fd/" + std::to_string(startFd);
    const ssize_t length = readlink(self.c_str(), canonical, sizeof canonical);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof canonical || canonical[0] != '/')
        return true;
    return MountTable::ReadOwn().KernelFileSystemBelow(std::string_view(canonical, length));
}

constexpr std::size_t kBufferSize = 32 * 1024;

// getdents64 writes its records at 8-byte boundaries.
struct alignas(alignof(struct dirent64)) DirentBuffer {
    char Bytes[kBufferSize];
};

// A directory read to its end gives its buffer back to the thread, and the next directory this
// thread reads takes it: a scan allocates a buffer per thread, not one per directory.
thread_local std::unique_ptr<DirentBuffer> tSpareBuffer;

std::unique_ptr<DirentBuffer> TakeBuffer() {
    if (tSpareBuffer)
        return std::move(tSpareBuffer);
    return std::make_unique_for_overwrite<DirentBuffer>();
}

void GiveBackBuffer(std::unique_ptr<DirentBuffer> buffer) {
    if (buffer && !tSpareBuffer)
        tSpareBuffer = std::move(buffer);
}

// The memory of one reader, dropped by this thread and not yet reused; freed with the thread.
struct SpareReaderMemory {
    void* Memory = nullptr;
    ~SpareReaderMemory() { ::operator delete(Memory); }
};
thread_local SpareReaderMemory tSpareReader;

// One open directory. It owns its descriptor and, while it is being read, the buffer that
// getdents64 fills; the names it delivers point into that buffer. The buffer goes as soon as the
// directory is read to its end, while the descriptor stays for opening subdirectories.
class PosixDirReader final : public DirReader {
public:
    // A scan makes and drops one reader per directory: each thread keeps the memory of the last
    // one it dropped for the next one it makes.
    static void* operator new(std::size_t size) {
        if (size == sizeof(PosixDirReader) && tSpareReader.Memory != nullptr)
            return std::exchange(tSpareReader.Memory, nullptr);
        return ::operator new(size);
    }
    static void operator delete(void* memory, std::size_t size) {
        if (size == sizeof(PosixDirReader) && tSpareReader.Memory == nullptr)
            tSpareReader.Memory = memory;
        else
            ::operator delete(memory);
    }

    // contract: with `checkMounts`, each opened subdirectory is tested for a kernel virtual file
    // system; without, none can be below (the mount table said so at the start).
    PosixDirReader(int fd, dev_t device, bool checkMounts)
        : fd_(fd), device_(device), checkMounts_(checkMounts) {}
    ~PosixDirReader() override {
        if (fd_ >= 0)
            close(fd_);
        GiveBackBuffer(std::move(buffer_));
    }

    // For moving the reader to another thread's descriptor table; -1 while it travels, and after a
    // failed arrival, when its calls fail as on a closed directory.
    int Descriptor() const { return fd_; }
    void CloseDescriptor() {
        close(fd_);
        fd_ = -1;
    }
    void SetDescriptor(int fd) { fd_ = fd; }

    DirStep Next(DirItem& item) override {
        for (;;) {
            if (pos_ >= end_) {
                const DirStep refill = Refill();
                if (refill != DirStep::Item)
                    return refill;
            }
            const auto* d = reinterpret_cast<const struct dirent64*>(buffer_->Bytes + pos_);
            pos_ += d->d_reclen;
            if (Describe(*d, item))
                return DirStep::Item;
        }
    }

    std::unique_ptr<DirReader> OpenSubdir(std::string_view name) override {
        // openat needs a 0-terminated name: a copy into a string that keeps its capacity, so that
        // long names cost no allocation each.
        thread_local std::string tNameCopy;
        if (fd_ < 0)
            return nullptr;
        tNameCopy.assign(name);
        const int fd =
            openat(fd_, tNameCopy.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            return nullptr;
        if (!checkMounts_)
            return std::make_unique<PosixDirReader>(fd, device_, false);
        struct stat st {};
        if (fstat(fd, &st) != 0 || (st.st_dev != device_ && IsKernelVirtualFileSystem(fd))) {
            close(fd);
            return nullptr;
        }
        return std::make_unique<PosixDirReader>(fd, st.st_dev, true);
    }

    std::unique_ptr<DirReader> SplitOffFiles() override {
        if (!buffer_ || fd_ < 0 || !HasSplittableRecord())
            return nullptr;
        const int fd = fcntl(fd_, F_DUPFD_CLOEXEC, 0); // for looking at the items; never read
        if (fd < 0)
            return nullptr;
        std::unique_ptr<PosixDirReader> share;
        try {
            share = std::make_unique<PosixDirReader>(fd, device_, checkMounts_);
            share->buffer_ = TakeBuffer();
        } catch (...) {
            if (!share)
                close(fd);
            throw;
        }
        share->finished_ = true; // its descriptor shares this one's position: it must not read
        MoveSplittableRecords(*share);
        return share;
    }

private:
    // Records whose kind the file system gave and that are not directories (nor "." and "..").
    static bool IsSplittable(const struct dirent64& d) {
        return d.d_type != DT_DIR && d.d_type != DT_UNKNOWN;
    }

    bool HasSplittableRecord() const {
        for (std::size_t p = pos_; p < end_;) {
            const auto* d = reinterpret_cast<const struct dirent64*>(buffer_->Bytes + p);
            if (IsSplittable(*d))
                return true;
            p += d->d_reclen;
        }
        return false;
    }

    // The records not yet delivered are partitioned: the splittable ones are copied to `share`,
    // the others moved together in place. The records already delivered stay where they are.
    void MoveSplittableRecords(PosixDirReader& share) {
        std::size_t kept = pos_;
        for (std::size_t p = pos_; p < end_;) {
            auto* d = reinterpret_cast<struct dirent64*>(buffer_->Bytes + p);
            const std::size_t length = d->d_reclen;
            if (IsSplittable(*d)) {
                std::memcpy(share.buffer_->Bytes + share.end_, d, length);
                share.end_ += length;
            } else {
                if (kept != p)
                    std::memmove(buffer_->Bytes + kept, d, length);
                kept += length;
            }
            p += length;
        }
        end_ = kept;
    }

    DirStep Refill() {
        if (finished_)
            return finalStep_;
        if (!buffer_)
            buffer_ = TakeBuffer();
        ssize_t n;
        do {
            n = getdents64(fd_, buffer_->Bytes, kBufferSize);
        } while (n < 0 && errno == EINTR);
        if (n <= 0) {
            finished_ = true;
            finalStep_ = n == 0 ? DirStep::End : DirStep::Failed;
            GiveBackBuffer(std::move(buffer_));
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
    dev_t device_; // meaningful with checkMounts_ only
    bool checkMounts_;
    bool finished_ = false;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    std::unique_ptr<DirentBuffer> buffer_;
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

void PosixDirEnumerator::WorkerStarted() {
    // A copy of the shared table for this thread alone: when it fails, the thread keeps using the
    // shared one, which only costs speed.
    unshare(CLONE_FILES);
}

// Every reader of a scan comes from this enumerator, so each is one of ours.
bool PosixDirEnumerator::Send(DirReader& reader) {
    auto& posix = static_cast<PosixDirReader&>(reader);
    if (!channel_.Send(posix.Descriptor()))
        return false;
    posix.CloseDescriptor(); // the channel holds the directory now
    return true;
}

void PosixDirEnumerator::Receive(DirReader& reader) {
    static_cast<PosixDirReader&>(reader).SetDescriptor(channel_.Receive());
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
    return std::make_unique<PosixDirReader>(fd, st.st_dev, NeedsMountChecks(fd));
}
