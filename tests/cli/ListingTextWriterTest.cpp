#include "ListingTextWriter.h"
#include "CollectingPageSink.h"
#include "DirTree.h"
#include "FixedListingOptions.h"
#include "FixtureTree.h"
#include "RunTexts.h"
#include "TFormReport.h"

#include <QFile>
#include <QGuiApplication>
#include <QTest>

#include <cmath>
#include <sstream>

Q_DECLARE_METATYPE(CommandLineOptions)

namespace {

// One detail line as a real pass of the report printed it.
struct PrintedLine {
    int LeftPixels;
    QString Name;
    QString Figures;
};

// The worked example of the listing (2 files of 3000 bytes; docs with 1 file of 1536 bytes; src
// with lib and its 3 files of 2048 bytes) plus names that text handling gets wrong: spaces,
// "%", a backslash, bytes that are not UTF-8, and a name that ends in two spaces like the gap
// before the figures.
void BuildFixture(FixtureTree& fx) {
    fx.File("a", 1000);
    fx.File("b", 2000);
    fx.Dir("docs");
    fx.Dir("src/lib");
    fx.File("docs/readme", 1536);
    fx.File("src/lib/x", 1000);
    fx.File("src/lib/y", 1000);
    fx.File("src/lib/z", 48);
    fx.Dir("with space/100%");
    fx.File("with space/100%/f", 7);
    fx.Dir("back\\slash");
    fx.Dir("bad\xff\xfe");
    fx.Dir("gap  ");
}

std::vector<PrintedLine> PrintedLines(TFormReport& report) {
    std::vector<PrintedLine> lines;
    const auto produce = report.QR.OnNeedData;
    report.QR.OnNeedData = [&](bool& MoreData) {
        produce(MoreData);
        if (MoreData)
            lines.push_back({int(std::lround(report.QRLabelDir.Left() * 96 / 254.0)),
                             report.QRLabelDir.Caption(), report.QRLabelSize.Caption()});
    };
    CollectingPageSink sink;
    report.QR.Run(sink);
    report.QR.OnNeedData = produce;
    return lines;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t end; (end = text.find('\n', from)) != std::string::npos; from = end + 1)
        lines.push_back(text.substr(from, end - from));
    lines.push_back(text.substr(from)); // what follows the last newline: nothing
    return lines;
}

QString Text(const std::string& bytes) {
    return QString::fromLocal8Bit(QByteArray::fromStdString(bytes));
}

} // namespace

class ListingTextWriterTest : public QObject {
    Q_OBJECT

private slots:
    void writesTheReportsDetailLines_data();
    void writesTheReportsDetailLines();
};

void ListingTextWriterTest::writesTheReportsDetailLines_data() {
    QTest::addColumn<CommandLineOptions>("options");
    CommandLineOptions defaults;
    QTest::newRow("defaults") << defaults;

    CommandLineOptions noRoot;
    noRoot.Root = false;
    noRoot.Tab = 16;
    QTest::newRow("no root line, wide tab") << noRoot;

    CommandLineOptions fonts;
    fonts.FontDepth = 2;
    fonts.SpecialFont = {QStringLiteral("DejaVu Sans"), 14};
    fonts.NormalFont = {QStringLiteral("Liberation Serif"), 6};
    fonts.Caption = QString();
    QTest::newRow("special font, empty caption") << fonts;

    CommandLineOptions bare;
    bare.FileCount = bare.Size = bare.TotalFiles = false;
    bare.Date = bare.Summary = false;
    QTest::newRow("totals size only, no date, no summary") << bare;
}

void ListingTextWriterTest::writesTheReportsDetailLines() {
    QFETCH(CommandLineOptions, options);
    FixtureTree fx;
    BuildFixture(fx);
    DirTree tree;
    tree.BuildTree(fx.Path());
    FixedListingOptions listing(options, tree.DirList.get());
    TFormReport report(listing, ".");
    SetRunTexts(report, *tree.Root(),
                {options.Columns, listing.FontDialogNormal(), options.Caption, options.Date,
                 options.Summary});
    const std::vector<PrintedLine> printed = PrintedLines(report);

    std::ostringstream out;
    ListingTextWriter::Write(report, listing, {options.Date, options.Summary}, out);
    const std::vector<std::string> lines = SplitLines(out.str());

    std::size_t at = 0;
    QCOMPARE(Text(lines.at(at++)), options.Caption);
    if (options.Date) {
        QVERIFY(Text(lines.at(at)).startsWith(QStringLiteral("printed on ")));
        QCOMPARE(Text(lines.at(at++)), report.QRLabelDate.Caption());
    }
    QCOMPARE(lines.at(at++), std::string());
    QVERIFY(!printed.empty());
    for (const PrintedLine& line : printed) {
        std::string text = lines.at(at++);
        // The indentation follows the report's left offsets, the top printed level at none.
        const int level = (line.LeftPixels - printed.front().LeftPixels) / options.Tab;
        const std::string indent(2 * static_cast<std::size_t>(level), ' ');
        QCOMPARE(text.substr(0, indent.size()), indent);
        text.erase(0, indent.size());
        if (!line.Figures.isEmpty()) {
            const std::string figures = "  " + line.Figures.toStdString();
            QVERIFY2(text.size() > figures.size() &&
                         text.compare(text.size() - figures.size(), figures.size(), figures) == 0,
                     text.c_str());
            text.erase(text.size() - figures.size());
        }
        // What is left is the raw name, which the report shows decoded.
        QCOMPARE(QFile::decodeName(QByteArray::fromStdString(text)), line.Name);
    }
    QCOMPARE(lines.at(at++), std::string());
    if (options.Summary) {
        QCOMPARE(Text(lines.at(at++)), report.QRLabelSummary.Caption());
        QCOMPARE(Text(lines.at(at++)), report.QRLabelSummary2.Caption());
    }
    QCOMPARE(lines.at(at++), std::string()); // the last line ended with a newline
    QCOMPARE(at, lines.size());
    tree.ReleaseTree();
}

QTEST_MAIN(ListingTextWriterTest)
#include "ListingTextWriterTest.moc"
