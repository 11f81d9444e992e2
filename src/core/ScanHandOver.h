#pragma once

#include "DirEnumerator.h"
#include "DirThreading.h"
#include "TDirEntry.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <vector>

// An opened directory whose entry is already in the tree, with the first item of its enumeration
// read but not yet processed: whichever worker takes it reads the rest and fills the entry.
struct OpenedDir {
    std::unique_ptr<DirReader> Reader;
    TDirEntry* Entry = nullptr;
    DirItem First; // its name stays valid until the next call on Reader
    // Files split off a big directory that its reader is still reading: they are counted for
    // Entry, and First means nothing.
    bool FilesOnly = false;
};

// Where the workers of a scan meet: opened directories that busy workers hand to idle ones, the
// end of the scan (nothing pending and every worker waiting) and the first failure. A busy worker
// only reads one counter per subdirectory; the lock is taken when a worker waits, or when
// another worker hands it a directory. With several workers each reader travels through
// `threading` (Send on the giver, Receive on the taker, in the queue's order, under the lock).
class ScanHandOver {
public:
    ScanHandOver(unsigned workers, DirThreading& threading)
        : workers_(workers), threading_(threading) {}

    // A stale answer is harmless: it only moves one directory more or one fewer to the queue.
    bool SomeoneWaits() const { return waiting_.load(std::memory_order_relaxed) > 0; }

    // contract: false when the reader cannot travel to another thread; `dir` is then left to the
    // giver, untouched.
    bool Give(OpenedDir& dir);

    // contract: false when the scan is over or has failed; otherwise `dir` is the worker's next.
    bool Take(OpenedDir& dir);

    // Files counted for `entry` by another worker than the one that fills it: added once every
    // worker has stopped (AddSplitOffCounts), as that worker may be writing to the entry now.
    void RecordSplitOffCount(TDirEntry& entry, std::int64_t files, std::int64_t bytes);
    void AddSplitOffCounts();

    // Stops the scan: waiting workers return, busy ones stop at their next directory.
    void Fail(std::exception_ptr error);
    bool Failed() const { return failed_.load(std::memory_order_relaxed); }
    void RethrowFailure() const;

private:
    const unsigned workers_;
    DirThreading& threading_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<OpenedDir> pending_;    // given and not yet taken, oldest first, as Receive needs
    std::atomic<unsigned> waiting_{0}; // written under mutex_
    bool over_ = false;
    std::atomic<bool> failed_{false};
    std::exception_ptr failure_;
    struct SplitOffCount {
        TDirEntry* Entry;
        std::int64_t Files;
        std::int64_t Bytes;
    };
    std::vector<SplitOffCount> splitOffCounts_;
};
