// The report of each hostile tree: every directory gets its line, the pass completes, and the
// pages export to a PDF with one page for each page laid out.
#include "CollectingPageSink.h"
#include "DirTree.h"
#include "DirectoryChurner.h"
#include "HostileTrees.h"
#include "PdfExport.h"
#include "PlainOptions.h"
#include "ReportPage.h"
#include "RunTexts.h"
#include "TFormReport.h"

#include <QFile>
#include <QGuiApplication>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

using PageList = std::vector<std::shared_ptr<const ReportPage>>;

struct LaidOut {
    BandedReport::PassResult Result;
    std::int64_t Lines = 0;
    PageList Pages;
};

// One pass of the listing as a run lays it out, counting the detail lines the form produced.
LaidOut LayOut(const DirTree& tree) {
    PlainOptions options;
    options.List = tree.DirList.get();
    TFormReport report(options, ".");
    SetRunTexts(report, *tree.Root(), {2, options.Normal, QStringLiteral("hostile"), true, true});
    LaidOut out;
    const auto produceLine = report.QR.OnNeedData;
    report.QR.OnNeedData = [&](bool& more) {
        produceLine(more);
        if (more)
            ++out.Lines;
    };
    CollectingPageSink sink;
    out.Result = report.QR.Run(sink);
    out.Pages = sink.TakePages();
    return out;
}

QSet<QString> Texts(const PageList& pages) {
    QSet<QString> texts;
    for (const auto& page : pages) {
        for (const PageItem& item : page->Items) {
            if (item.ItemKind == PageItem::Kind::Text)
                texts.insert(item.Text);
        }
    }
    return texts;
}

// Page objects of the PDF; their parent, the page tree, is "/Type /Pages".
qsizetype PdfPageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray pdf = file.readAll();
    if (!pdf.startsWith("%PDF-"))
        return -1;
    return pdf.count("/Type /Page") - pdf.count("/Type /Pages");
}

void ExpectExportsToPdf(const PageList& pages) {
    QTemporaryDir out;
    QVERIFY(out.isValid());
    const QString pdf = out.filePath(QStringLiteral("listing.pdf"));
    const PdfExport::Result written = PdfExport::Write(pdf, pages, QStringLiteral("tarn"));
    QVERIFY2(written.Ok, qPrintable(written.Error));
    QCOMPARE(PdfPageCount(pdf), qsizetype(pages.size()));
}

} // namespace

class HostileTreeReportTest : public QObject {
    Q_OBJECT

private slots:
    void laysOutEveryDirectoryAndExportsToPdf_data() {
        QTest::addColumn<int>("tree"); // index into HostileTrees()
        for (std::size_t i = 0; i < HostileTrees().size(); ++i)
            QTest::newRow(HostileTrees()[i].Name) << int(i);
    }

    void laysOutEveryDirectoryAndExportsToPdf() {
        QFETCH(int, tree);
        const HostileTree& hostile = HostileTrees()[std::size_t(tree)];
        FixtureTree fx = FixtureTree::InMemory();
        const TreeCounts expected = hostile.Make(fx);
        DirTree scanned;
        scanned.BuildTree(fx.Path());
        QVERIFY(scanned.Root() != nullptr);
        const LaidOut laidOut = LayOut(scanned);
        QCOMPARE(laidOut.Result, BandedReport::PassResult::Completed);
        QCOMPARE(laidOut.Lines, expected.Dirs);
        QVERIFY(!laidOut.Pages.empty());
        // names reach the page as the file system's encoding decodes them, none lost
        const QSet<QString> texts = Texts(laidOut.Pages);
        for (const std::string& name : hostile.DirNames)
            QVERIFY2(texts.contains(QFile::decodeName(QByteArray::fromStdString(name))),
                     name.c_str());
        ExpectExportsToPdf(laidOut.Pages);
        scanned.ReleaseTree();
    }

    // A tree that changed under its scan is a tree like any other once the scan is over.
    void aTreeScannedWhileItChangedLaysOutAndExports() {
        FixtureTree fx;
        for (int i = 0; i < 20; ++i)
            fx.Dir("s" + std::to_string(i) + "/inner");
        for (unsigned threads : {1u, 2u}) {
            DirTree scanned;
            {
                DirectoryChurner churner(fx.Path());
                for (int scan = 0; scan < 20; ++scan) {
                    scanned.ReleaseTree();
                    scanned.BuildTree(fx.Path(), threads);
                }
            }
            QVERIFY(scanned.Root() != nullptr);
            const LaidOut laidOut = LayOut(scanned);
            QCOMPARE(laidOut.Result, BandedReport::PassResult::Completed);
            QCOMPARE(laidOut.Lines, 1 + TotalSubdirCount(*scanned.Root()));
            ExpectExportsToPdf(laidOut.Pages);
            scanned.ReleaseTree();
        }
    }
};

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    HostileTreeReportTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "HostileTreeReportTest.moc"
