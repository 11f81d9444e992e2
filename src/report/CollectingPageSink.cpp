#include "CollectingPageSink.h"

#include <utility>

void CollectingPageSink::PageFinished(std::shared_ptr<const ReportPage> page) {
    Pages_.push_back(std::move(page));
}

std::vector<std::shared_ptr<const ReportPage>> CollectingPageSink::TakePages() {
    return std::exchange(Pages_, {});
}
