// Saves a picture of the preview window, 1280 x 900, showing page 1 of a listing-like report of
// three pages in two columns:
//   preview_screenshot <file.png> [whole|actual|width]
// Runs on the offscreen platform unless QT_QPA_PLATFORM names another.
#include "ReportPreview.h"
#include "SampleReport.h"

#include <QApplication>
#include <QPixmap>

#include <cstdio>
#include <map>

namespace {

QAction* ZoomToggle(ReportPreview& window, const QString& name) {
    const std::map<QString, QAction*> toggles{
        {QStringLiteral("whole"), window.ui.ActionWholePage},
        {QStringLiteral("actual"), window.ui.ActionActualSize},
        {QStringLiteral("width"), window.ui.ActionPageWidth}};
    const auto found = toggles.find(name);
    return found == toggles.end() ? nullptr : found->second;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 2 || args.size() > 3) {
        std::fprintf(stderr, "usage: preview_screenshot <file.png> [whole|actual|width]\n");
        return 2;
    }

    SampleReport sample(330, 2);
    ReportPrintSettings settings;
    ReportPreview window(sample.Report, settings);
    window.resize(1280, 900);
    window.show();
    window.Build();
    if (args.size() == 3) {
        QAction* zoom = ZoomToggle(window, args[2]);
        if (zoom == nullptr) {
            std::fprintf(stderr, "unknown zoom: %s\n", qPrintable(args[2]));
            return 2;
        }
        zoom->trigger();
    }
    QApplication::processEvents();

    if (!window.grab().save(args[1])) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    return 0;
}
