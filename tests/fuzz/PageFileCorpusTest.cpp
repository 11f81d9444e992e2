// The page files that the fuzz target starts from, and the inputs it once crashed on (in
// regressions/), loaded by the normal build: the seeds must stay loadable as the format's real
// files, and every kept crash input must get the answer of a correct loader.
#include "PageFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTest>

namespace {

QStringList FilesIn(const QString& folder) {
    QStringList paths;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
        paths << dir.filePath(name);
    return paths;
}

} // namespace

class PageFileCorpusTest : public QObject {
    Q_OBJECT

private slots:
    // Seeds are real files and load whole. A kept crash input is named after the answer that a
    // correct loader gives it, "accepted-..." or "refused-...", and must get exactly that.
    void everyInputGetsItsAnswer_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("accepted");
        const QStringList seeds = FilesIn(QStringLiteral(TARN_FUZZ_SOURCE_DIR "/corpus"));
        QVERIFY(seeds.size() >= 5);
        for (const QString& path : seeds)
            QTest::newRow(qPrintable("seed " + QFileInfo(path).fileName())) << path << true;
        for (const QString& path : FilesIn(QStringLiteral(TARN_FUZZ_SOURCE_DIR "/regressions"))) {
            const QString name = QFileInfo(path).fileName();
            QVERIFY2(name.startsWith("accepted-") || name.startsWith("refused-"), qPrintable(name));
            QTest::newRow(qPrintable(name)) << path << name.startsWith("accepted-");
        }
    }

    void everyInputGetsItsAnswer() {
        QFETCH(QString, path);
        QFETCH(bool, accepted);
        const PageFile::LoadResult loaded = PageFile::Load(path);
        QVERIFY2(loaded.Ok() == accepted, qPrintable(loaded.Error));
        QCOMPARE(loaded.Pages.empty(), !accepted);
        if (!accepted)
            QVERIFY(loaded.Error.startsWith(QStringLiteral("Cannot load \"")));
    }
};

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    PageFileCorpusTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "PageFileCorpusTest.moc"
