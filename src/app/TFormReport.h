#pragma once

#include "BandedReport.h"

#include <QString>

#include <string>

class ListingOptions;
class TDirEntry;

// The report of a listing: the bands and labels of the page, and the two callbacks that feed one
// detail line per directory in pre-order. It reads the tree and every option through
// ListingOptions when it needs them and keeps no state but the entry it prints next.
class TFormReport {
public:
    // `decimalSeparator`: the user's, read once at program start.
    TFormReport(const ListingOptions& options, std::string decimalSeparator);
    TFormReport(const TFormReport&) = delete;
    TFormReport& operator=(const TFormReport&) = delete;

    BandedReport QR;
    ReportBand& TitleBand1;
    ReportLabel& QRLabelCaption;
    ReportBand& DetailBand;
    ReportLabel& QRLabelDir;
    ReportLabel& QRLabelSize;
    ReportLabel& QRLabelDate;
    ReportBand& SummaryBand1;
    ReportLabel& QRLabelSummary;
    ReportLabel& QRLabelC;
    ReportLabel& QRLabelSummary2;

    void QRBeforePrint(bool& PrintReport);
    void QRNeedData(bool& MoreData);

    // The figures text of one detail line: own count and size, and subtree totals where the
    // entry has two or more subdirectories.
    QString FiguresText(const TDirEntry& entry) const;

    // The size text in the user's decimal separator.
    QString SizeText(std::int64_t bytes, int decimals) const;

private:
    const ListingOptions& Options_;
    std::string DecimalSeparator_;
    TDirEntry* CurEntry = nullptr; // not owned: the tree belongs to the run
};
