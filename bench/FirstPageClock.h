#pragma once

#include "PageSink.h"

#include <chrono>
#include <memory>
#include <vector>

// Keeps the pages of a pass and the time at which the first one was handed over: how long a
// preview would show nothing.
class FirstPageClock final : public PageSink {
public:
    // Starts the clock and forgets the pages of an earlier pass.
    void Start();
    void PageFinished(std::shared_ptr<const ReportPage> page) override;

    // Milliseconds from Start to the first page; negative when no page came.
    double FirstPageMs() const { return firstPageMs_; }
    const std::vector<std::shared_ptr<const ReportPage>>& Pages() const { return pages_; }

private:
    std::chrono::steady_clock::time_point start_;
    double firstPageMs_ = -1;
    std::vector<std::shared_ptr<const ReportPage>> pages_;
};
