#include "TFormReport.h"
#include "CollectingPageSink.h"
#include "DirTree.h"
#include "FixtureTree.h"
#include "PlainOptions.h"
#include "ReportPage.h"

#include <QGuiApplication>
#include <QTest>

#include <cmath>

namespace {

// One detail line as the callbacks leave it for the engine.
struct Line {
    int Left; // layout pixels
    QString Name;
    QString Figures;
    bool Special;
    bool operator==(const Line&) const = default;
};

char* toString(const Line& line) {
    return QTest::toString(QStringLiteral("%1 [%2] [%3]%4")
                               .arg(line.Left)
                               .arg(line.Name, line.Figures, line.Special ? " special" : ""));
}

// The worked example: a start with 2 files of 3000 bytes; docs with 1 file of 1536 bytes; src
// with no files and one subdirectory lib holding 3 files of 2048 bytes.
void BuildExample(FixtureTree& fx) {
    fx.File("a", 1000);
    fx.File("b", 2000);
    fx.Dir("docs");
    fx.File("docs/readme", 1536);
    fx.Dir("src/lib");
    fx.File("src/lib/x", 1000);
    fx.File("src/lib/y", 1000);
    fx.File("src/lib/z", 48);
}

} // namespace

Q_DECLARE_METATYPE(QList<Line>)

class TFormReportTest : public QObject {
    Q_OBJECT

    QList<Line> Lines(TFormReport& report, const PlainOptions& options) {
        QList<Line> lines;
        bool print = true;
        report.QRBeforePrint(print);
        for (;;) {
            bool more = true;
            report.QRNeedData(more);
            if (!more)
                break;
            const double pixels = report.QRLabelDir.Left() * 96 / 254.0;
            lines.push_back({int(std::lround(pixels)), report.QRLabelDir.Caption(),
                             report.QRLabelSize.Caption(),
                             report.QRLabelDir.Font() == options.Special});
        }
        return lines;
    }

private slots:
    void workedExample_data() {
        QTest::addColumn<bool>("root");
        QTest::addColumn<int>("depth");
        QTest::addColumn<QList<Line>>("expected");
        const QString all =
            QStringLiteral("2 files (2.93kb), total: 6 files (6.43kb in 3 subdirs)");
        const QString docs = QStringLiteral("1 file (1.5kb)");
        const QString lib = QStringLiteral("3 files (2kb)");
        // The root's name is filled in by the test: the fixture's path.
        QTest::newRow("defaults") << true << 0
                                  << QList<Line>{{10, {}, all, false},
                                                 {20, "docs", docs, false},
                                                 {20, "src", "", false},
                                                 {30, "lib", lib, false}};
        QTest::newRow("font depth 1: the root line in the special font")
            << true << 1
            << QList<Line>{{10, {}, all, true},
                           {20, "docs", docs, false},
                           {20, "src", "", false},
                           {30, "lib", lib, false}};
        QTest::newRow("no root line: the first level one tab in")
            << false << 1
            << QList<Line>{
                   {10, "docs", docs, false}, {10, "src", "", false}, {20, "lib", lib, false}};
        QTest::newRow("no root line, font depth 2: the first printed level special")
            << false << 2
            << QList<Line>{
                   {10, "docs", docs, true}, {10, "src", "", true}, {20, "lib", lib, false}};
    }

    void workedExample() {
        QFETCH(bool, root);
        QFETCH(int, depth);
        QFETCH(QList<Line>, expected);
        FixtureTree fx;
        BuildExample(fx);
        DirTree tree;
        tree.BuildTree(fx.Path());
        PlainOptions options;
        options.List = tree.DirList.get();
        options.Root = root;
        options.Depth = depth;
        options.Special = QFont(QStringLiteral("Arial"), 12, QFont::Bold);
        for (Line& line : expected) {
            if (line.Name.isEmpty())
                line.Name = QString::fromStdString(fx.Path());
        }
        TFormReport report(options, ".");
        QCOMPARE(Lines(report, options), expected);
        // the final call leaves the name label reset and the walk over
        QCOMPARE(report.QRLabelDir.Font().pointSizeF(), 1.0);
        tree.ReleaseTree();
    }

    void aRootWithoutSubdirectoriesKeepsItsLineWithoutTheRootOption() {
        FixtureTree fx;
        fx.File("only", 5);
        DirTree tree;
        tree.BuildTree(fx.Path());
        PlainOptions options;
        options.List = tree.DirList.get();
        options.Root = false;
        options.Special = QFont(QStringLiteral("Arial"), 12, QFont::Bold);
        TFormReport report(options, ".");
        QCOMPARE(Lines(report, options),
                 (QList<Line>{{0, QString::fromStdString(fx.Path()), "1 file (5b)", false}}));
        tree.ReleaseTree();
    }

