#pragma once

#include "BandedReport.h"
#include "PageSink.h"
#include "PageView.h"
#include "ReportPrintSettings.h"
#include "ui_ReportPreview.h"

#include <QMainWindow>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QActionGroup;
class QLabel;

// The print preview of a report: the pages of one pass as they are built, zoom, page
// navigation, printer setup, printing (a new pass onto the printer), save and load.
//
// Ownership: the caller owns the report and the print settings and keeps both alive beyond the
// window; the window shares the pages it shows. While the window exists, the report's
// ProcessEvents hook dispatches pending events between lines, so every window stays usable
// during a pass; the hook the report had before is put back when the window goes.
//
// States: building (a pass is filling the window; Print, Printer setup, Save and Load are off),
// complete, closed. Closing while a pass runs, the preview's own or a print, cancels that pass.
class ReportPreview : public QMainWindow, private PageSink {
    Q_OBJECT
public:
    using PageList = std::vector<std::shared_ptr<const ReportPage>>;
    using ErrorReporter = std::function<void(const QString& message)>;

    // Opens a preview of the report and returns once it has closed or the application is ending.
    // Returns at once, without effect, when the report is already in a pass. The report is laid
    // out in the settings' orientation; a confirmed printer setup stores its choices there.
    static void Preview(BandedReport& report, ReportPrintSettings& settings);

    ReportPreview(BandedReport& report, ReportPrintSettings& settings, QWidget* parent = nullptr);
    ~ReportPreview() override;

    // Runs the preview's pass into the window. Pages appear as they are finished; the first is
    // shown as soon as it exists.
    BandedReport::PassResult Build();
    // Dispatches events until the window has closed or the application is quitting.
    void WaitUntilClosed();

    bool IsBuilding() const { return Building_; }
    bool IsClosed() const { return Closed_; }
    bool ShowsLoadedPages() const { return Loaded_; }
    const PageList& Pages() const { return Pages_; }
    int PageCount() const { return static_cast<int>(Pages_.size()); }
    // Counts from 1; 0 while there is no page.
    int CurrentPage() const { return Current_; }
    // Clamped to the pages built so far.
    void ShowPage(int number);

    // Prints: a new pass of the report onto the printer, or the loaded pages. Does nothing
    // while building, and nothing when no printer is installed and no output file is set.
    void Print();
    // Stores the choices of a confirmed printer setup and lays the report out in their
    // orientation from the next pass on.
    void ApplyPrinterSetup(const ReportPrintSettings& chosen);

    // The file work behind Save and Load, reporting a failure through the error reporter.
    // SaveTo writes a PDF for a ".pdf" path and a page file otherwise, and writes nothing until
    // every page is built. LoadFrom replaces the pages only when the whole file is good.
    bool SaveTo(const QString& path);
    bool LoadFrom(const QString& path);

    // By default failures show in a message box over the window.
    void SetErrorReporter(ErrorReporter reporter) { ReportError_ = std::move(reporter); }

    Ui::ReportPreview ui;

signals:
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void PageFinished(std::shared_ptr<const ReportPage> page) override;

    void SetUpActions();
    void ConnectActions();
    void ShowZoom(PageView::Zoom zoom);
    void UpdateActions();
    void UpdateStatus();
    void PrinterSetupClick();
    void SaveClick();
    void LoadClick();

    BandedReport& Report_;          // owned by the caller, outlives the window
    ReportPrintSettings& Settings_; // owned by the caller, outlives the window
    std::function<void()> EarlierProcessEvents_;
    ErrorReporter ReportError_;
    QActionGroup* ZoomGroup_; // owned by the window
    QLabel* PageLabel_;       // owned by the status bar
    QLabel* BuildingLabel_;   // owned by the status bar
    PageList Pages_;
    int Current_ = 0;
    bool Building_ = false;
    bool Printing_ = false;
    bool Loaded_ = false;
    bool Closed_ = false;
};
