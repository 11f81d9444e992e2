// Saves the README's pictures, made by the program's own windows on the offscreen platform:
//   tarn_screenshots <directory to list> <output folder>
// writes main-window.png and preview.png (page 1 of the listing, fitted to the page width).
#include "ReportPreview.h"
#include "TFormMain.h"
#include "TFormReport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>

#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tarn.png")));
    if (argc != 3) {
        std::fprintf(stderr, "usage: tarn_screenshots <directory to list> <output folder>\n");
        return 2;
    }
    const QString start = QString::fromLocal8Bit(argv[1]);
    const QDir out(QString::fromLocal8Bit(argv[2]));

    TFormMain form;
    TFormReport report(form, ".");
    form.SetReport(&report);
    form.ui.Dir->setText(start);
    form.show();
    QApplication::processEvents();
    bool ok = form.grab().save(out.filePath(QStringLiteral("main-window.png")));

    // What the run does before it opens the preview, then the preview itself, kept open.
    form.Tree.BuildTree(QFile::encodeName(start).toStdString());
    if (form.Tree.Root() == nullptr) {
        std::fprintf(stderr, "Error accessing \"%s\"\n", argv[1]);
        return 1;
    }
    form.SetRunTexts(*form.Tree.Root());
    ReportPreview preview(report.QR, form.PrintSettings);
    preview.resize(1100, 800);
    preview.show();
    preview.Build();
    QApplication::processEvents();
    ok = preview.grab().save(out.filePath(QStringLiteral("preview.png"))) && ok;
    form.Tree.ReleaseTree();
    return ok ? 0 : 1;
}
