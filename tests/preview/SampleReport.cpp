#include "SampleReport.h"

#include <QFont>
#include <QStringList>

namespace {

constexpr double TitleHeight = 71.4;
constexpr double SummaryHeight = 129.6;
constexpr double LineHeight = 40;
constexpr double IndentPerLevel = 50;

QFont Arial(int pointSize, bool bold = false) {
    QFont font(QStringLiteral("Arial"), pointSize);
    font.setBold(bold);
    return font;
}

void SetUp(ReportLabel& label, const QFont& font, TextAlignment alignment, bool alignToBand,
           const QString& caption) {
    label.SetFont(font);
    label.SetAlignment(alignment);
    label.SetAlignToBand(alignToBand);
    label.SetCaption(caption);
}

// Names that read like a directory tree, so that a screenshot looks like a listing.
const QStringList& Names() {
    static const QStringList names{
        QStringLiteral("home"),    QStringLiteral("projects"), QStringLiteral("tarn"),
        QStringLiteral("src"),     QStringLiteral("report"),   QStringLiteral("tests"),
        QStringLiteral("docs"),    QStringLiteral("photos"),   QStringLiteral("pictures"),
        QStringLiteral("holiday"), QStringLiteral("music"),    QStringLiteral("archive")};
    return names;
}

int DepthOf(int line) {
    return line == 1 ? 0 : 1 + (line * 7) % 4;
}

} // namespace

SampleReport::SampleReport(int lines, int columns)
    : Lines(lines), Caption_(Report.TitleBand().AddLabel()), Date_(Report.TitleBand().AddLabel()),
      Name_(Report.DetailBand().AddLabel()), Size_(Report.DetailBand().AddLabel()),
      Summary_(Report.SummaryBand().AddLabel()), Summary2_(Report.SummaryBand().AddLabel()) {
    Report.SetReportTitle(QStringLiteral("tarn"));
    Report.SetColumns(columns);
    Report.TitleBand().SetHeight(TitleHeight);
    Report.SummaryBand().SetHeight(SummaryHeight);
    SetUp(Caption_, Arial(16, true), TextAlignment::Center, true,
          QStringLiteral("directory listing"));
    SetUp(Date_, Arial(8), TextAlignment::Right, true, QStringLiteral("printed on 11.12.24"));
    SetUp(Name_, Arial(10), TextAlignment::Left, false, QString());
    SetUp(Size_, Arial(8), TextAlignment::Right, true, QString());
    SetUp(Summary_, Arial(10, true), TextAlignment::Left, false,
          QStringLiteral("overall: 1.234gb"));
    Summary_.SetLeft(63.5);
    Summary_.SetTop(10.6);
    SetUp(Summary2_, Arial(10, true), TextAlignment::Left, false,
          QStringLiteral("%1 files, %2 subdirs").arg(lines * 9).arg(lines - 1));
    Summary2_.SetLeft(63.5);
    Summary2_.SetTop(52.9);

    Report.BeforePrint = [this](bool&) {
        ++BeforePrintCalls;
        LinesProduced = 0;
    };
    Report.OnNeedData = [this](bool& moreData) { ProduceLine(moreData); };
}

void SampleReport::ProduceLine(bool& moreData) {
    moreData = LinesProduced < Lines;
    if (!moreData)
        return;
    const int line = ++LinesProduced;
    const QString name = line == 1 ? QStringLiteral("/home/user")
                                   : Names()[line % Names().size()] + QString::number(line);
    Name_.SetCaption(name);
    Name_.SetLeft(DepthOf(line) * IndentPerLevel);
    Size_.SetCaption(QStringLiteral("%1 files (%2.%3kb)")
                         .arg(line % 17)
                         .arg(line * 3)
                         .arg(line % 100, 2, 10, QLatin1Char('0')));
    Report.DetailBand().SetHeight(LineHeight);
    if (AfterLine)
        AfterLine(line);
}
