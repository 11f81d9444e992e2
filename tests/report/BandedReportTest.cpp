#include "BandedReport.h"
#include "CollectingPageSink.h"
#include "LayoutUnits.h"

#include <QTest>

#include <algorithm>
#include <vector>

Q_DECLARE_METATYPE(BandedReport::PassResult)

namespace {

constexpr double TitleHeight = 71.4;
constexpr double SummaryHeight = 129.6;
constexpr double LineHeight = 40; // the height the line callback gives the detail band

QFont Arial(int pointSize, bool bold = false) {
    QFont font(QStringLiteral("Arial"), pointSize);
    font.setBold(bold);
    return font;
}

// A report laid out as the listing is: a title with a centred caption and a right-aligned date, a
// detail band with a name on the left and a size text on the right edge, and a summary. The
// callbacks produce `lines` numbered lines and count how often they are called.
struct ListingReport {
    BandedReport Report;
    ReportLabel& Caption = Report.TitleBand().AddLabel();
    ReportLabel& Date = Report.TitleBand().AddLabel();
    ReportLabel& Name = Report.DetailBand().AddLabel();
    ReportLabel& Size = Report.DetailBand().AddLabel();
    ReportLabel& Summary = Report.SummaryBand().AddLabel();
    int Lines = 0;
    bool PrintReport = true;
    int BeforePrintCalls = 0;
    int NeedDataCalls = 0;
    int LinesProduced = 0;

    explicit ListingReport(int lines, int columns = 1) : Lines(lines) {
        Report.SetColumns(columns);
        Report.TitleBand().SetHeight(TitleHeight);
        Report.SummaryBand().SetHeight(SummaryHeight);
        Setup(Caption, Arial(16, true), TextAlignment::Center, true, QStringLiteral("listing"));
        Setup(Date, Arial(8), TextAlignment::Right, true, QStringLiteral("the date"));
        Setup(Name, Arial(10), TextAlignment::Left, false, QString());
        Setup(Size, Arial(10), TextAlignment::Right, true, QString());
        Setup(Summary, Arial(10, true), TextAlignment::Left, false, QStringLiteral("summary"));
        Summary.SetLeft(63.5);
        Summary.SetTop(10.6);

        Report.BeforePrint = [this](bool& printReport) {
            ++BeforePrintCalls;
            LinesProduced = 0;
            printReport = PrintReport;
        };
        Report.OnNeedData = [this](bool& moreData) {
            ++NeedDataCalls;
            moreData = LinesProduced < Lines;
            if (!moreData)
                return;
            ++LinesProduced;
            Name.SetCaption(QStringLiteral("name %1").arg(LinesProduced));
            Size.SetCaption(QStringLiteral("size %1").arg(LinesProduced));
            Report.DetailBand().SetHeight(LineHeight);
        };
    }

    static void Setup(ReportLabel& label, const QFont& font, TextAlignment alignment,
                      bool alignToBand, const QString& caption) {
        label.SetFont(font);
        label.SetAlignment(alignment);
        label.SetAlignToBand(alignToBand);
        label.SetCaption(caption);
    }
};

std::vector<const PageItem*> TextRuns(const ReportPage& page) {
    std::vector<const PageItem*> runs;
    for (const PageItem& item : page.Items) {
        if (item.ItemKind == PageItem::Kind::Text)
            runs.push_back(&item);
    }
    return runs;
}

const PageItem* FindText(const ReportPage& page, const QString& text) {
    for (const PageItem* run : TextRuns(page)) {
        if (run->Text == text)
            return run;
    }
    return nullptr;
}

} // namespace

class BandedReportTest : public QObject {
    Q_OBJECT

private slots:
    void passOutcome_data();
    void passOutcome();
    void oneLineGivesTitleLineAndSummary();
    void emptyCaptionKeepsBandHeight();
    void sizeTextEndsAtItsColumnsRightEdge_data();
    void sizeTextEndsAtItsColumnsRightEdge();
    void summaryStartsInTheLastLinesColumn();
    void columnChangeRelaysBands_data();
    void columnChangeRelaysBands();
    void cancelStopsBeforeTheNextLine();
    void passDuringPassIsRefused();
    void pagesArriveAsTheyFinish();
};

