#include "RunTexts.h"

#include "TDirEntry.h"
#include "TFormReport.h"

#include <QDate>
#include <QLocale>

void SetRunTexts(TFormReport& report, const TDirEntry& root, const RunTextValues& values) {
    report.QR.SetColumns(values.Columns);
    // Shrinking first makes the label take the normal font's height anew, even an equal font.
    report.QRLabelSize.SetFontPointSize(1);
    report.QRLabelSize.SetHeightPixels(1);
    report.QRLabelSize.SetFont(values.NormalFont);
    report.QRLabelCaption.SetCaption(values.Caption);
    report.QRLabelDate.SetCaption(
        values.Date ? QStringLiteral("printed on ") +
                          QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat)
                    : QString());
    if (values.Summary) {
        report.QRLabelSummary.SetCaption(QStringLiteral("overall: ") +
                                         report.SizeText(TotalSize(root), 3));
        report.QRLabelSummary2.SetCaption(
            QString::number(TotalFileCount(root)) + QStringLiteral(" files, ") +
            QString::number(TotalSubdirCount(root)) + QStringLiteral(" subdirs"));
    } else {
        report.QRLabelSummary.SetCaption(QString());
        report.QRLabelSummary2.SetCaption(QString());
    }
}
