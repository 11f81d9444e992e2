#include "ScanHandOver.h"

#include "SaturatingAdd.h"

bool ScanHandOver::Give(OpenedDir& dir) {
    {
        std::lock_guard lock(mutex_);
        if (workers_ > 1 && !threading_.Send(*dir.Reader))
            return false;
        pending_.push_back(std::move(dir));
    }
    wake_.notify_one();
    return true;
}

bool ScanHandOver::Take(OpenedDir& dir) {
    std::unique_lock lock(mutex_);
    const unsigned waiting = waiting_.load(std::memory_order_relaxed) + 1;
    waiting_.store(waiting, std::memory_order_relaxed);
    if (waiting == workers_ && pending_.empty()) {
        over_ = true;
        wake_.notify_all();
    }
    wake_.wait(lock, [this] { return over_ || Failed() || !pending_.empty(); });
    waiting_.store(waiting_.load(std::memory_order_relaxed) - 1, std::memory_order_relaxed);
    if (pending_.empty() || Failed())
        return false;
    dir = std::move(pending_.front());
    pending_.pop_front();
    if (workers_ > 1)
        threading_.Receive(*dir.Reader);
    return true;
}

void ScanHandOver::RecordSplitOffCount(TDirEntry& entry, std::int64_t files, std::int64_t bytes) {
    std::lock_guard lock(mutex_);
    splitOffCounts_.push_back({&entry, files, bytes});
}

void ScanHandOver::AddSplitOffCounts() {
    for (const SplitOffCount& count : splitOffCounts_) {
        count.Entry->Files = SaturatingAdd(count.Entry->Files, count.Files);
        count.Entry->Bytes = SaturatingAdd(count.Entry->Bytes, count.Bytes);
    }
    splitOffCounts_.clear();
}

void ScanHandOver::Fail(std::exception_ptr error) {
    {
        std::lock_guard lock(mutex_);
        if (!failure_)
            failure_ = error;
        failed_.store(true, std::memory_order_relaxed);
    }
    wake_.notify_all();
}

void ScanHandOver::RethrowFailure() const {
    if (failure_)
        std::rethrow_exception(failure_);
}
