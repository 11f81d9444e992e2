#include "PrinterPageSink.h"

#include "PageRenderer.h"
#include "ReportPage.h"

#include <QDir>
#include <QPageLayout>

namespace {

QPageLayout::Orientation OrientationOf(const ReportPage& page) {
    return page.PaperSize.width() > page.PaperSize.height() ? QPageLayout::Landscape
                                                            : QPageLayout::Portrait;
}

QString PrinterDescription(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return QDir::toNativeSeparators(printer.outputFileName());
    return printer.printerName();
}

} // namespace

PrinterPageSink::PrinterPageSink(const ReportPrintSettings& settings, const QString& jobName)
    : Settings_(settings), Printer_(QPrinter::HighResolution) {
    ApplyPrintSettings(Settings_, Printer_);
    Printer_.setDocName(jobName);
    Printer_.setCreator(jobName);
}

PrinterPageSink::~PrinterPageSink() {
    if (Painter_.isActive())
        Abort();
}

void PrinterPageSink::PageFinished(std::shared_ptr<const ReportPage> page) {
    ++PagesSeen_;
    if (!page || !Error_.isEmpty() || !Settings_.PrintsPage(PagesSeen_))
        return;
    if (!Painter_.isActive()) {
        if (!BeginJob(*page))
            return;
    } else {
        // The paper of the next sheet is fixed before the sheet starts.
        SetPaperFor(*page);
        Printer_.newPage();
    }
    PageRenderer::Render(Painter_, *page);
    ++PagesDrawn_;
}

QString PrinterPageSink::Finish() {
    if (Painter_.isActive())
        Painter_.end();
    if (Error_.isEmpty() && Printer_.printerState() == QPrinter::Error)
        Error_ = QStringLiteral("Printing to %1 failed").arg(PrinterDescription(Printer_));
    return Error_;
}

void PrinterPageSink::Abort() {
    if (!Painter_.isActive())
        return;
    Printer_.abort();
    Painter_.end();
}

bool PrinterPageSink::BeginJob(const ReportPage& page) {
    SetPaperFor(page);
    if (Painter_.begin(&Printer_))
        return true;
    Error_ = QStringLiteral("Cannot print to %1").arg(PrinterDescription(Printer_));
    return false;
}

void PrinterPageSink::SetPaperFor(const ReportPage& page) {
    // The page knows how it was laid out; the sheet follows it, so a print of pages loaded from
    // a file, or laid out before setup changed, still lands on the paper the right way round.
    Printer_.setPageOrientation(OrientationOf(page));
}
