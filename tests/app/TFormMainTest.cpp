#include "TFormMain.h"
#include "DirTree.h"
#include "FixtureTree.h"
#include "ReportPreview.h"
#include "TFormReport.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

namespace {

// Runs `action` on the next modal dialog or preview window to appear, from the event loop.
void WhenModalAppears(std::function<void(QWidget*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        }
    });
    timer->start();
}

// Runs `action` on the preview once it is open and, unless `whileBuilding`, complete.
void WhenPreviewIs(bool whileBuilding, std::function<void(ReportPreview*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(1);
    QObject::connect(timer, &QTimer::timeout, [timer, whileBuilding, action] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* preview = qobject_cast<ReportPreview*>(widget);
            if (preview && !preview->IsClosed() && preview->PageCount() > 0 &&
                preview->IsBuilding() == whileBuilding) {
                timer->stop();
                timer->deleteLater();
                action(preview);
                return;
            }
        }
    });
    timer->start();
}

QStringList PageTexts(const ReportPreview& preview) {
    QStringList texts;
    for (const auto& page : preview.Pages()) {
        for (const PageItem& item : page->Items) {
            if (item.ItemKind == PageItem::Kind::Text)
                texts << item.Text;
        }
    }
    return texts;
}

// A window with its report form, as the program starts them.
struct Program {
    TFormMain FormMain;
    TFormReport FormReport{FormMain, "."};
    Program() {
        FormMain.SetReport(&FormReport);
        FormMain.show();
    }
};

} // namespace

class TFormMainTest : public QObject {
    Q_OBJECT

private slots:
    void startsWithTheDefaults() {
        TFormMain form;
        const Ui::TFormMain& ui = form.ui;
        QCOMPARE(form.windowTitle(), QStringLiteral("tarn! v0.1"));
        QCOMPARE(form.size(), QSize(342, 386));
        QCOMPARE(ui.Dir->text(), QStringLiteral("/"));
        QCOMPARE(ui.EditCaption->text(), QStringLiteral("directory listing"));
        QCOMPARE(ui.TrackBarColumns->value(), 2);
        QCOMPARE(ui.TrackBarColumns->minimum(), 1);
        QCOMPARE(ui.TrackBarColumns->maximum(), 5);
        QCOMPARE(ui.TrackBarTab->value(), 10);
        QCOMPARE(ui.TrackBarTab->minimum(), 6);
        QCOMPARE(ui.TrackBarTab->maximum(), 16);
        QCOMPARE(ui.LabelColV->text(), QStringLiteral("2"));
        QCOMPARE(ui.LabelTabV->text(), QStringLiteral("10"));
        QCOMPARE(form.FontDepth(), 0);
        QCOMPARE(ui.LabelFontDepth->text(), QStringLiteral("0"));
        for (QCheckBox* box :
             {ui.CBroot, ui.CBdate, ui.CBsummary, ui.CBfc, ui.CBhd, ui.CBtfc, ui.CBthd, ui.CBsdc})
            QVERIFY2(box->isChecked() && box->isEnabled(), qPrintable(box->objectName()));
        QCOMPARE(form.FontDialogNormal().family(), QStringLiteral("Arial"));
        QCOMPARE(form.FontDialogNormal().pointSize(), 8);
        QCOMPARE(form.FontDialogSpecial(), form.FontDialogNormal());
        QVERIFY(ui.ButtonGo->isDefault());
        QCOMPARE(form.DirList(), nullptr);
    }

