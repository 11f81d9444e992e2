#include "PrinterPageSink.h"
#include "PdfContents.h"
#include "ReportPage.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QSizeF Portrait(2100, 2970);
const QSizeF Landscape(2970, 2100);
const QSize PortraitSheet(595, 842);
const QSize LandscapeSheet(842, 595);

std::shared_ptr<const ReportPage> PageOn(const QSizeF& paper) {
    auto page = std::make_shared<ReportPage>();
    page->PaperSize = paper;
    page->AddText(QRectF(100, 100, 500, 45), TextAlignment::Left,
                  QFont(QStringLiteral("Arial"), 10), 0xff000000, QStringLiteral("a line"));
    return page;
}

ReportPrintSettings IntoFile(const QString& path, int firstPage = 0, int lastPage = 0) {
    ReportPrintSettings settings;
    settings.OutputFileName = path;
    settings.FirstPage = firstPage;
    settings.LastPage = lastPage;
    return settings;
}

} // namespace

class PrinterPageSinkTest : public QObject {
    Q_OBJECT

private slots:
    void drawsThePagesInRangeEachOnItsPaper_data();
    void drawsThePagesInRangeEachOnItsPaper();
    void aPrinterThatCannotStartSaysWhich();
};

void PrinterPageSinkTest::drawsThePagesInRangeEachOnItsPaper_data() {
    QTest::addColumn<int>("firstPage");
    QTest::addColumn<int>("lastPage");
    QTest::addColumn<QList<QSize>>("expectedSheets");

    // The pages handed over: portrait, portrait, landscape, portrait.
    QTest::newRow("all pages") << 0 << 0
                               << QList<QSize>{PortraitSheet, PortraitSheet, LandscapeSheet,
                                               PortraitSheet};
    QTest::newRow("pages 2 to 3") << 2 << 3 << QList<QSize>{PortraitSheet, LandscapeSheet};
    QTest::newRow("a range beyond the end") << 4 << 9 << QList<QSize>{PortraitSheet};
    QTest::newRow("nothing in range") << 5 << 6 << QList<QSize>{};
}

void PrinterPageSinkTest::drawsThePagesInRangeEachOnItsPaper() {
    QFETCH(int, firstPage);
    QFETCH(int, lastPage);
    QFETCH(QList<QSize>, expectedSheets);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("printed.pdf"));
    PrinterPageSink printer(IntoFile(path, firstPage, lastPage), QStringLiteral("tarn"));

    for (const QSizeF& paper : {Portrait, Portrait, Landscape, Portrait})
        printer.PageFinished(PageOn(paper));
    const QString error = printer.Finish();

    QCOMPARE(error, QString());
    QCOMPARE(printer.PagesDrawn(), expectedSheets.size());
    if (expectedSheets.isEmpty()) {
        QVERIFY(!QFile::exists(path)); // no job was started
        return;
    }
    const QByteArray pdf = PdfInspection::ReadAll(path);
    QCOMPARE(PdfInspection::PageCount(pdf), expectedSheets.size());
    QCOMPARE(PdfInspection::MediaBoxes(pdf), expectedSheets);
}

void PrinterPageSinkTest::aPrinterThatCannotStartSaysWhich() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("missing/printed.pdf"));
    PrinterPageSink printer(IntoFile(path), QStringLiteral("tarn"));
    QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");

    printer.PageFinished(PageOn(Portrait));
    printer.PageFinished(PageOn(Portrait));
    const QString error = printer.Finish();

    QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
    QCOMPARE(printer.PagesDrawn(), 0);
}

QTEST_MAIN(PrinterPageSinkTest)
#include "PrinterPageSinkTest.moc"
