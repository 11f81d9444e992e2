#include "ParallelFloorWalk.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t kDirentBufferSize = 32 * 1024;

struct alignas(alignof(dirent64)) DirentBuffer {
    char Bytes[kDirentBufferSize];
};

bool IsDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Open directories waiting for a thread, and who is waiting. The walk is over when every thread
// waits and nothing is pending.
class HandOver {
public:
    explicit HandOver(unsigned threads) : threads_(threads) {}

    // Cheap enough to ask for every subdirectory: a stale answer only moves one directory more
    // or one fewer.
    bool SomeoneWaits() const { return waiting_.load(std::memory_order_relaxed) > 0; }

    void Give(int dirFd) {
        {
            std::lock_guard lock(mutex_);
            pending_.push_back(dirFd);
        }
        wake_.notify_one();
    }

    // contract: false when the walk is over; otherwise dirFd is an open directory to walk.
    bool Take(int& dirFd) {
        std::unique_lock lock(mutex_);
        waiting_.fetch_add(1, std::memory_order_relaxed);
        if (waiting_.load(std::memory_order_relaxed) == threads_ && pending_.empty()) {
            over_ = true;
            wake_.notify_all();
        }
        wake_.wait(lock, [this] { return over_ || !pending_.empty(); });
        waiting_.fetch_sub(1, std::memory_order_relaxed);
        if (pending_.empty())
            return false;
        dirFd = pending_.back();
        pending_.pop_back();
        return true;
    }

private:
    const unsigned threads_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<int> pending_;
    std::atomic<unsigned> waiting_{0};
    bool over_ = false;
};

// One thread's walk: its own buffers, one per depth level, and its own totals.
class Walker {
public:
    explicit Walker(HandOver& handOver) : handOver_(handOver) {}

    void Run() {
        int dirFd = -1;
        while (handOver_.Take(dirFd))
            WalkOpenDir(dirFd, 0);
    }

    const ScanTotals& Totals() const { return totals_; }

private:
    char* BufferAt(std::size_t depth) {
        while (buffers_.size() <= depth)
            buffers_.push_back(std::make_unique<DirentBuffer>());
        return buffers_[depth]->Bytes;
    }

    // contract: takes ownership of dirFd and closes it before returning.
    void WalkOpenDir(int dirFd, std::size_t depth) {
        ++totals_.Directories;
        char* const buffer = BufferAt(depth);
        for (;;) {
            const ssize_t filled = ::getdents64(dirFd, buffer, kDirentBufferSize);
            if (filled <= 0)
                break;
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
                        continue;
                    isDir = S_ISDIR(st.st_mode);
                }
                if (isDir) {
                    const int subFd =
                        ::openat(dirFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
                    if (subFd < 0)
                        continue;
                    if (handOver_.SomeoneWaits())
                        handOver_.Give(subFd);
                    else
                        WalkOpenDir(subFd, depth + 1);
                    continue;
                }
                ++totals_.Files;
                totals_.Bytes += st.st_size;
            }
        }
        ::close(dirFd);
    }

    HandOver& handOver_;
    std::vector<std::unique_ptr<DirentBuffer>> buffers_;
    ScanTotals totals_;
};

} // namespace

ParallelFloorWalk::ParallelFloorWalk(unsigned threads) : threads_(std::max(threads, 1u)) {}

ScanTotals ParallelFloorWalk::Walk(const std::string& path) const {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return ScanTotals{};
    HandOver handOver(threads_);
    handOver.Give(fd);
    std::vector<Walker> walkers;
    walkers.reserve(threads_); // the threads hold references: no reallocation after this
    for (unsigned i = 0; i < threads_; ++i)
        walkers.emplace_back(handOver);
    {
        std::vector<std::jthread> threads;
        for (Walker& walker : walkers)
            threads.emplace_back([&walker] { walker.Run(); });
    } // joins
    ScanTotals totals;
    for (const Walker& walker : walkers) {
        totals.Files += walker.Totals().Files;
        totals.Bytes += walker.Totals().Bytes;
        totals.Directories += walker.Totals().Directories;
    }
    return totals;
}
