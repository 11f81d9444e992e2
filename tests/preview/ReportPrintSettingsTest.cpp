#include "ReportPrintSettings.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QTest>

#include <functional>

Q_DECLARE_METATYPE(ReportPrintSettings)

namespace {

ReportPrintSettings With(const std::function<void(ReportPrintSettings&)>& change) {
    ReportPrintSettings settings;
    change(settings);
    return settings;
}

} // namespace

// Printer setup hands the settings to a QPrinter for the dialog and reads the dialog's choices
// back from it; whatever the dialog leaves alone has to come back unchanged.
class ReportPrintSettingsTest : public QObject {
    Q_OBJECT

private slots:
    void comeBackFromThePrinterAsTheyWent_data();
    void comeBackFromThePrinterAsTheyWent();
};

void ReportPrintSettingsTest::comeBackFromThePrinterAsTheyWent_data() {
    QTest::addColumn<ReportPrintSettings>("given");
    QTest::addColumn<ReportPrintSettings>("expected");

    const ReportPrintSettings defaults;
    QTest::newRow("defaults") << defaults << defaults;
    const auto copies = With([](ReportPrintSettings& s) { s.Copies = 3; });
    QTest::newRow("three copies") << copies << copies;
    const auto landscape =
        With([](ReportPrintSettings& s) { s.Orientation = PageOrientation::Landscape; });
    QTest::newRow("landscape") << landscape << landscape;
    const auto range = With([](ReportPrintSettings& s) {
        s.FirstPage = 2;
        s.LastPage = 5;
    });
    QTest::newRow("pages 2 to 5") << range << range;
    const auto file = With([](ReportPrintSettings& s) { s.OutputFileName = "listing.pdf"; });
    QTest::newRow("into a PDF file") << file << file;
    // Setup chose a printer that has since gone: the default printer takes its place.
    QTest::newRow("a printer no longer installed")
        << With([](ReportPrintSettings& s) { s.PrinterName = "no such printer here"; }) << defaults;
}

void ReportPrintSettingsTest::comeBackFromThePrinterAsTheyWent() {
    QFETCH(ReportPrintSettings, given);
    QFETCH(ReportPrintSettings, expected);
    QPrinter printer(QPrinter::HighResolution);

    ApplyPrintSettings(given, printer);

    QCOMPARE(PrintSettingsFrom(printer), expected);
    // What every print has in common, whatever was chosen.
    QCOMPARE(printer.pageLayout().pageSize().id(), QPageSize::A4);
    QVERIFY(printer.fullPage());
    QCOMPARE(printer.duplex(), QPrinter::DuplexNone);
}

QTEST_MAIN(ReportPrintSettingsTest)
#include "ReportPrintSettingsTest.moc"
