#include "FirstPageClock.h"

#include <utility>

void FirstPageClock::Start() {
    pages_.clear();
    firstPageMs_ = -1;
    start_ = std::chrono::steady_clock::now();
}

void FirstPageClock::PageFinished(std::shared_ptr<const ReportPage> page) {
    if (pages_.empty()) {
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start_;
        firstPageMs_ = took.count();
    }
    pages_.push_back(std::move(page));
}
