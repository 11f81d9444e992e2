// Races tarn's report pass against Qt's own floor on generated trees of 20,000 and 200,000
// directories (one detail line each): the report form's callbacks, its labels and the band
// placement into page drawings, and on into a PDF, beside the least Qt needs to measure and
// record the same text runs, and beside Qt's PDF writer drawing the same runs; and how soon the
// first page is handed over. The report is set up as the command line sets it up, with its
// defaults. Prints one table of medians and ratios. Exit status: 0 when every pass completed
// with its pages, 1 when one did not, 2 for a bad command line.

#include "AlternatingRace.h"
#include "CommandLineOptions.h"
#include "DirTree.h"
#include "FirstPageClock.h"
#include "FixedListingOptions.h"
#include "GeneratedTreeEnumerator.h"
#include "MachineLoad.h"
#include "PdfExport.h"
#include "QtPdfFloor.h"
#include "QtTextFloor.h"
#include "ResultTable.h"
#include "RunTexts.h"
#include "TDirEntry.h"
#include "TFormReport.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <charconv>
#include <iostream>
#include <string_view>
#include <vector>

namespace {

constexpr double kPassTarget = 2.0;       // times the floor
constexpr double kFirstPageTargetMs = 50; // a preview shows page 1 this soon
constexpr int kLayoutDpi = 96;            // as the command line lays out

struct ReportBenchOptions {
    int Rounds = 5;
    bool Quick = false;
};

const char* const kUsage = "usage: tarn_bench_report [--rounds N] [--quick]\n"
                           "  --rounds N  timed rounds of each contender on each size (default 5)\n"
                           "  --quick     trees of 200 and 2,000 lines and 1 round, a smoke run\n";

bool Parse(int argc, char** argv, ReportBenchOptions& options) {
    bool roundsGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--quick") {
            options.Quick = true;
        } else if (arg == "--rounds" && i + 1 < argc) {
            const std::string_view value = argv[++i];
            const auto [end, error] =
                std::from_chars(value.data(), value.data() + value.size(), options.Rounds);
            if (error != std::errc() || end != value.data() + value.size() || options.Rounds < 1)
                return false;
            roundsGiven = true;
        } else {
            return false;
        }
    }
    if (options.Quick && !roundsGiven)
        options.Rounds = 1;
    return true;
}

std::string SizeLabel(std::int64_t lines) {
    return lines % 1000 == 0 ? std::to_string(lines / 1000) + "k lines"
                             : std::to_string(lines) + " lines";
}

// The report of one run, set up as the command line sets it up for --pdf with its defaults.
class BenchReport {
public:
    explicit BenchReport(const DirTree& tree)
        : Listing_(Options_, tree.DirList.get()), Report_(Listing_, ".") {
        Report_.QR.SetLayoutDpi(kLayoutDpi);
        SetRunTexts(Report_, *tree.Root(),
                    {Options_.Columns, Listing_.FontDialogNormal(), Options_.Caption, Options_.Date,
                     Options_.Summary});
    }

    TFormReport& Form() { return Report_; }

    // The two texts of every detail line, as the callbacks produce them.
    std::vector<QtTextFloor::Line> CollectLines() {
        std::vector<QtTextFloor::Line> lines;
        bool printReport = true;
        Report_.QRBeforePrint(printReport);
        for (;;) {
            bool moreData = false;
            Report_.QRNeedData(moreData);
            if (!moreData)
                break;
            lines.push_back({Report_.QRLabelDir.Caption(), Report_.QRLabelSize.Caption()});
        }
        return lines;
    }

private:
    CommandLineOptions Options_;
    FixedListingOptions Listing_;
    TFormReport Report_;
};

std::optional<std::string> CheckPass(BandedReport::PassResult result, const FirstPageClock& clock) {
    if (result != BandedReport::PassResult::Completed)
        return std::string("the report pass did not complete");
    if (clock.Pages().empty())
        return std::string("the report pass made no page");
    return std::nullopt;
}

