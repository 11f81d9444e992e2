#include "ReportPreview.h"
#include "PageFile.h"
#include "PdfContents.h"
#include "SampleReport.h"

#include <QApplication>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <optional>

namespace {

constexpr int SampleLines = 150; // 66 + 68 + 16 lines and the summary: three pages

ReportPreview* OpenPreview() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* preview = qobject_cast<ReportPreview*>(widget))
            return preview;
    return nullptr;
}

QString StatusText(const ReportPreview& window) {
    const auto* label = window.findChild<QLabel*>(QStringLiteral("PageLabel"));
    return label ? label->text() : QString();
}

// Runs `action` from the event loop as soon as `ready` holds.
void WhenReady(std::function<bool()> ready, std::function<void()> action) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, ready, action] {
        if (!ready())
            return;
        timer->stop();
        timer->deleteLater();
        action();
    });
    timer->start();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    QVERIFY(file.commit());
}

// A complete preview of the three-page sample, shown and active as the user sees it, with
// failures collected instead of shown in message boxes.
struct BuiltPreview {
    SampleReport Sample{SampleLines};
    ReportPrintSettings Settings;
    ReportPreview Window{Sample.Report, Settings};
    QStringList Errors;
    BandedReport::PassResult Result;

    BuiltPreview() {
        Window.SetErrorReporter([this](const QString& message) { Errors << message; });
        Window.resize(1024, 768);
        Window.show();
        Window.activateWindow();
        Result = Window.Build();
    }
};

enum class Ending { EscapeKey, CloseButton, ApplicationQuits };

} // namespace

Q_DECLARE_METATYPE(Ending)

class ReportPreviewTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void pagesAppearWhileTheyAreBuilt();
    void completeWindowShowsTheFirstPageAtPageWidth();
    void navigationKeys_data();
    void navigationKeys();
    void zoomTogglesAreExclusive();
    void previewReturnsOnceTheWindowIsGone_data();
    void previewReturnsOnceTheWindowIsGone();
    void previewDuringAPassReturnsAtOnce();
    void printRunsANewPassOntoThePrinter_data();
    void printRunsANewPassOntoThePrinter();
    void printWithoutAPrinterDoesNothing();
    void savedPagesLoadBack_data();
    void savedPagesLoadBack();
    void loadedPagesPrintWithoutANewPass();
    void aBadFileKeepsThePages_data();
    void aBadFileKeepsThePages();
    void printerSetupOffersThePagesBuilt();
    void confirmedPrinterSetupLaysOutItsOrientation();
};

void ReportPreviewTest::initTestCase() {
    // The program's main window outlives every preview; here a preview is often the only
    // window, and closing it must not post a quit that would end the next test's event loops.
    QApplication::setQuitOnLastWindowClosed(false);
}

void ReportPreviewTest::pagesAppearWhileTheyAreBuilt() {
    QTemporaryDir dir;
    const QString early = dir.filePath(QStringLiteral("early.tarnpages"));
    SampleReport sample(SampleLines);
    ReportPrintSettings settings;
    ReportPreview window(sample.Report, settings);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    struct Seen {
        int Pages = -1;
        bool Shown = false;
        int PageAfterPgDn = -1;
        QString Status;
        bool PrintEnabled = true;
        bool SetupEnabled = true;
        bool Saved = true;
    };
    std::optional<Seen> first, afterPageOne;
    sample.AfterLine = [&](int line) {
        if (line != 1 && line != 80)
            return;
        Seen seen;
        seen.Pages = window.PageCount();
        seen.Shown = window.PageCount() > 0 && window.ui.Pages->Page() == window.Pages()[0].get();
        QTest::keyClick(window.ui.Pages, Qt::Key_PageDown); // on the last page built so far
        seen.PageAfterPgDn = window.CurrentPage();
        seen.Status = StatusText(window);
        seen.PrintEnabled = window.ui.ActionPrint->isEnabled();
        seen.SetupEnabled = window.ui.ActionPrinterSetup->isEnabled();
        seen.Saved = window.SaveTo(early);
        (line == 1 ? first : afterPageOne) = seen;
    };

    QCOMPARE(window.Build(), BandedReport::PassResult::Completed);

    QVERIFY(first && afterPageOne);
    QCOMPARE(first->Pages, 0);
    QCOMPARE(afterPageOne->Pages, 1); // page 1 is finished once line 67 starts page 2
    QVERIFY(afterPageOne->Shown);
    QCOMPARE(afterPageOne->PageAfterPgDn, 1);
    QCOMPARE(afterPageOne->Status, QStringLiteral("Page 1 of 1"));
    for (const Seen& seen : {*first, *afterPageOne}) {
        QVERIFY(!seen.PrintEnabled);
        QVERIFY(!seen.SetupEnabled);
        QVERIFY(!seen.Saved);
    }
    QVERIFY(!QFile::exists(early));
    QVERIFY(window.ui.ActionPrint->isEnabled());
    QVERIFY(window.ui.ActionPrinterSetup->isEnabled());
}