void BandedReportTest::passOutcome_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("columns");
    QTest::addColumn<bool>("printReport");
    QTest::addColumn<BandedReport::PassResult>("result");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("needDataCalls");

    using Result = BandedReport::PassResult;
    // One call per line and a last one that ends the listing.
    QTest::newRow("one line") << 1 << 1 << true << Result::Completed << 1 << 2;
    // The first call finds no line: not even the title prints.
    QTest::newRow("no line gives no page") << 0 << 1 << true << Result::Empty << 0 << 1;
    QTest::newRow("before-print refusal gives nothing")
        << 5 << 1 << false << Result::Skipped << 0 << 0;
    // 66 lines on page 1, 68 on page 2, 66 on page 3 up to 2740; the summary's 130 needs a
    // page 4.
    QTest::newRow("200 lines in 1 column") << 200 << 1 << true << Result::Completed << 4 << 201;
    // 132 lines on page 1, then 68 fill column 1 of page 2; the summary tops column 2.
    QTest::newRow("200 lines in 2 columns") << 200 << 2 << true << Result::Completed << 2 << 201;
}

void BandedReportTest::passOutcome() {
    QFETCH(int, lines);
    QFETCH(int, columns);
    QFETCH(bool, printReport);

    ListingReport listing(lines, columns);
    listing.PrintReport = printReport;
    CollectingPageSink sink;

    QTEST(listing.Report.Run(sink), "result");
    QTEST(static_cast<int>(sink.Pages().size()), "pages");
    QTEST(listing.NeedDataCalls, "needDataCalls");
    QCOMPARE(listing.BeforePrintCalls, 1);
    QVERIFY(!listing.Report.IsRunning());
}

void BandedReportTest::oneLineGivesTitleLineAndSummary() {
    ListingReport listing(1);
    CollectingPageSink sink;
    QCOMPARE(listing.Report.Run(sink), BandedReport::PassResult::Completed);
    QCOMPARE(sink.Pages().size(), 1u);
    const ReportPage& page = *sink.Pages().front();
    QCOMPARE(page.PaperSize, QSizeF(2100, 2970));

    // Labels print in the order they were added, bands in the order placed.
    std::vector<QString> texts;
    for (const PageItem* run : TextRuns(page))
        texts.push_back(run->Text);
    const std::vector<QString> expected{"listing", "the date", "name 1", "size 1", "summary"};
    QCOMPARE(texts, expected);

    // Each band's white fill comes first, then each label's fill below its text.
    QCOMPARE(page.Items.front().ItemKind, PageItem::Kind::Fill);
    QCOMPARE(page.Items.front().Rect, QRectF(100, 100, 1900, TitleHeight));
    QCOMPARE(page.Items.front().Colour, 0xffffffffu);
    const PageItem* name = FindText(page, QStringLiteral("name 1"));
    QCOMPARE(name->Rect, listing.Name.Rect().translated(100, 171));
    const auto nameIt = page.Items.begin() + (name - page.Items.data());
    QCOMPARE((nameIt - 1)->ItemKind, PageItem::Kind::Fill);
    QCOMPARE((nameIt - 1)->Rect, name->Rect);
    QCOMPARE(name->Colour, 0xff000000u);
    QCOMPARE(page.Fonts[name->FontIndex], Arial(10));

    // The summary follows the line at 171 + 40 and starts at its label's offsets.
    QCOMPARE(FindText(page, QStringLiteral("summary"))->Rect.topLeft(),
             QPointF(100 + 63.5, 211 + 10.6));
}

