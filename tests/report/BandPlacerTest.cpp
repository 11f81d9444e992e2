#include "BandPlacer.h"

#include <QTest>

namespace {

// The report's title band is 7.14 mm high: the columns of page 1 start at 10 mm + 7.1 mm.
constexpr double TitleHeight = 71.4;
constexpr double LineHeight = 40;       // a 4.0 mm line
constexpr double SummaryHeight = 129.6; // 12.96 mm, which needs 13.0 mm
constexpr double NoBand = 0;

} // namespace

class BandPlacerTest : public QObject {
    Q_OBJECT

private slots:
    void placesBandsInColumnsAndPages_data();
    void placesBandsInColumnsAndPages();
    void firstBandOpensPageOne();
};

void BandPlacerTest::placesBandsInColumnsAndPages_data() {
    QTest::addColumn<int>("columns");
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<double>("columnSpace");
    QTest::addColumn<int>("lines");         // 4.0 mm lines placed after the title
    QTest::addColumn<double>("lastHeight"); // one more band after the lines, or none
    QTest::addColumn<int>("page");          // where the last band placed lands
    QTest::addColumn<int>("column");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<bool>("startsPage");

    // Page 1: lines start at 171 and may end at 2970 - 120 = 2850, so (2850 - 171) / 40 = 66.9
    // lines fit: line 66 starts at 171 + 65 * 40 = 2771.
    QTest::newRow("page 1 column holds 66 lines")
        << 1 << false << 0.0 << 66 << NoBand << 1 << 1 << 100.0 << 2771.0 << false;
    // Line 67 needs 40 with 2850 - 2811 = 39 left; the only column is the last one.
    QTest::newRow("line 67 opens page 2 at the top margin")
        << 1 << false << 0.0 << 67 << NoBand << 2 << 1 << 100.0 << 100.0 << true;
    // With two columns it goes to column 2, which on page 1 also starts below the title.
    QTest::newRow("line 67 moves to column 2 below the title")
        << 2 << false << 0.0 << 67 << NoBand << 1 << 2 << 1050.0 << 171.0 << false;
    // Later pages start at 100: (2850 - 100) / 40 = 68.75, so line 66 + 68 ends page 2.
    QTest::newRow("later pages hold 68 lines")
        << 1 << false << 0.0 << 66 + 68 << NoBand << 2 << 1 << 100.0 << 100.0 + 67 * 40 << false;
    QTest::newRow("line 69 of a later page opens the next page")
        << 1 << false << 0.0 << 66 + 68 + 1 << NoBand << 3 << 1 << 100.0 << 100.0 << true;
    // After 66 lines 39 is left: a band of 39 exactly fills it and stays.
    QTest::newRow("a band exactly filling the space stays")
        << 1 << false << 0.0 << 66 << 39.0 << 1 << 1 << 100.0 << 2811.0 << false;
    QTest::newRow("39.4 rounds to 39 and stays")
        << 1 << false << 0.0 << 66 << 39.4 << 1 << 1 << 100.0 << 2811.0 << false;
    QTest::newRow("39.5 rounds to 40 and moves")
        << 1 << false << 0.0 << 66 << 39.5 << 2 << 1 << 100.0 << 100.0 << true;
    // Ten lines end at 571; the summary's 130 fits in the 2279 left.
    QTest::newRow("summary follows the last line")
        << 1 << false << 0.0 << 10 << SummaryHeight << 1 << 1 << 100.0 << 571.0 << false;
    // 39 left < 130: column 2 of 3 starts at 100 + 1900 / 3, below the title.
    QTest::newRow("summary moves to the next column")
        << 3 << false << 0.0 << 66 << SummaryHeight << 1 << 2 << 100.0 + 1900.0 / 3 << 171.0
        << false;
    QTest::newRow("summary after the last column goes alone to a new page")
        << 1 << false << 0.0 << 66 << SummaryHeight << 2 << 1 << 100.0 << 100.0 << true;
    QTest::newRow("summary after column 5 of 5 goes to a new page")
        << 5 << false << 0.0 << 5 * 66 << SummaryHeight << 2 << 1 << 100.0 << 100.0 << true;
    // An empty page offers 2970 - 100 - 120 = 2750: a band of 2750 moves to a new page ...
    QTest::newRow("a band as tall as an empty page moves")
        << 1 << false << 0.0 << 66 << 2750.0 << 2 << 1 << 100.0 << 100.0 << true;
    // ... one of 2751 could never fit and stays where it is, running past the margin.
    QTest::newRow("a band taller than an empty page stays")
        << 1 << false << 0.0 << 66 << 2751.0 << 1 << 1 << 100.0 << 2811.0 << false;
    // Column 5 of 5 starts at 100 + 4 * 380.
    QTest::newRow("column 5 of 5")
        << 5 << false << 0.0 << 4 * 66 + 1 << NoBand << 1 << 5 << 1620.0 << 171.0 << false;
    // Each column after the first lies one column width plus the space further right:
    // (1900 - 50) / 2 = 925, so column 2 starts at 100 + 925 + 50.
    QTest::newRow("column space separates the columns")
        << 2 << false << 50.0 << 67 << NoBand << 1 << 2 << 1075.0 << 171.0 << false;
    // Landscape ends at 2100 - 120 = 1980: (1980 - 171) / 40 = 45.2 lines on page 1.
    QTest::newRow("landscape page 1 column holds 45 lines")
        << 1 << true << 0.0 << 45 << NoBand << 1 << 1 << 100.0 << 171.0 + 44 * 40 << false;
    QTest::newRow("landscape line 46 opens page 2")
        << 1 << true << 0.0 << 46 << NoBand << 2 << 1 << 100.0 << 100.0 << true;
    // Landscape columns share 2970 - 200 = 2770.
    QTest::newRow("landscape column 2")
        << 2 << true << 0.0 << 46 << NoBand << 1 << 2 << 1485.0 << 171.0 << false;
}

void BandPlacerTest::placesBandsInColumnsAndPages() {
    QFETCH(int, columns);
    QFETCH(bool, landscape);
    QFETCH(double, columnSpace);
    QFETCH(int, lines);
    QFETCH(double, lastHeight);

    PageSetup page;
    page.SetColumns(columns);
    page.SetColumnSpace(columnSpace);
    page.SetOrientation(landscape ? PageOrientation::Landscape : PageOrientation::Portrait);
    BandPlacer placer(page, TitleHeight);
    placer.Place(TitleHeight);
    BandPlacement last;
    for (int i = 0; i < lines; ++i)
        last = placer.Place(LineHeight);
    if (lastHeight != NoBand)
        last = placer.Place(lastHeight);

    QTEST(last.Page, "page");
    QTEST(last.Column, "column");
    QTEST(last.TopLeft.x(), "x");
    QTEST(last.TopLeft.y(), "y");
    QTEST(last.StartsPage, "startsPage");
    QCOMPARE(placer.PageCount(), last.Page);
}

void BandPlacerTest::firstBandOpensPageOne() {
    BandPlacer placer(PageSetup{}, TitleHeight);
    QCOMPARE(placer.PageCount(), 0);

    const BandPlacement title = placer.Place(TitleHeight);
    QCOMPARE(title.Page, 1);
    QCOMPARE(title.Column, 1);
    QCOMPARE(title.TopLeft, QPointF(100, 100));
    QVERIFY(title.StartsPage);
    // The title advances y by its rounded height, exactly to the top of page 1's columns.
    QCOMPARE(placer.Place(LineHeight).TopLeft, QPointF(100, 171));
}

QTEST_APPLESS_MAIN(BandPlacerTest)
#include "BandPlacerTest.moc"
