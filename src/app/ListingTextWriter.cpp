#include "ListingTextWriter.h"

#include "FirstPrintedEntry.h"
#include "ListingOptions.h"
#include "TFormReport.h"

#include <QFile>

namespace {

void WriteLine(std::ostream& out, const QString& text) {
    out << text.toLocal8Bit().toStdString() << '\n';
}

} // namespace

void ListingTextWriter::Write(TFormReport& report, const ListingOptions& options, Sections sections,
                              std::ostream& out) {
    WriteLine(out, report.QRLabelCaption.Caption());
    if (sections.Date)
        WriteLine(out, report.QRLabelDate.Caption());
    out << '\n';

    bool printReport = true;
    report.QRBeforePrint(printReport);
    // The report's labels hold the names decoded for display; the walk beside it supplies the
    // raw bytes and the depth of each line the callbacks produce.
    const TDirEntry* entry = FirstPrintedEntry(options.DirList(), options.CBroot());
    const int topDepth = entry ? EntryDepth(*entry) : 1;
    for (;;) {
        bool moreData = false;
        report.QRNeedData(moreData);
        if (!moreData || entry == nullptr)
            break;
        Q_ASSERT(report.QRLabelDir.Caption() ==
                 QFile::decodeName(QByteArray::fromStdString(entry->Name)));
        out << std::string(2 * static_cast<std::size_t>(EntryDepth(*entry) - topDepth), ' ')
            << entry->Name;
        const QString figures = report.QRLabelSize.Caption();
        if (!figures.isEmpty())
            out << "  " << figures.toLocal8Bit().toStdString();
        out << '\n';
        entry = NextEntry(*entry, false);
    }

    out << '\n';
    if (sections.Summary) {
        WriteLine(out, report.QRLabelSummary.Caption());
        WriteLine(out, report.QRLabelSummary2.Caption());
    }
}
