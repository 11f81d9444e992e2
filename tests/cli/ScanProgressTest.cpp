#include "ScanProgress.h"
#include "DirTree.h"
#include "FixtureTree.h"
#include "PosixDirEnumerator.h"
#include "TreeText.h"

#include <QTest>

#include <chrono>
#include <vector>

namespace {

// More items than the progress counts between two looks at the clock.
void BuildBusyTree(FixtureTree& fx) {
    for (int d = 0; d < 4; ++d) {
        const std::string dir = "d" + std::to_string(d);
        fx.Dir(dir + "/sub");
        for (int f = 0; f < 200; ++f)
            fx.File(dir + "/f" + std::to_string(f), 1000 + f);
    }
    fx.File("top", 5);
}

} // namespace

class ScanProgressTest : public QObject {
    Q_OBJECT

private slots:
    void passesTheScanThroughAndCountsIt();
    void reportsNothingBeforeTheInterval();
    void reportsGrowingCountsAfterIt();
};

void ScanProgressTest::passesTheScanThroughAndCountsIt() {
    FixtureTree fx;
    BuildBusyTree(fx);
    DirTree plain;
    PosixDirEnumerator files;
    plain.BuildTree(fx.Path(), files);

    DirTree counted;
    PosixDirEnumerator inner;
    ScanProgress progress(
        inner, [](const ScanProgress::Counts&) {}, std::chrono::hours(1));
    counted.BuildTree(fx.Path(), progress);

    QCOMPARE(TreeText(*counted.DirList), TreeText(*plain.DirList));
    const TDirEntry& root = *counted.Root();
    QCOMPARE(progress.Totals().Dirs, TotalSubdirCount(root) + 1);
    QCOMPARE(progress.Totals().Files, TotalFileCount(root));
    QCOMPARE(progress.Totals().Bytes, TotalSize(root));
    plain.ReleaseTree();
    counted.ReleaseTree();
}

void ScanProgressTest::reportsNothingBeforeTheInterval() {
    FixtureTree fx;
    BuildBusyTree(fx);
    int calls = 0;
    DirTree tree;
    PosixDirEnumerator inner;
    ScanProgress progress(
        inner, [&calls](const ScanProgress::Counts&) { ++calls; }, std::chrono::hours(1));
    tree.BuildTree(fx.Path(), progress);
    QCOMPARE(calls, 0);
    QVERIFY(!progress.Reported());
    tree.ReleaseTree();
}

void ScanProgressTest::reportsGrowingCountsAfterIt() {
    FixtureTree fx;
    BuildBusyTree(fx);
    std::vector<ScanProgress::Counts> reports;
    DirTree tree;
    PosixDirEnumerator inner;
    ScanProgress progress(
        inner, [&reports](const ScanProgress::Counts& counts) { reports.push_back(counts); },
        std::chrono::nanoseconds(0));
    tree.BuildTree(fx.Path(), progress);
    QVERIFY(reports.size() >= 2);
    QVERIFY(progress.Reported());
    for (std::size_t i = 1; i < reports.size(); ++i) {
        QVERIFY(reports[i].Files > reports[i - 1].Files);
        QVERIFY(reports[i].Bytes > reports[i - 1].Bytes);
        QVERIFY(reports[i].Dirs >= reports[i - 1].Dirs);
    }
    QVERIFY(reports.back().Files <= progress.Totals().Files);
    tree.ReleaseTree();
}

QTEST_APPLESS_MAIN(ScanProgressTest)
#include "ScanProgressTest.moc"