void ReportPreviewTest::completeWindowShowsTheFirstPageAtPageWidth() {
    BuiltPreview preview;
    const ReportPreview& window = preview.Window;

    QCOMPARE(preview.Result, BandedReport::PassResult::Completed);
    QCOMPARE(window.windowTitle(), QStringLiteral("tarn"));
    QCOMPARE(window.PageCount(), 3);
    QCOMPARE(window.CurrentPage(), 1);
    QCOMPARE(window.ui.Pages->Page(), window.Pages()[0].get());
    QCOMPARE(StatusText(window), QStringLiteral("Page 1 of 3"));
    QVERIFY(window.ui.ActionPageWidth->isChecked());
    QCOMPARE(window.ui.Pages->CurrentZoom(), PageView::Zoom::PageWidth);
    QVERIFY(!window.ui.ActionPreviousPage->isEnabled());
    QVERIFY(window.ui.ActionNextPage->isEnabled());
}

void ReportPreviewTest::navigationKeys_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("expected");

    const Qt::KeyboardModifiers none;
    QTest::newRow("PgDn goes on") << 1 << int(Qt::Key_PageDown) << none << 2;
    QTest::newRow("PgDn on the last page stays") << 3 << int(Qt::Key_PageDown) << none << 3;
    QTest::newRow("PgUp goes back") << 3 << int(Qt::Key_PageUp) << none << 2;
    QTest::newRow("PgUp on page 1 stays") << 1 << int(Qt::Key_PageUp) << none << 1;
    QTest::newRow("Home") << 3 << int(Qt::Key_Home) << none << 1;
    QTest::newRow("Ctrl+PgUp") << 3 << int(Qt::Key_PageUp)
                               << Qt::KeyboardModifiers(Qt::ControlModifier) << 1;
    QTest::newRow("End") << 1 << int(Qt::Key_End) << none << 3;
    QTest::newRow("Ctrl+PgDn") << 1 << int(Qt::Key_PageDown)
                               << Qt::KeyboardModifiers(Qt::ControlModifier) << 3;
}

void ReportPreviewTest::navigationKeys() {
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, expected);
    BuiltPreview preview;
    ReportPreview& window = preview.Window;
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.ShowPage(from);

    QTest::keyClick(window.ui.Pages, static_cast<Qt::Key>(key), modifiers);

    QCOMPARE(window.CurrentPage(), expected);
    QCOMPARE(window.ui.Pages->Page(), window.Pages()[static_cast<std::size_t>(expected - 1)].get());
    QCOMPARE(StatusText(window), QStringLiteral("Page %1 of 3").arg(expected));
}

void ReportPreviewTest::zoomTogglesAreExclusive() {
    BuiltPreview preview;
    const Ui::ReportPreview& ui = preview.Window.ui;
    const std::pair<QAction*, PageView::Zoom> toggles[] = {
        {ui.ActionWholePage, PageView::Zoom::WholePage},
        {ui.ActionActualSize, PageView::Zoom::ActualSize},
        {ui.ActionPageWidth, PageView::Zoom::PageWidth},
        {ui.ActionPageWidth, PageView::Zoom::PageWidth}, // pressing the chosen one keeps it
    };
    for (const auto& [pressed, zoom] : toggles) {
        pressed->trigger();
        for (const auto& [toggle, unused] : toggles)
            QCOMPARE(toggle->isChecked(), toggle == pressed);
        QCOMPARE(ui.Pages->CurrentZoom(), zoom);
    }
}

void ReportPreviewTest::previewReturnsOnceTheWindowIsGone_data() {
    QTest::addColumn<int>("atLine"); // 0: once every page is built
    QTest::addColumn<Ending>("ending");

    QTest::newRow("Esc while building") << 10 << Ending::EscapeKey;
    QTest::newRow("application quits while building") << 10 << Ending::ApplicationQuits;
    QTest::newRow("Esc once complete") << 0 << Ending::EscapeKey;
    QTest::newRow("close button once complete") << 0 << Ending::CloseButton;
    QTest::newRow("application quits once complete") << 0 << Ending::ApplicationQuits;
}

