#pragma once

#include "PageSink.h"

#include <memory>
#include <vector>

// Keeps every finished page in the order it arrived.
class CollectingPageSink final : public PageSink {
public:
    void PageFinished(std::shared_ptr<const ReportPage> page) override;

    const std::vector<std::shared_ptr<const ReportPage>>& Pages() const { return Pages_; }
    std::vector<std::shared_ptr<const ReportPage>> TakePages();

private:
    std::vector<std::shared_ptr<const ReportPage>> Pages_;
};
