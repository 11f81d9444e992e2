#include "PdfContents.h"
#include "PdfExport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

std::shared_ptr<const ReportPage> PageWithLine(const QSizeF& paper, const QString& text) {
    auto page = std::make_shared<ReportPage>();
    page->PaperSize = paper;
    page->AddFill(QRectF(100, 100, 1900, 45), 0xffffffff);
    page->AddText(QRectF(100, 100, 1900, 45), TextAlignment::Left,
                  QFont(QStringLiteral("Arial"), 10), 0xff000000, text);
    return page;
}

const QSizeF Portrait(2100, 2970);
const QSizeF Landscape(2970, 2100);

} // namespace

class PdfExportTest : public QObject {
    Q_OBJECT

private slots:
    void writesOnePdfPagePerPage();
    void failureNamesTheFileAndLeavesNothing_data();
    void failureNamesTheFileAndLeavesNothing();
};

void PdfExportTest::writesOnePdfPagePerPage() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("listing.pdf"));
    const std::vector<std::shared_ptr<const ReportPage>> pages{
        PageWithLine(Portrait, QStringLiteral("first")),
        PageWithLine(Portrait, QStringLiteral("second")),
        PageWithLine(Landscape, QStringLiteral("third"))};

    const PdfExport::Result result = PdfExport::Write(path, pages, QStringLiteral("tarn"));

    QVERIFY2(result.Ok, qPrintable(result.Error));
    const QByteArray pdf = PdfInspection::ReadAll(path);
    QVERIFY(pdf.startsWith("%PDF-"));
    QCOMPARE(PdfInspection::PageCount(pdf), 3);
    // A4 in points, each page in its own orientation.
    const QList<QSize> a4{QSize(595, 842), QSize(595, 842), QSize(842, 595)};
    QCOMPARE(PdfInspection::MediaBoxes(pdf), a4);
    QVERIFY(pdf.contains("/FontFile2")); // the font is embedded
    // Only the finished file is left in the folder, no temporary beside it.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("listing.pdf")});
}

void PdfExportTest::failureNamesTheFileAndLeavesNothing_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("pages");

    QTest::newRow("folder does not exist") << QStringLiteral("missing/listing.pdf") << 1;
    QTest::newRow("no pages") << QStringLiteral("empty.pdf") << 0;
}

void PdfExportTest::failureNamesTheFileAndLeavesNothing() {
    QFETCH(QString, name);
    QFETCH(int, pages);

    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    std::vector<std::shared_ptr<const ReportPage>> list;
    for (int i = 0; i < pages; ++i)
        list.push_back(PageWithLine(Portrait, QStringLiteral("line")));

    const PdfExport::Result result = PdfExport::Write(path, list, QStringLiteral("tarn"));

    QVERIFY(!result.Ok);
    QVERIFY2(result.Error.contains(QDir::toNativeSeparators(path)), qPrintable(result.Error));
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

QTEST_MAIN(PdfExportTest)
#include "PdfExportTest.moc"
