#pragma once

#include "PageSink.h"
#include "ReportPrintSettings.h"

#include <QPainter>
#include <QPrinter>
#include <QString>

#include <memory>

// Prints pages as they arrive, each drawn anew at the printer's resolution. Pages outside the
// settings' page range are counted but not drawn. The job begins with the first page drawn, so
// a run that draws no page sends nothing to the printer.
//
// Use: hand it the pages (as a report pass's sink, or one by one), then call Finish() once, or
// Abort() when the pass was cancelled.
class PrinterPageSink final : public PageSink {
public:
    PrinterPageSink(const ReportPrintSettings& settings, const QString& jobName);
    PrinterPageSink(const PrinterPageSink&) = delete;
    PrinterPageSink& operator=(const PrinterPageSink&) = delete;
    ~PrinterPageSink() override;

    void PageFinished(std::shared_ptr<const ReportPage> page) override;

    // Ends the job. Returns an empty string, or one line saying why the printer refused the job.
    [[nodiscard]] QString Finish();
    // Ends the job without printing what it holds, where the printer supports that.
    void Abort();

    int PagesDrawn() const { return PagesDrawn_; }

private:
    bool BeginJob(const ReportPage& page);
    void SetPaperFor(const ReportPage& page);

    ReportPrintSettings Settings_;
    QPrinter Printer_;
    QPainter Painter_;
    int PagesSeen_ = 0;
    int PagesDrawn_ = 0;
    QString Error_;
};
