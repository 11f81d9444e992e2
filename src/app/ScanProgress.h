#pragma once

#include "DirEnumerator.h"

#include <chrono>
#include <cstdint>
#include <functional>

// An enumerator that passes a scan through to another one and counts what it delivers: the
// directories opened, the files met and their bytes. Now and then, at most once per interval
// and never before the first interval has passed, it hands the counts so far to a callback, so
// a short scan reports nothing and a long one shows that it is alive.
class ScanProgress final : public DirEnumerator {
public:
    struct Counts {
        std::int64_t Dirs = 0;
        std::int64_t Files = 0;
        std::int64_t Bytes = 0;
    };
    using Clock = std::chrono::steady_clock;
    using Callback = std::function<void(const Counts&)>;

    // `inner` is not owned and must outlive every reader this enumerator opens.
    ScanProgress(DirEnumerator& inner, Callback callback, Clock::duration interval);

    std::unique_ptr<DirReader> OpenStart(const std::string& path) override;

    const Counts& Totals() const { return Counts_; }
    // Whether the callback has been called at all.
    bool Reported() const { return Reported_; }

private:
    class CountingReader;

    std::unique_ptr<DirReader> Wrap(std::unique_ptr<DirReader> reader);
    void CountItem(const DirItem& item);
    void MaybeReport();

    DirEnumerator& Inner_;
    Callback Callback_;
    Clock::duration Interval_;
    Clock::time_point NextReport_;
    Counts Counts_;
    std::uint32_t SinceClockCheck_ = 0;
    bool Reported_ = false;
};
