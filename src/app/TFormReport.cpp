#include "TFormReport.h"

#include "FirstPrintedEntry.h"
#include "ListingOptions.h"
#include "SizeStr.h"
#include "TDirEntry.h"

#include <QFile>

namespace {

// Lengths of the layout in tenths of a millimetre.
constexpr double kTitleHeight = 71.4;
constexpr double kDetailHeight = 50.3;
constexpr double kSummaryHeight = 129.6;
constexpr double kSummaryIndent = 63.5;

const QString kCreditLine = QStringLiteral("tarn v0.1 - a small directory-tree printing tool");

QFont Arial(int points, bool bold = false) {
    QFont font(QStringLiteral("Arial"), points);
    font.setBold(bold);
    return font;
}

ReportLabel& AddLabel(ReportBand& band, const QString& caption, const QFont& font, double top,
                      double height, TextAlignment alignment, bool alignToBand, double left = 0) {
    ReportLabel& label = band.AddLabel();
    label.SetAutoSize(true);
    label.SetAlignment(alignment);
    label.SetAlignToBand(alignToBand);
    label.SetTop(top);
    label.SetHeight(height);
    label.SetLeft(left);
    label.SetFont(font);
    label.SetCaption(caption);
    return label;
}

ReportBand& SetUpBand(ReportBand& band, double height) {
    band.SetHeight(height);
    return band;
}

QString Count(std::int64_t n, const char* noun) {
    QString text = QString::number(n) + QLatin1Char(' ') + QLatin1String(noun);
    if (n > 1)
        text += QLatin1Char('s');
    return text;
}

} // namespace

TFormReport::TFormReport(const ListingOptions& options, std::string decimalSeparator)
    : TitleBand1(SetUpBand(QR.TitleBand(), kTitleHeight)),
      QRLabelCaption(AddLabel(TitleBand1, QStringLiteral("directory listing"), Arial(16, true), 0,
                              66.1, TextAlignment::Center, true)),
      DetailBand(SetUpBand(QR.DetailBand(), kDetailHeight)),
      QRLabelDir(AddLabel(DetailBand, QStringLiteral("QRLabelDir"), Arial(10), 0, 45.0,
                          TextAlignment::Left, false)),
      QRLabelSize(AddLabel(DetailBand, QStringLiteral("QRLabelSize"), Arial(10), 0, 45.0,
                           TextAlignment::Right, true)),
      QRLabelDate(AddLabel(TitleBand1, QStringLiteral("QRLabelDate"), Arial(8), 0, 39.7,
                           TextAlignment::Right, true)),
      SummaryBand1(SetUpBand(QR.SummaryBand(), kSummaryHeight)),
      QRLabelSummary(AddLabel(SummaryBand1, QStringLiteral("QRLabelSummary"), Arial(10, true), 10.6,
                              45.0, TextAlignment::Left, false, kSummaryIndent)),
      QRLabelC(AddLabel(SummaryBand1, kCreditLine, Arial(6), 95.3, 29.1, TextAlignment::Left, false,
                        kSummaryIndent)),
      QRLabelSummary2(AddLabel(SummaryBand1, QStringLiteral("QRLabelSummary2"), Arial(10, true),
                               52.9, 45.0, TextAlignment::Left, false, kSummaryIndent)),
      Options_(options), DecimalSeparator_(std::move(decimalSeparator)) {
    QR.SetReportTitle(QStringLiteral("tarn"));
    QR.SetColumns(3);
    QR.BeforePrint = [this](bool& PrintReport) { QRBeforePrint(PrintReport); };
    QR.OnNeedData = [this](bool& MoreData) { QRNeedData(MoreData); };
}

void TFormReport::QRBeforePrint(bool& /*PrintReport*/) {
    CurEntry = FirstPrintedEntry(Options_.DirList(), Options_.CBroot());
}

void TFormReport::QRNeedData(bool& MoreData) {
    // The reset makes the font assignment below a real change, so every line is measured in
    // its own font, lower or higher than the line before.
    QRLabelDir.SetFontPointSize(1);
    QRLabelDir.SetHeightPixels(1);
    if (CurEntry == nullptr) {
        MoreData = false;
        return;
    }
    const int depth = EntryDepth(*CurEntry);
    QRLabelDir.SetFont(depth <= Options_.FontDepth() ? Options_.FontDialogSpecial()
                                                     : Options_.FontDialogNormal());
    QRLabelDir.SetLeftPixels((Options_.CBroot() ? depth : depth - 1) * Options_.TrackBarTab());
    QRLabelDir.SetCaption(QFile::decodeName(QByteArray::fromStdString(CurEntry->Name)));
    DetailBand.SetHeight(QRLabelDir.Height());
    QRLabelSize.SetCaption(FiguresText(*CurEntry));
    CurEntry = NextEntry(*CurEntry, false);
    MoreData = true;
}

QString TFormReport::SizeText(std::int64_t bytes, int decimals) const {
    return QString::fromStdString(
        SizeStr(bytes, static_cast<std::uint8_t>(decimals), DecimalSeparator_));
}

QString TFormReport::FiguresText(const TDirEntry& entry) const {
    QString s;
    if (Options_.CBfc() && entry.Files > 0)
        s += Count(entry.Files, "file");
    if (Options_.CBhd() && entry.Bytes > 0) {
        if (!s.isEmpty())
            s += QLatin1Char(' ');
        s += QLatin1Char('(') + SizeText(entry.Bytes, 2) + QLatin1Char(')');
    }
    if (!entry.SubDirs || entry.SubDirs->size() < 2)
        return s;
    QString t;
    if (Options_.CBtfc()) {
        const std::int64_t tf = TotalFileCount(entry);
        if (entry.Files < tf)
            t += Count(tf, "file");
    }
    if (Options_.CBthd()) {
        const std::int64_t tb = TotalSize(entry);
        if (entry.Bytes < tb) {
            if (!t.isEmpty())
                t += QLatin1Char(' ');
            t += QLatin1Char('(') + SizeText(tb, 2);
            if (Options_.CBsdc())
                t += QStringLiteral(" in ") + QString::number(TotalSubdirCount(entry)) +
                     QStringLiteral(" subdirs");
            t += QLatin1Char(')');
        }
    }
    if (!t.isEmpty()) {
        if (!s.isEmpty())
            s += QStringLiteral(", ");
        s += QStringLiteral("total: ") + t;
    }
    return s;
}
