#pragma once

#include "ReportPage.h"

#include <memory>

// Receives the pages of a pass one at a time, each as soon as it is finished: when the next page
// starts, or when the pass completes. A page once handed over is never changed again, so a
// viewer can show it while later pages are still being built.
class PageSink {
public:
    virtual ~PageSink() = default;
    virtual void PageFinished(std::shared_ptr<const ReportPage> page) = 0;
};
