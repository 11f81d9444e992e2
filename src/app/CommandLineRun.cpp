#include "CommandLineRun.h"

#include "CollectingPageSink.h"
#include "CommandLine.h"
#include "DirTree.h"
#include "FixedListingOptions.h"
#include "ListingTextWriter.h"
#include "PageFile.h"
#include "PdfExport.h"
#include "PosixDirEnumerator.h"
#include "RunTexts.h"
#include "ScanProgress.h"
#include "SizeStr.h"
#include "TFormReport.h"
#include "TreeCsvWriter.h"
#include "TreeJsonWriter.h"

#include <QGuiApplication>
#include <QLocale>

#include <unistd.h>

#include <functional>
#include <iostream>

namespace {

using Output = CommandLineOptions::Output;
using PageList = std::vector<std::shared_ptr<const ReportPage>>;

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

constexpr auto kProgressInterval = std::chrono::milliseconds(200);
// Every run lays the pages out at the same resolution, whatever screen the machine has or lacks.
constexpr int kLayoutDpi = 96;

void PrintError(const QString& message) {
    std::cerr << "tarn: " << message.toLocal8Bit().toStdString() << '\n';
}

// Everything written to standard output must have reached it, or the run failed.
int FinishStandardOutput() {
    std::cout.flush();
    if (std::cout)
        return kExitOk;
    PrintError(QStringLiteral("cannot write to standard output"));
    return kExitFailure;
}

int PrintText(const QString& text) {
    std::cout << text.toLocal8Bit().toStdString();
    return FinishStandardOutput();
}

std::string DecimalSeparator() {
    return QLocale::system().decimalPoint().toStdString();
}

// The scan's progress count on a terminal, redrawn in place on one line and wiped when the scan
// is over.
class TerminalProgressLine {
public:
    TerminalProgressLine() : Separator_(DecimalSeparator()) {}
    TerminalProgressLine(const TerminalProgressLine&) = delete;
    TerminalProgressLine& operator=(const TerminalProgressLine&) = delete;
    ~TerminalProgressLine() {
        if (Shown_)
            std::cerr << "\r\033[K" << std::flush;
    }

    void Show(const ScanProgress::Counts& counts) {
        std::cerr << '\r' << counts.Dirs << " directories, " << counts.Files << " files, "
                  << SizeStr(counts.Bytes, 2, Separator_) << "\033[K" << std::flush;
        Shown_ = true;
    }

private:
    std::string Separator_;
    bool Shown_ = false;
};

// Progress is shown only while standard error is a terminal. The counting scan runs on this
// thread alone; without a terminal the tree's own, fastest scan runs.
void Scan(DirTree& tree, const std::string& dir) {
    if (isatty(STDERR_FILENO) != 1) {
        tree.BuildTree(dir);
        return;
    }
    TerminalProgressLine line;
    PosixDirEnumerator files;
    ScanProgress progress(
        files, [&line](const ScanProgress::Counts& counts) { line.Show(counts); },
        kProgressInterval);
    tree.BuildTree(dir, progress);
}

// Qt's own notes (no runtime directory, a font fallback) are no concern of a batch run's user and
// would only clutter the mail of a cron job; its critical and fatal messages still get through.
void KeepCriticalMessages(QtMsgType type, const QMessageLogContext& /*context*/,
                          const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        PrintError(message);
}

// The modes that lay out pages need the font system: a GUI application, on the offscreen
// platform whatever the environment names, since they show nothing and must run without a
// display.
int WithGuiApplication(const std::function<int()>& work) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(KeepCriticalMessages);
    char name[] = "tarn";
    int argc = 1;
    char* argv[] = {name, nullptr}; // our own arguments are parsed already
    QGuiApplication app(argc, argv);
    return work();
}

int WritePages(Output mode, const QString& path, const PageList& pages, const QString& title) {
    QString error;
    if (mode == Output::Save) {
        error = PageFile::Save(path, pages).Error;
    } else {
        error = PdfExport::Write(path, pages, title).Error;
    }
    if (error.isEmpty())
        return kExitOk;
    PrintError(error);
    return kExitFailure;
}

int RunReport(const CommandLineOptions& options, const DirTree& tree) {
    const TDirEntry& root = *tree.Root();
    FixedListingOptions listing(options, tree.DirList.get());
    TFormReport report(listing, DecimalSeparator());
    report.QR.SetLayoutDpi(kLayoutDpi);
    SetRunTexts(report, root,
                {options.Columns, listing.FontDialogNormal(), options.Caption, options.Date,
                 options.Summary});
    report.QR.SetOrientation(options.Landscape ? PageOrientation::Landscape
                                               : PageOrientation::Portrait);
    if (options.Mode == Output::Text) {
        ListingTextWriter::Write(report, listing, {options.Date, options.Summary}, std::cout);
        return FinishStandardOutput();
    }
    CollectingPageSink sink;
    report.QR.Run(sink);
    return WritePages(options.Mode, options.OutputPath, sink.TakePages(), report.QR.ReportTitle());
}

int RunListing(const CommandLineOptions& options, const DirTree& tree) {
    switch (options.Mode) {
    case Output::Csv:
        TreeCsvWriter::Write(*tree.Root(), std::cout);
        return FinishStandardOutput();
    case Output::Json:
        TreeJsonWriter::Write(*tree.Root(), std::cout);
        return FinishStandardOutput();
    case Output::Pdf:
    case Output::Text:
    case Output::Save:
        break;
    }
    return WithGuiApplication([&] { return RunReport(options, tree); });
}

int ScanAndList(const CommandLineOptions& options) {
    DirTree tree;
    Scan(tree, options.Dir);
    int status = kExitFailure;
    if (tree.Root() == nullptr)
        std::cerr << "Error accessing \"" << options.Dir << "\"\n";
    else
        status = RunListing(options, tree);
    tree.ReleaseTree();
    return status;
}

int ConvertPageFile(const CommandLineOptions& options) {
    return WithGuiApplication([&] {
        const PageFile::LoadResult loaded = PageFile::Load(options.LoadPath);
        if (!loaded.Ok()) {
            PrintError(loaded.Error);
            return kExitFailure;
        }
        return WritePages(Output::Pdf, options.OutputPath, loaded.Pages, QStringLiteral("tarn"));
    });
}

} // namespace

int CommandLineRun::Main(const std::vector<std::string>& arguments) {
    const CommandLine::Parsed parsed = CommandLine::Parse(arguments);
    switch (parsed.Do) {
    case CommandLine::Action::Help:
        return PrintText(CommandLine::HelpText());
    case CommandLine::Action::Version:
        return PrintText(CommandLine::VersionText() + QLatin1Char('\n'));
    case CommandLine::Action::Error:
        PrintError(parsed.Error);
        return kExitUsage;
    case CommandLine::Action::Run:
        break;
    }
    if (!parsed.Options.LoadPath.isEmpty())
        return ConvertPageFile(parsed.Options);
    return ScanAndList(parsed.Options);
}