void ReportPreviewTest::previewReturnsOnceTheWindowIsGone() {
    QFETCH(int, atLine);
    QFETCH(Ending, ending);
    SampleReport sample(SampleLines);
    ReportPrintSettings settings;
    bool ended = false;
    const auto end = [ending, &ended] {
        ended = true;
        ReportPreview* window = OpenPreview();
        QVERIFY(window);
        if (ending == Ending::EscapeKey) {
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window));
            QTest::keyClick(window->ui.Pages, Qt::Key_Escape);
        } else if (ending == Ending::CloseButton) {
            window->ui.ActionClose->trigger();
        } else {
            QApplication::quit();
        }
    };
    if (atLine > 0) {
        // Arrives as the user's input does: in the events the pass dispatches between lines.
        sample.AfterLine = [&](int line) {
            if (line == atLine)
                QTimer::singleShot(0, end);
        };
    } else {
        WhenReady([] { return OpenPreview() && !OpenPreview()->IsBuilding(); }, end);
    }

    bool returned = false;
    const auto preview = [&] {
        ReportPreview::Preview(sample.Report, settings);
        returned = true;
    };
    if (ending == Ending::ApplicationQuits) {
        QTimer::singleShot(0, preview);
        QApplication::exec(); // quitting needs the application's own loop
    } else {
        preview();
    }

    QVERIFY(ended);
    QVERIFY(returned);
    QCOMPARE(OpenPreview(), nullptr);
    QVERIFY(!sample.Report.IsRunning());
    QVERIFY(!sample.Report.ProcessEvents); // the hook the window set is gone with it
    QCOMPARE(sample.BeforePrintCalls, 1);
    QCOMPARE(sample.LinesProduced, atLine > 0 ? atLine : SampleLines);
}

void ReportPreviewTest::previewDuringAPassReturnsAtOnce() {
    SampleReport sample(SampleLines);
    ReportPrintSettings settings;
    int nestedBeforePrints = -1;
    sample.AfterLine = [&](int line) {
        if (line != 5)
            return;
        ReportPreview::Preview(sample.Report, settings);
        nestedBeforePrints = sample.BeforePrintCalls;
    };
    const auto result = [&] {
        ReportPreview window(sample.Report, settings);
        return window.Build();
    }();
    QCOMPARE(result, BandedReport::PassResult::Completed);
    QCOMPARE(nestedBeforePrints, 1);
    QCOMPARE(OpenPreview(), nullptr);
}

void ReportPreviewTest::printRunsANewPassOntoThePrinter_data() {
    QTest::addColumn<int>("firstPage");
    QTest::addColumn<int>("lastPage");
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<int>("expectedSheets");

    QTest::newRow("all pages") << 0 << 0 << false << 3;
    QTest::newRow("pages 2 to 3") << 2 << 3 << false << 2;
    // 45 lines on page 1 and 47 on each later page: 150 lines and the summary take four.
    QTest::newRow("landscape chosen in printer setup") << 0 << 0 << true << 4;
}

void ReportPreviewTest::printRunsANewPassOntoThePrinter() {
    QFETCH(int, firstPage);
    QFETCH(int, lastPage);
    QFETCH(bool, landscape);
    QFETCH(int, expectedSheets);
    QTemporaryDir dir;
    BuiltPreview preview;
    const ReportPreview::PageList shownBefore = preview.Window.Pages();
    ReportPrintSettings chosen;
    chosen.OutputFileName = dir.filePath(QStringLiteral("printed.pdf"));
    chosen.FirstPage = firstPage;
    chosen.LastPage = lastPage;
    chosen.Orientation = landscape ? PageOrientation::Landscape : PageOrientation::Portrait;
    preview.Window.ApplyPrinterSetup(chosen);

    preview.Window.Print();

    QCOMPARE(preview.Errors, QStringList());
    QCOMPARE(preview.Sample.BeforePrintCalls, 2);
    QCOMPARE(preview.Sample.LinesProduced, SampleLines);
    const QByteArray pdf = PdfInspection::ReadAll(chosen.OutputFileName);
    QCOMPARE(PdfInspection::PageCount(pdf), expectedSheets);
    QCOMPARE(PdfInspection::MediaBoxes(pdf), PdfInspection::A4Sheets(expectedSheets, landscape));
    QCOMPARE(PdfInspection::Title(pdf), QStringLiteral("tarn")); // the job's name
    QCOMPARE(preview.Settings, chosen);
    QVERIFY(preview.Window.Pages() == shownBefore); // the preview keeps its own pages
}

void ReportPreviewTest::printWithoutAPrinterDoesNothing() {
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("a printer is installed here");
    BuiltPreview preview;

    preview.Window.ui.ActionPrint->trigger();

    QCOMPARE(preview.Sample.BeforePrintCalls, 1);
    QCOMPARE(preview.Errors, QStringList());
}

void ReportPreviewTest::savedPagesLoadBack_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("pdf");

    QTest::newRow("page file") << QStringLiteral("listing.tarnpages") << false;
    QTest::newRow("PDF") << QStringLiteral("listing.PDF") << true;
}

