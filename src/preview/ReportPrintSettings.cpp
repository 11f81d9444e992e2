#include "ReportPrintSettings.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

QPageLayout::Orientation ToPageLayout(PageOrientation orientation) {
    return orientation == PageOrientation::Landscape ? QPageLayout::Landscape
                                                     : QPageLayout::Portrait;
}

PageOrientation FromPageLayout(QPageLayout::Orientation orientation) {
    return orientation == QPageLayout::Landscape ? PageOrientation::Landscape
                                                 : PageOrientation::Portrait;
}

bool IsInstalledPrinter(const QString& name) {
    return !name.isEmpty() && !QPrinterInfo::printerInfo(name).isNull();
}

} // namespace

void ApplyPrintSettings(const ReportPrintSettings& settings, QPrinter& printer) {
    if (!settings.OutputFileName.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(settings.OutputFileName);
    } else {
        printer.setOutputFormat(QPrinter::NativeFormat);
        // A printer that has gone since setup was confirmed leaves the default printer in place.
        if (IsInstalledPrinter(settings.PrinterName))
            printer.setPrinterName(settings.PrinterName);
    }
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(ToPageLayout(settings.Orientation));
    printer.setPaperSource(QPrinter::Auto);
    printer.setDuplex(QPrinter::DuplexNone);
    printer.setFullPage(true);
    printer.setCopyCount(qMax(1, settings.Copies));
    if (settings.PrintsAllPages()) {
        printer.setPrintRange(QPrinter::AllPages);
        printer.setFromTo(0, 0);
    } else {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(settings.FirstPage, settings.LastPage);
    }
}

ReportPrintSettings PrintSettingsFrom(const QPrinter& printer) {
    ReportPrintSettings settings;
    if (printer.outputFormat() == QPrinter::PdfFormat)
        settings.OutputFileName = printer.outputFileName();
    else if (printer.printerName() != QPrinterInfo::defaultPrinterName())
        // The default printer is kept as "the default", so a later change of it is followed.
        settings.PrinterName = printer.printerName();
    settings.Copies = qMax(1, printer.copyCount());
    settings.Orientation = FromPageLayout(printer.pageLayout().orientation());
    if (printer.printRange() == QPrinter::PageRange) {
        settings.FirstPage = printer.fromPage();
        settings.LastPage = printer.toPage();
    }
    return settings;
}

bool CanPrint(const ReportPrintSettings& settings) {
    return !settings.OutputFileName.isEmpty() || !QPrinterInfo::availablePrinters().isEmpty();
}