    void focusFollowsTheTabOrder() {
        TFormMain form;
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        const Ui::TFormMain& ui = form.ui;
        const QList<QWidget*> order = {ui.Dir->lineEdit(),
                                       ui.EditCaption,
                                       ui.TrackBarColumns,
                                       ui.TrackBarTab,
                                       ui.Button1,
                                       ui.Button2,
                                       ui.CBroot,
                                       ui.CBdate,
                                       ui.CBsummary,
                                       ui.CBfc,
                                       ui.CBhd,
                                       ui.CBtfc,
                                       ui.CBthd,
                                       ui.CBsdc,
                                       ui.ButtonGo,
                                       ui.ButtonExit};
        order.front()->setFocus();
        for (int i = 1; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), order[i]);
        }
    }

    void fontDepthStaysWithin0And16() {
        TFormMain form;
        form.UpDown1Click(UpDownArrows::Button::Down);
        QCOMPARE(form.ui.LabelFontDepth->text(), QStringLiteral("0"));
        for (int i = 0; i < 20; ++i)
            QTest::mouseClick(form.ui.UpDown1->upButton(), Qt::LeftButton);
        QCOMPARE(form.ui.LabelFontDepth->text(), QStringLiteral("16"));
        QTest::mouseClick(form.ui.UpDown1->downButton(), Qt::LeftButton);
        QCOMPARE(form.ui.LabelFontDepth->text(), QStringLiteral("15"));
        QCOMPARE(form.FontDepth(), 15);
    }

    void subtreeSizeSwitchEnablesTheSubdirCount() {
        TFormMain form;
        QTest::mouseClick(form.ui.CBthd, Qt::LeftButton, {}, QPoint(5, 8));
        QVERIFY(!form.ui.CBthd->isChecked());
        QVERIFY(!form.ui.CBsdc->isEnabled());
        QVERIFY(form.ui.CBsdc->isChecked()); // keeps its state while disabled
        QTest::mouseClick(form.ui.CBthd, Qt::LeftButton, {}, QPoint(5, 8));
        QVERIFY(form.ui.CBsdc->isEnabled());
    }

    void trackBarLabelsFollowEveryStep() {
        TFormMain form;
        form.show();
        form.ui.TrackBarColumns->setFocus();
        for (int i = 0; i < 6; ++i)
            QTest::keyClick(form.ui.TrackBarColumns, Qt::Key_Right);
        QCOMPARE(form.ui.LabelColV->text(), QStringLiteral("5"));
        for (int i = 0; i < 20; ++i)
            QTest::keyClick(form.ui.TrackBarTab, Qt::Key_Left);
        QCOMPARE(form.ui.LabelTabV->text(), QStringLiteral("6"));
    }

    void escapePressesExit() {
        TFormMain form;
        form.show();
        QSignalSpy exit(form.ui.ButtonExit, &QPushButton::clicked);
        QTest::keyClick(&form, Qt::Key_Escape);
        QCOMPARE(exit.count(), 1);
    }

    void aMissingDirectoryWarnsAndOpensNoPreview() {
        TFormMain form;
        TFormReport report(form, ".");
        form.SetReport(&report);
        form.show();
        FixtureTree fx;
        const QString missing = QString::fromStdString(fx.Path()) + "/no such dir";
        form.ui.Dir->setText(missing);
        QString warning;
        WhenModalAppears([&warning](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                warning = box->text();
                box->accept();
            }
        });
        form.ui.ButtonGo->setFocus();
        QTest::keyClick(form.ui.EditCaption, Qt::Key_Return); // Enter runs the listing
        QCOMPARE(warning, QStringLiteral("Error accessing \"%1\"").arg(missing));
        QCOMPARE(form.DirList(), nullptr); // released
        QVERIFY(!form.IsRunning());
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void aRunBuildsThePagesAndReleasesTheTreeWhenThePreviewCloses() {
        FixtureTree fx;
        fx.File("one", 1536);
        fx.Dir("sub");
        Program program;
        TFormMain& form = program.FormMain;
        form.ui.Dir->setText(QString::fromStdString(fx.Path()));
        form.ui.EditCaption->setText("my listing");
        QStringList texts;
        QString title;
        WhenPreviewIs(false, [&](ReportPreview* preview) {
            texts = PageTexts(*preview);
            title = preview->windowTitle();
            QVERIFY(form.DirList() != nullptr); // alive while the preview shows it
            preview->close();
        });
        form.ui.ButtonGo->click();
        QCOMPARE(title, QStringLiteral("tarn"));
        QVERIFY(texts.contains("my listing"));
        QVERIFY(texts.contains(QString::fromStdString(fx.Path())));
        QVERIFY(texts.contains("1 file (1.5kb)"));
        QVERIFY(texts.contains("overall: 1.5kb"));
        QVERIFY(texts.contains("1 files, 1 subdirs"));
        QVERIFY(texts.filter(QRegularExpression("^printed on .+")).size() == 1);
        QCOMPARE(form.DirList(), nullptr);
        QVERIFY(!form.IsRunning());
    }

    void anOptionChangedWhileThePreviewIsOpenReachesTheNextPrintOnly() {
        FixtureTree fx;
        fx.File("one", 1536);
        Program program;
        TFormMain& form = program.FormMain;
        form.ui.Dir->setText(QString::fromStdString(fx.Path()));
        const QString pdf = QString::fromStdString(fx.Path()) + "/../" +
                            QFileInfo(QString::fromStdString(fx.Path())).fileName() + ".pdf";
        form.PrintSettings.OutputFileName = pdf;
        QStringList shown;
        WhenPreviewIs(false, [&](ReportPreview* preview) {
            form.ui.CBfc->setChecked(false);      // read by the listing lines at the next pass
            form.ui.TrackBarColumns->setValue(5); // fixed for this run: no effect now
            preview->Print();
            shown = PageTexts(*preview);
            preview->close();
        });
        form.ui.ButtonGo->click();
        QVERIFY(shown.contains("1 file (1.5kb)")); // the preview keeps its own pages
        QProcess text;
        text.start("pdftotext", {"-layout", pdf, "-"});
        if (!text.waitForFinished(20000) || text.exitCode() != 0)
            QSKIP("pdftotext is not available");
        const QString printed = QString::fromUtf8(text.readAllStandardOutput());
        QFile::remove(pdf);
        QVERIFY2(printed.contains("(1.5kb)") && !printed.contains("1 file ("), qPrintable(printed));
        QCOMPARE(program.FormReport.QR.Page().Columns(), 2);
    }

    void closingThePreviewWhileItBuildsEndsTheRun() {
        FixtureTree fx;
        for (int i = 0; i < 3000; ++i)
            fx.Dir("d" + std::to_string(i));
        Program program;
        TFormMain& form = program.FormMain;
        form.ui.Dir->setText(QString::fromStdString(fx.Path()));
        bool closedWhileBuilding = false;
        WhenPreviewIs(true, [&](ReportPreview* preview) {
            closedWhileBuilding = preview->IsBuilding();
            preview->close();
        });
        form.ui.ButtonGo->click();
        QVERIFY(closedWhileBuilding);
        QCOMPARE(form.DirList(), nullptr);
        QVERIFY(!form.IsRunning());
    }

    void aSecondRunWhileThePreviewIsOpenStartsNothing() {
        FixtureTree fx;
        Program program;
        TFormMain& form = program.FormMain;
        form.ui.Dir->setText(QString::fromStdString(fx.Path()));
        int previews = 0;
        const TDirList* treeOfFirstRun = nullptr;
        WhenPreviewIs(false, [&](ReportPreview* preview) {
            treeOfFirstRun = form.DirList();
            form.ui.ButtonGo->click(); // brings the open preview forward, returns at once
            for (QWidget* widget : QApplication::topLevelWidgets())
                previews += qobject_cast<ReportPreview*>(widget) != nullptr;
            QCOMPARE(form.DirList(), treeOfFirstRun);
            preview->close();
        });
        form.ui.ButtonGo->click();
        QCOMPARE(previews, 1);
        QCOMPARE(form.DirList(), nullptr);
    }

    void anEmptyStartListsTheCurrentDirectory() {
        FixtureTree fx;
        fx.Dir("here");
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(QString::fromStdString(fx.Path())));
        Program program;
        TFormMain& form = program.FormMain;
        form.ui.Dir->setText(QString());
        QStringList texts;
        WhenPreviewIs(false, [&](ReportPreview* preview) {
            texts = PageTexts(*preview);
            preview->close();
        });
        form.ui.ButtonGo->click();
        QDir::setCurrent(previous);
        QVERIFY(texts.contains("here"));
        QVERIFY(texts.contains("0 files, 1 subdirs"));
        QCOMPARE(form.DirList(), nullptr);
    }

    void exitingWithThePreviewOpenReleasesTheTree() {
        FixtureTree fx;
        Program program;
        TFormMain& form = program.FormMain;
        form.ui.Dir->setText(QString::fromStdString(fx.Path()));
        WhenPreviewIs(false, [&](ReportPreview*) { form.ui.ButtonExit->click(); });
        QTimer::singleShot(0, form.ui.ButtonGo, &QPushButton::click);
        QApplication::exec(); // the program's loop, ended by the exit button
        QCOMPARE(form.DirList(), nullptr);
        QVERIFY(!form.IsRunning());
        for (QWidget* widget : QApplication::topLevelWidgets())
            QVERIFY(qobject_cast<ReportPreview*>(widget) == nullptr);
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TFormMainTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "TFormMainTest.moc"
