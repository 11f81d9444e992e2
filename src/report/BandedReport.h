#pragma once

#include "PageSetup.h"
#include "ReportBand.h"

#include <QString>

#include <cstdint>
#include <functional>

class PageSink;

// A report of one title band, one detail band printed once per line of data, and one summary
// band, laid out in columns on pages. The caller sets up the bands and their labels, installs the
// callbacks, and runs passes; each pass hands its pages to a PageSink.
//
// One pass:
//   1. BeforePrint(PrintReport), PrintReport preset to true; false ends the pass (Skipped).
//   2. OnNeedData(MoreData), MoreData preset to false; false ends the pass with no page (Empty).
//   3. The title band is placed, which opens page 1.
//   4. As long as MoreData came back true: ProcessEvents(); if Cancel() was called the pass ends
//      (Cancelled: the page in progress is dropped, the summary not printed); the detail band is
//      placed as the callback left it; OnNeedData(MoreData).
//   5. The summary band is placed and the last page is handed over (Completed).
// A pass started while one is running (say from ProcessEvents) returns AlreadyRunning at once.
class BandedReport {
public:
    enum class PassResult : std::uint8_t { Completed, Cancelled, Skipped, Empty, AlreadyRunning };

    BandedReport();
    BandedReport(const BandedReport&) = delete;
    BandedReport& operator=(const BandedReport&) = delete;

    // Changes to the page re-lay the bands at once: the detail band spans one column, the title
    // and summary bands the full width between the margins. A pass under way keeps the page it
    // started with.
    const PageSetup& Page() const { return Page_; }
    void SetPage(const PageSetup& page);
    void SetColumns(int columns);
    void SetOrientation(PageOrientation orientation);

    // Names the pages' target: the preview's caption, the print job, the PDF's title.
    const QString& ReportTitle() const { return ReportTitle_; }
    void SetReportTitle(const QString& title) { ReportTitle_ = title; }

    // The resolution at which labels measure themselves and pixel values convert; 96 unless the
    // caller lays out for a particular screen.
    int LayoutDpi() const { return LayoutDpi_; }
    void SetLayoutDpi(int dpi);

    ReportBand& TitleBand() { return Title_; }
    ReportBand& DetailBand() { return Detail_; }
    ReportBand& SummaryBand() { return Summary_; }
    const ReportBand& TitleBand() const { return Title_; }
    const ReportBand& DetailBand() const { return Detail_; }
    const ReportBand& SummaryBand() const { return Summary_; }

    std::function<void(bool& PrintReport)> BeforePrint;
    std::function<void(bool& MoreData)> OnNeedData;
    // Called before each detail line so that the user interface stays alive during a pass.
    std::function<void()> ProcessEvents;

    PassResult Run(PageSink& sink);
    bool IsRunning() const { return Running_; }
    // Stops the pass under way before its next detail line; no effect when idle.
    void Cancel();

private:
    void LayBands();
    bool NeedData();

    PageSetup Page_;
    QString ReportTitle_;
    int LayoutDpi_;
    ReportBand Title_;
    ReportBand Detail_;
    ReportBand Summary_;
    bool Running_ = false;
    bool Cancelled_ = false;
};