    void figuresText_data() {
        QTest::addColumn<QString>("switchesOff"); // letters of the options turned off
        QTest::addColumn<int>("files");
        QTest::addColumn<qlonglong>("bytes");
        QTest::addColumn<int>("children"); // subdirectories, each holding 1 file of 1000 bytes
        QTest::addColumn<QString>("expected");
        QTest::newRow("one subdirectory gives no totals") << "" << 0 << 0LL << 1 << "";
        QTest::newRow("two give them")
            << "" << 0 << 0LL << 2 << "total: 2 files (1.95kb in 2 subdirs)";
        QTest::newRow("one file") << "" << 1 << 10LL << 0 << "1 file (10b)";
        QTest::newRow("three empty files") << "" << 3 << 0LL << 0 << "3 files";
        QTest::newRow("own count off") << "fc" << 1 << 1536LL << 0 << "(1.5kb)";
        QTest::newRow("own size off") << "hd" << 1 << 1536LL << 0 << "1 file";
        QTest::newRow("total file count off")
            << "tfc" << 2 << 3000LL << 2 << "2 files (2.93kb), total: (4.88kb in 2 subdirs)";
        QTest::newRow("subdir count needs the total size")
            << "thd" << 2 << 3000LL << 2 << "2 files (2.93kb), total: 4 files";
        QTest::newRow("subdir count off")
            << "sdc" << 2 << 3000LL << 2 << "2 files (2.93kb), total: 4 files (4.88kb)";
        QTest::newRow("1024 bytes") << "" << 1 << 1024LL << 0 << "1 file (1024b)";
        QTest::newRow("nothing at all") << "" << 0 << 0LL << 0 << "";
    }

    void figuresText() {
        QFETCH(QString, switchesOff);
        QFETCH(int, files);
        QFETCH(qlonglong, bytes);
        QFETCH(int, children);
        QFETCH(QString, expected);
        const QStringList off = switchesOff.split(' ', Qt::SkipEmptyParts);
        PlainOptions options;
        options.Fc = !off.contains("fc");
        options.Hd = !off.contains("hd");
        options.Tfc = !off.contains("tfc");
        options.Thd = !off.contains("thd");
        options.Sdc = !off.contains("sdc");
        TDirEntry entry;
        entry.Files = files;
        entry.Bytes = bytes;
        entry.SubDirs = std::make_unique<TDirList>();
        for (int i = 0; i < children; ++i) {
            auto child = std::make_unique<TDirEntry>();
            child->Name = "c" + std::to_string(i);
            child->Files = 1;
            child->Bytes = 1000;
            child->Parent = &entry;
            child->List = entry.SubDirs.get();
            entry.SubDirs->push_back(std::move(child));
        }
        TFormReport report(options, ".");
        QCOMPARE(report.FiguresText(entry), expected);
    }

    void aLineAfterALargerFontIsLower() {
        FixtureTree fx;
        fx.Dir("child");
        DirTree tree;
        tree.BuildTree(fx.Path());
        PlainOptions options;
        options.List = tree.DirList.get();
        options.Depth = 1;
        options.Special = QFont(QStringLiteral("Arial"), 20);
        TFormReport report(options, ".");
        bool flag = true;
        report.QRBeforePrint(flag);
        report.QRNeedData(flag);
        const double rootHeight = report.DetailBand.Height();
        report.QRNeedData(flag);
        const double childHeight = report.DetailBand.Height();
        QVERIFY(childHeight < rootHeight);
        QCOMPARE(childHeight, report.QRLabelDir.Height());
        tree.ReleaseTree();
    }

    void aOneEntryTreeGivesOnePageWithTitleLineAndSummary() {
        FixtureTree fx;
        DirTree tree;
        tree.BuildTree(fx.Path());
        PlainOptions options;
        options.List = tree.DirList.get();
        TFormReport report(options, ".");
        report.QRLabelCaption.SetCaption("my caption");
        report.QRLabelSummary.SetCaption("overall: 0b");
        CollectingPageSink sink;
        QCOMPARE(report.QR.Run(sink), BandedReport::PassResult::Completed);
        QCOMPARE(sink.Pages().size(), std::size_t{1});
        QStringList texts;
        for (const PageItem& item : sink.Pages()[0]->Items) {
            if (item.ItemKind == PageItem::Kind::Text)
                texts << item.Text;
        }
        QVERIFY(texts.contains("my caption"));
        QVERIFY(texts.contains(QString::fromStdString(fx.Path())));
        QVERIFY(texts.contains("overall: 0b"));
        tree.ReleaseTree();
    }
};

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    TFormReportTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "TFormReportTest.moc"