void BandedReportTest::emptyCaptionKeepsBandHeight() {
    ListingReport listing(1);
    listing.Caption.SetCaption(QString());
    listing.Date.SetCaption(QString());
    listing.Summary.SetCaption(QString());
    CollectingPageSink sink;
    listing.Report.Run(sink);
    const ReportPage& page = *sink.Pages().front();

    // No text for the empty labels, and the line still starts below the full title height.
    QCOMPARE(TextRuns(page).size(), 2u);
    QCOMPARE(FindText(page, QStringLiteral("name 1"))->Rect.top(), 171.0);
    const auto summaryFill =
        std::find_if(page.Items.begin(), page.Items.end(), [](const PageItem& item) {
            return item.ItemKind == PageItem::Kind::Fill && item.Rect.top() == 211;
        });
    QVERIFY(summaryFill != page.Items.end());
    QCOMPARE(summaryFill->Rect.height(), SummaryHeight);
}

void BandedReportTest::sizeTextEndsAtItsColumnsRightEdge_data() {
    QTest::addColumn<int>("columns");
    for (int columns = 1; columns <= PageSetup::MaxColumns; ++columns)
        QTest::addRow("%d columns", columns) << columns;
}

void BandedReportTest::sizeTextEndsAtItsColumnsRightEdge() {
    QFETCH(int, columns);

    // Every column of page 1 full, one line in each column of page 2.
    ListingReport listing(columns * 66 + columns, columns);
    CollectingPageSink sink;
    listing.Report.Run(sink);
    QCOMPARE(sink.Pages().size(), 2u);

    const double columnWidth = 1900.0 / columns;
    int sizeTexts = 0;
    for (const auto& page : sink.Pages()) {
        for (const PageItem* run : TextRuns(*page)) {
            if (!run->Text.startsWith(QLatin1String("size")))
                continue;
            ++sizeTexts;
            QCOMPARE(run->Alignment, TextAlignment::Right);
            const double offset = run->Rect.right() - 100;
            const int column = qRound(offset / columnWidth);
            QVERIFY2(column >= 1 && column <= columns, qPrintable(run->Text));
            QCOMPARE(offset, column * columnWidth);
        }
    }
    QCOMPARE(sizeTexts, listing.Lines);
}

void BandedReportTest::summaryStartsInTheLastLinesColumn() {
    // The 67th line opens column 2; the summary follows it there and keeps the full width.
    ListingReport listing(67, 2);
    CollectingPageSink sink;
    listing.Report.Run(sink);
    const ReportPage& page = *sink.Pages().front();
    QCOMPARE(FindText(page, QStringLiteral("name 67"))->Rect.left(), 1050.0);
    const auto summaryFill =
        std::find_if(page.Items.begin(), page.Items.end(), [](const PageItem& item) {
            return item.ItemKind == PageItem::Kind::Fill && item.Rect.height() == SummaryHeight;
        });
    QVERIFY(summaryFill != page.Items.end());
    QCOMPARE(summaryFill->Rect, QRectF(1050, 211, 1900, SummaryHeight));
}

void BandedReportTest::columnChangeRelaysBands_data() {
    QTest::addColumn<int>("columns");
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<double>("detailWidth");
    QTest::addColumn<double>("fullWidth");

    QTest::newRow("1 column") << 1 << false << 1900.0 << 1900.0;
    QTest::newRow("2 columns") << 2 << false << 950.0 << 1900.0;
    QTest::newRow("3 columns") << 3 << false << 1900.0 / 3 << 1900.0;
    QTest::newRow("4 columns") << 4 << false << 475.0 << 1900.0;
    QTest::newRow("5 columns") << 5 << false << 380.0 << 1900.0;
    QTest::newRow("landscape 3 columns") << 3 << true << 2770.0 / 3 << 2770.0;
}

