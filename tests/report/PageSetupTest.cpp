#include "PageSetup.h"

#include <QTest>

class PageSetupTest : public QObject {
    Q_OBJECT

private slots:
    void columnWidthSharesTheFullWidth_data();
    void columnWidthSharesTheFullWidth();
    void columnCountOutsideItsRange();
};

void PageSetupTest::columnWidthSharesTheFullWidth_data() {
    QTest::addColumn<int>("columns");
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<double>("columnSpace");
    QTest::addColumn<double>("fullWidth");
    QTest::addColumn<double>("columnWidth");

    // Portrait: 2100 - 2 * 100 = 1900 between the margins, shared by touching columns.
    QTest::newRow("1 column") << 1 << false << 0.0 << 1900.0 << 1900.0;
    QTest::newRow("2 columns") << 2 << false << 0.0 << 1900.0 << 950.0;
    QTest::newRow("3 columns") << 3 << false << 0.0 << 1900.0 << 1900.0 / 3;
    QTest::newRow("4 columns") << 4 << false << 0.0 << 1900.0 << 475.0;
    QTest::newRow("5 columns") << 5 << false << 0.0 << 1900.0 << 380.0;
    // Landscape: 2970 - 2 * 100 = 2770.
    QTest::newRow("landscape 2 columns") << 2 << true << 0.0 << 2770.0 << 1385.0;
    // Three spaces between four columns: (1900 - 3 * 100) / 4.
    QTest::newRow("4 columns with spaces") << 4 << false << 100.0 << 1900.0 << 400.0;
}

void PageSetupTest::columnWidthSharesTheFullWidth() {
    QFETCH(int, columns);
    QFETCH(bool, landscape);
    QFETCH(double, columnSpace);

    PageSetup page;
    page.SetColumns(columns);
    page.SetColumnSpace(columnSpace);
    page.SetOrientation(landscape ? PageOrientation::Landscape : PageOrientation::Portrait);

    QTEST(page.FullWidth(), "fullWidth");
    QTEST(page.ColumnWidth(), "columnWidth");
}

void PageSetupTest::columnCountOutsideItsRange() {
    PageSetup page;
    page.SetColumns(3);
    page.SetColumns(0);
    QCOMPARE(page.Columns(), 3);
    page.SetColumns(-2);
    QCOMPARE(page.Columns(), 3);
    page.SetColumns(9);
    QCOMPARE(page.Columns(), PageSetup::MaxColumns);
}

QTEST_APPLESS_MAIN(PageSetupTest)
#include "PageSetupTest.moc"