void ReportPreviewTest::savedPagesLoadBack() {
    QFETCH(QString, name);
    QFETCH(bool, pdf);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    BuiltPreview preview;

    QVERIFY(preview.Window.SaveTo(path));

    QCOMPARE(preview.Errors, QStringList());
    if (pdf) {
        QCOMPARE(PdfInspection::PageCount(PdfInspection::ReadAll(path)), 3);
        return;
    }
    SampleReport other(10);
    ReportPrintSettings settings;
    ReportPreview window(other.Report, settings);
    window.Build();
    QCOMPARE(window.PageCount(), 1);
    QVERIFY(window.LoadFrom(path));
    QCOMPARE(window.PageCount(), 3);
    QCOMPARE(window.CurrentPage(), 1);
    QCOMPARE(StatusText(window), QStringLiteral("Page 1 of 3"));
    QVERIFY(window.ShowsLoadedPages());
    QVERIFY(!window.ui.ActionPrinterSetup->isEnabled());
    QVERIFY(window.ui.ActionPrint->isEnabled());
}

void ReportPreviewTest::loadedPagesPrintWithoutANewPass() {
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("listing.tarnpages"));
    {
        BuiltPreview preview;
        QVERIFY(preview.Window.SaveTo(saved));
    }
    BuiltPreview preview;
    QVERIFY(preview.Window.LoadFrom(saved));
    ReportPrintSettings chosen;
    chosen.OutputFileName = dir.filePath(QStringLiteral("printed.pdf"));
    chosen.FirstPage = chosen.LastPage = 2; // chosen for the report's pages, not for a file's
    preview.Window.ApplyPrinterSetup(chosen);

    preview.Window.Print();

    QCOMPARE(preview.Errors, QStringList());
    QCOMPARE(preview.Sample.BeforePrintCalls, 1);
    QCOMPARE(PdfInspection::PageCount(PdfInspection::ReadAll(chosen.OutputFileName)), 3);
}

void ReportPreviewTest::aBadFileKeepsThePages_data() {
    QTest::addColumn<QByteArray>("contents");

    QTest::newRow("missing file") << QByteArray();
    QTest::newRow("not a page file") << QByteArray("%PDF-1.4 something else entirely");
    QTest::newRow("cut short") << QByteArray("TARNPAGE");
}

void ReportPreviewTest::aBadFileKeepsThePages() {
    QFETCH(QByteArray, contents);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.tarnpages"));
    if (!contents.isEmpty())
        WriteFile(path, contents);
    BuiltPreview preview;
    ReportPreview& window = preview.Window;
    window.ShowPage(2);
    const ReportPreview::PageList before = window.Pages();

    QVERIFY(!window.LoadFrom(path));

    const PageFile::LoadResult expected = PageFile::Load(path);
    QVERIFY(!expected.Ok());
    QCOMPARE(preview.Errors, QStringList{expected.Error});
    QVERIFY(window.Pages() == before);
    QCOMPARE(window.CurrentPage(), 2);
    QVERIFY(!window.ShowsLoadedPages());
    QVERIFY(window.ui.ActionPrinterSetup->isEnabled());
}

void ReportPreviewTest::printerSetupOffersThePagesBuilt() {
    BuiltPreview preview;
    preview.Settings.Copies = 2;
    const ReportPrintSettings before = preview.Settings;
    int minPage = -1;
    int maxPage = -1;
    WhenReady([] { return qobject_cast<QPrintDialog*>(QApplication::activeModalWidget()); },
              [&] {
                  auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
                  minPage = dialog->minPage();
                  maxPage = dialog->maxPage();
                  dialog->reject();
              });

    preview.Window.ui.ActionPrinterSetup->trigger();

    QCOMPARE(minPage, 1);
    QCOMPARE(maxPage, 3);
    QCOMPARE(preview.Settings, before); // not confirmed: nothing stored
}

void ReportPreviewTest::confirmedPrinterSetupLaysOutItsOrientation() {
    QTemporaryDir dir;
    BuiltPreview preview;
    preview.Settings.OutputFileName = dir.filePath(QStringLiteral("printed.pdf"));
    preview.Settings.Orientation = PageOrientation::Landscape;
    preview.Settings.Copies = 2;
    const ReportPrintSettings before = preview.Settings;
    WhenReady([] { return qobject_cast<QPrintDialog*>(QApplication::activeModalWidget()); },
              [] { qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())->accept(); });

    preview.Window.ui.ActionPrinterSetup->trigger();

    QCOMPARE(preview.Settings, before);
    QCOMPARE(preview.Sample.Report.Page().Orientation(), PageOrientation::Landscape);
}

QTEST_MAIN(ReportPreviewTest)
#include "ReportPreviewTest.moc"