// Every contender on one size; false when a pass failed.
bool RaceSize(std::int64_t lines, int rounds, const QString& folder, ResultTable& table) {
    std::cerr << "tarn_bench_report: " << SizeLabel(lines) << ", " << rounds << " rounds"
              << std::endl;
    DirTree tree;
    GeneratedTreeEnumerator generated(lines);
    tree.BuildTree("generated", generated);
    BenchReport report(tree);
    QtTextFloor floor(report.Form().QRLabelDir.Font(), report.Form().QRLabelSize.Font(), kLayoutDpi,
                      report.CollectLines());
    BandedReport& qr = report.Form().QR;
    const QString pdfPath = folder + "/tarn.pdf";
    const QString floorPdfPath = folder + "/floor.pdf";

    FirstPageClock clock;
    TimingSamples firstPage;
    bool warmedUp = false;
    std::vector<std::shared_ptr<const ReportPage>> pages; // for the PDF floor

    AlternatingRace race;
    race.Add("Qt floor", [&floor]() -> std::optional<std::string> {
        floor.Run();
        return std::nullopt;
    });
    race.Add("tarn pass, drawings", [&]() -> std::optional<std::string> {
        clock.Start();
        const auto result = qr.Run(clock);
        // The warm-up's page time is left out like its pass time.
        if (warmedUp)
            firstPage.Add(clock.FirstPageMs());
        warmedUp = true;
        if (pages.empty())
            pages = clock.Pages();
        return CheckPass(result, clock);
    });
    race.Add("tarn pass, PDF", [&]() -> std::optional<std::string> {
        clock.Start();
        const auto result = qr.Run(clock);
        if (auto error = CheckPass(result, clock))
            return error;
        const PdfExport::Result written = PdfExport::Write(pdfPath, clock.Pages(), "tarn");
        if (!written.Ok)
            return written.Error.toStdString();
        return std::nullopt;
    });
    race.Add("Qt PDF floor", [&]() -> std::optional<std::string> {
        if (!QtPdfFloor::Write(floorPdfPath, pages))
            return std::string("the PDF floor could not write its file");
        return std::nullopt;
    });
    race.Race(rounds);

    const std::string group = SizeLabel(lines);
    bool ok = true;
    for (const AlternatingRace::Result& result : race.Results()) {
        if (!result.Error.empty()) {
            std::cout << group << ": FAILED: " << result.Name << ": " << result.Error << "\n";
            ok = false;
            continue;
        }
        auto options = ResultTable::RowOptions::PerSecond(lines);
        if (result.Name != "Qt floor" && result.Name != "Qt PDF floor")
            options.TargetRatio = kPassTarget;
        table.Add(group, result.Name, result.Samples, options);
        if (result.Name == "tarn pass, PDF")
            table.Add(group, "tarn pass, PDF (Qt PDF)", result.Samples,
                      ResultTable::RowOptions::PerSecond(lines, "Qt PDF floor"));
    }
    if (!firstPage.Empty())
        table.Add(group, "page 1 handed over", firstPage,
                  ResultTable::RowOptions::WithinMs(kFirstPageTargetMs));
    std::cout << group << ": " << pages.size() << " pages\n";
    tree.ReleaseTree();
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    ReportBenchOptions options;
    if (!Parse(argc, argv, options)) {
        std::cerr << kUsage;
        return 2;
    }
    // Measured as the command line runs: offscreen, whatever display there is.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    char name[] = "tarn_bench_report";
    char* qtArgv[] = {name, nullptr};
    QGuiApplication app(qtArgc, qtArgv);
    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::cerr << "tarn_bench_report: no temporary folder for the PDF files\n";
        return 2;
    }

    const std::vector<std::int64_t> sizes = options.Quick
                                                ? std::vector<std::int64_t>{200, 2'000}
                                                : std::vector<std::int64_t>{20'000, 200'000};
    std::cout << options.Rounds << " timed round(s) after one warm-up of each contender\n";
    std::cout << "at the start: " << MachineLoad::Text() << "\n";
    ResultTable table;
    bool ok = true;
    for (const std::int64_t lines : sizes)
        ok = RaceSize(lines, options.Rounds, folder.path(), table) && ok;

    std::cout << "at the end: " << MachineLoad::Text() << "\n\n";
    table.Print(std::cout);
    const std::vector<std::string> missed = table.MissedTargets();
    std::cout << "\ntargets missed: " << (missed.empty() ? "none" : "") << "\n";
    for (const std::string& row : missed)
        std::cout << "  " << row << "\n";
    return ok ? 0 : 1;
}
