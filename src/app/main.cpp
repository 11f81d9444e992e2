// Start-up. Any argument selects the command line, which is parsed before any application object
// exists, so that errors, --help, --version and the tree formats never start the GUI. Without
// arguments: the main window first, then the report form, then the event loop until the exit
// button or the close box ends it.
#include "CommandLineRun.h"
#include "TFormMain.h"
#include "TFormReport.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>

int main(int argc, char** argv) {
    if (argc > 1)
        return CommandLineRun::Main({argv + 1, argv + argc});

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tarn"));
    QApplication::setApplicationDisplayName(QStringLiteral("tarn!"));
    QApplication::setApplicationVersion(QStringLiteral("0.1"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tarn.png")));

    TFormMain FormMain;
    TFormReport FormReport(FormMain, QLocale::system().decimalPoint().toStdString());
    FormMain.SetReport(&FormReport);
    FormMain.show();
    return QApplication::exec();
}
