#pragma once

#include "PageSetup.h"

#include <QString>

class QPrinter;

// What printer setup chose for a report. The caller keeps one beside the report for as long as
// the report lives and hands it to every preview, so the choices carry over to later previews
// and prints.
struct ReportPrintSettings {
    QString PrinterName; // empty: the system's default printer
    int Copies = 1;
    PageOrientation Orientation = PageOrientation::Portrait;
    int FirstPage = 0; // 0 and 0: every page
    int LastPage = 0;
    QString OutputFileName; // not empty: print into this PDF file instead of onto a printer

    bool PrintsAllPages() const { return FirstPage == 0 && LastPage == 0; }
    // Page numbers count from 1.
    bool PrintsPage(int number) const {
        return PrintsAllPages() || (number >= FirstPage && number <= LastPage);
    }

    friend bool operator==(const ReportPrintSettings&, const ReportPrintSettings&) = default;
};

// Sets a printer up with the settings and with what every print of the report has in common: A4
// paper from the automatic source, one-sided, positions measured from the paper's edge.
void ApplyPrintSettings(const ReportPrintSettings& settings, QPrinter& printer);

// Reads back the choices a print dialog left in a printer set up by ApplyPrintSettings.
ReportPrintSettings PrintSettingsFrom(const QPrinter& printer);

// True when a print can reach paper or a file: an output file is named, or a printer is installed.
bool CanPrint(const ReportPrintSettings& settings);