void BandedReportTest::columnChangeRelaysBands() {
    QFETCH(int, columns);
    QFETCH(bool, landscape);
    QFETCH(double, detailWidth);
    QFETCH(double, fullWidth);

    ListingReport listing(0, 4);
    listing.Size.SetCaption(QStringLiteral("2 files (2.93kb)"));
    listing.Report.SetOrientation(landscape ? PageOrientation::Landscape
                                            : PageOrientation::Portrait);
    listing.Report.SetColumns(columns);

    QCOMPARE(listing.Report.DetailBand().Width(), detailWidth);
    QCOMPARE(listing.Size.Right(), detailWidth);
    QCOMPARE(listing.Name.Left(), 0.0);
    QCOMPARE(listing.Report.TitleBand().Width(), fullWidth);
    QCOMPARE(listing.Report.SummaryBand().Width(), fullWidth);
    QCOMPARE(listing.Caption.Left() + listing.Caption.Width() / 2, fullWidth / 2);
    QCOMPARE(listing.Date.Right(), fullWidth);
}

void BandedReportTest::cancelStopsBeforeTheNextLine() {
    ListingReport listing(100);
    int events = 0;
    // Cancelled just before line 70 would be placed: the callback has produced it, but only
    // 69 lines are placed, and line 67 opened page 2.
    listing.Report.ProcessEvents = [&] {
        if (++events == 70)
            listing.Report.Cancel();
    };
    CollectingPageSink sink;

    QCOMPARE(listing.Report.Run(sink), BandedReport::PassResult::Cancelled);
    QCOMPARE(listing.NeedDataCalls, 70);
    // Page 1 was finished and handed over; the unfinished page 2 is dropped, no summary printed.
    QCOMPARE(sink.Pages().size(), 1u);
    const ReportPage& page = *sink.Pages().front();
    QVERIFY(FindText(page, QStringLiteral("name 66")));
    QVERIFY(!FindText(page, QStringLiteral("name 67")));
    QVERIFY(!FindText(page, QStringLiteral("summary")));
    QVERIFY(!listing.Report.IsRunning());

    // The next pass starts afresh.
    listing.Report.ProcessEvents = nullptr;
    CollectingPageSink again;
    QCOMPARE(listing.Report.Run(again), BandedReport::PassResult::Completed);
    QCOMPARE(again.Pages().size(), 2u);
}

void BandedReportTest::passDuringPassIsRefused() {
    ListingReport listing(3);
    std::vector<BandedReport::PassResult> nested;
    CollectingPageSink nestedSink;
    listing.Report.ProcessEvents = [&] {
        QVERIFY(listing.Report.IsRunning());
        nested.push_back(listing.Report.Run(nestedSink));
    };
    CollectingPageSink sink;

    QCOMPARE(listing.Report.Run(sink), BandedReport::PassResult::Completed);
    QCOMPARE(nested.size(), 3u);
    QVERIFY(std::all_of(nested.begin(), nested.end(), [](BandedReport::PassResult result) {
        return result == BandedReport::PassResult::AlreadyRunning;
    }));
    QVERIFY(nestedSink.Pages().empty());
    QCOMPARE(listing.BeforePrintCalls, 1);
    QCOMPARE(TextRuns(*sink.Pages().front()).size(), 2u + 3 * 2 + 1);
}

void BandedReportTest::pagesArriveAsTheyFinish() {
    ListingReport listing(70);
    CollectingPageSink sink;
    std::vector<std::size_t> pagesSeenPerLine;
    listing.Report.ProcessEvents = [&] { pagesSeenPerLine.push_back(sink.Pages().size()); };

    listing.Report.Run(sink);

    // Page 1 arrives when line 67 opens page 2, so line 68 is the first to find it there.
    QCOMPARE(pagesSeenPerLine.size(), 70u);
    QCOMPARE(pagesSeenPerLine[66], 0u);
    QCOMPARE(pagesSeenPerLine[67], 1u);
    QCOMPARE(sink.Pages().size(), 2u);
}

QTEST_MAIN(BandedReportTest)
#include "BandedReportTest.moc"
