// Races tarn's scan (BuildTree, single-threaded and with one worker per core) against minimal
// walks written here (the floors: one thread and two), du, find and tree on synthetic trees with
// a warm cache; measures what a built tree holds in memory; times the listing's walk and the
// subtree totals on big trees; and races tarn's command line end to end against the floor as a
// program of its own and against tree. It prints one table of medians and ratios, and checks
// that every contender that counts found what the trees hold. Exit status: 0 when every check
// passed, 1 when one failed, 2 when the benchmark could not run. Targets missed are reported,
// not failed: timings belong to the machine, not to the code.

#include "AlternatingRace.h"
#include "BenchOptions.h"
#include "DirTree.h"
#include "ExternalCommand.h"
#include "FloorWalk.h"
#include "MachineLoad.h"
#include "ParallelFloorWalk.h"
#include "ResultTable.h"
#include "ScanMemoryProbe.h"
#include "ScanTotals.h"
#include "SyntheticTree.h"
#include "TDirEntry.h"
#include "TreeWalks.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <variant>
#include <vector>

namespace {

// The targets, as ratios to the baseline of their row.
constexpr double kSerialScanTarget = 1.10;   // to the single-threaded floor
constexpr double kParallelScanTarget = 0.60; // to the single-threaded floor
constexpr double kCsvTarget = 1.15;          // to the floor as a program
constexpr double kTextTarget = 1.00;         // to tree
constexpr double kBytesPerEntryTarget = 120; // heap per entry beyond its name's bytes
// A walk of four times the entries that takes more than twice four times as long is growing with
// the square (16 times); a binary search per step and the caches give up to about 1.5 times.
constexpr double kNotQuadraticLimit = 2.0;
// The big tree takes seconds per contender: fewer rounds there, but never fewer than 5.
constexpr int kMillionRounds = 5;

std::string Grouped(std::int64_t value) {
    const std::string digits = std::to_string(value);
    std::string grouped;
    const std::size_t firstDigit = value < 0 ? 1 : 0;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > firstDigit && (digits.size() - i) % 3 == 0)
            grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

std::string BinaryAmount(std::int64_t bytes) {
    char text[32];
    if (bytes < 1024 * 1024)
        std::snprintf(text, sizeof text, "%.1f KiB", double(bytes) / 1024.0);
    else
        std::snprintf(text, sizeof text, "%.1f MiB", double(bytes) / (1024.0 * 1024.0));
    return text;
}

std::string DescribeTotals(const ScanTotals& totals) {
    return Grouped(totals.Files) + " files, " + Grouped(totals.Bytes) + " bytes, " +
           Grouped(totals.Directories) + " directories";
}

void Progress(const std::string& text) {
    std::cerr << "tarn_bench_scan: " << text << std::endl;
}

unsigned CoreCount() {
    return std::max(std::thread::hardware_concurrency(), 1u);
}

// One tree under test, and what the generator says a correct scan finds in it.
struct BenchTree {
    std::string Label;
    std::string Path;
    ScanTotals Expected;
};

ScanTotals RootTotals(const DirTree& tree) {
    const TDirEntry* root = tree.Root();
    if (root == nullptr)
        return ScanTotals{};
    return ScanTotals{TotalFileCount(*root), TotalSize(*root), TotalSubdirCount(*root) + 1};
}

// What one contender that counts found, for the checks after the race.
struct CountedTotals {
    std::string Contender;
    ScanTotals Totals;
};

// The first call is the race's untimed warm-up: it alone reads the totals, so that no timed
// round includes them.
AlternatingRace::Run TarnScan(const std::string& path, unsigned threads, ScanTotals& totals) {
    auto warmedUp = std::make_shared<bool>(false);
    return [path, threads, &totals, warmedUp]() -> std::optional<std::string> {
        DirTree tree;
        tree.BuildTree(path, threads);
        if (!*warmedUp) {
            totals = RootTotals(tree);
            *warmedUp = true;
        }
        tree.ReleaseTree();
        return std::nullopt;
    };
}

template <class Walk>
AlternatingRace::Run FloorScan(const std::string& path, Walk& walk, ScanTotals& totals) {
    return [path, &walk, &totals]() -> std::optional<std::string> {
        totals = walk.Walk(path);
        return std::nullopt;
    };
}

AlternatingRace::Run Program(std::vector<std::string> argv) {
    auto command = std::make_shared<ExternalCommand>(std::move(argv));
    return [command] { return command->Run(); };
}

std::vector<std::vector<std::string>> ScanBaselines(const std::string& path) {
    return {{"du", "-s", "--apparent-size", "-b", path},
            {"find", path, "-printf", "%s\\n"},
            {"tree", "-a", "--du", "-s", path}};
}

void NoteMissingPrograms(const std::vector<std::vector<std::string>>& baselines) {
    for (const auto& argv : baselines) {
        if (!ExternalCommand(argv).Available())
            std::cout << "note: " << argv.front() << " is not installed; its rows are skipped"
                      << (argv.front() == "tree" ? " (Debian package tree)" : "") << "\n";
    }
}

void AddRaceToTable(ResultTable& table, const std::string& group, const AlternatingRace& race,
                    const std::vector<std::pair<std::string, ResultTable::RowOptions>>& options) {
    for (const AlternatingRace::Result& result : race.Results()) {
        if (result.Samples.Empty())
            continue;
        ResultTable::RowOptions rowOptions;
        for (const auto& [name, given] : options) {
            if (name == result.Name)
                rowOptions = given;
        }
        table.Add(group, result.Name, result.Samples, rowOptions);
    }
}

// Prints what went wrong in a race: false when a contender that counts disagreed.
bool ReportScanChecks(const BenchTree& tree, const AlternatingRace& race,
                      const std::vector<CountedTotals>& counted) {
    bool ok = true;
    for (const CountedTotals& found : counted) {
        if (found.Totals == tree.Expected)
            continue;
        std::cout << tree.Label << ": MISMATCH: " << found.Contender << " found "
                  << DescribeTotals(found.Totals) << "; the tree was built with "
                  << DescribeTotals(tree.Expected) << "\n";
        ok = false;
    }
    if (ok)
        std::cout << tree.Label << ": every floor and tarn scan found "
                  << DescribeTotals(tree.Expected) << "\n";
    for (const AlternatingRace::Result& result : race.Results()) {
        if (!result.Error.empty())
            std::cout << tree.Label << ": note: " << result.Error << "; left out\n";
    }
    return ok;
}

// Scan rows: every contender on one tree. `listers`: also find and tree, which print a line per
// item; on a tree of a million directories tree alone takes minutes (it holds and sorts every
// line), so the big tree leaves them out.
bool RaceScans(const BenchTree& tree, int rounds, bool listers, ResultTable& table) {
    Progress("scans of " + tree.Label + ", " + std::to_string(rounds) + " rounds");
    FloorWalk floor;
    ParallelFloorWalk floor2(2);
    const unsigned cores = CoreCount();
    const std::string parallelName = "tarn scan, " + std::to_string(cores) + " threads";
    std::vector<CountedTotals> counted = {
        {"floor", {}}, {"floor, 2 threads", {}}, {"tarn scan, 1 thread", {}}, {parallelName, {}}};

    AlternatingRace race;
    race.Add(counted[0].Contender, FloorScan(tree.Path, floor, counted[0].Totals));
    race.Add(counted[1].Contender, FloorScan(tree.Path, floor2, counted[1].Totals));
    race.Add(counted[2].Contender, TarnScan(tree.Path, 1, counted[2].Totals));
    race.Add(counted[3].Contender, TarnScan(tree.Path, 0, counted[3].Totals));
    for (auto& argv : ScanBaselines(tree.Path)) {
        if (!listers && argv.front() != "du")
            continue;
        if (ExternalCommand(argv).Available()) {
            const std::string name = argv.front();
            race.Add(name, Program(std::move(argv)));
        }
    }
    race.Race(rounds);
    AddRaceToTable(
        table, "scan " + tree.Label, race,
        {{counted[2].Contender, ResultTable::RowOptions::Ratio(kSerialScanTarget)},
         {parallelName, ResultTable::RowOptions::Ratio(cores > 1 ? kParallelScanTarget : 0)}});
    return ReportScanChecks(tree, race, counted);
}

// Prints the memory of one BuildTree over the tree; false when it could not be measured or the
// tree did not come out whole.
bool ReportMemory(const BenchTree& tree, unsigned threads) {
    const ScanMemory memory = ScanMemoryProbe::Measure(tree.Path, threads);
    const std::string label =
        tree.Label +
        (threads == 1 ? ", 1 thread" : ", " + std::to_string(CoreCount()) + " threads");
    if (!memory.Ok) {
        std::cout << label << ": memory not measured: " << memory.Error << "\n";
        return false;
    }
    const double entries = memory.Directories > 0 ? double(memory.Directories) : 1.0;
    const double beyondName = double(memory.HeapGrowth - memory.NameBytes) / entries;
    char text[320];
    std::snprintf(text, sizeof text,
                  "%-22s %10s entries: peak RSS +%s (%.0f B per entry); heap +%s (%.0f B per "
                  "entry, %.0f B beyond its name's bytes: target <=%.0f %s)\n",
                  label.c_str(), Grouped(memory.Directories).c_str(),
                  BinaryAmount(memory.PeakRssGrowth).c_str(),
                  double(memory.PeakRssGrowth) / entries, BinaryAmount(memory.HeapGrowth).c_str(),
                  double(memory.HeapGrowth) / entries, beyondName, kBytesPerEntryTarget,
                  beyondName <= kBytesPerEntryTarget ? "met" : "MISSED");
    std::cout << text;
    if (!memory.PeakWasReset)
        std::cout << label << ": note: the kernel did not reset VmHWM; the peak may read low\n";
    if (memory.Directories != tree.Expected.Directories) {
        std::cout << label << ": MISMATCH: the measured tree has " << Grouped(memory.Directories)
                  << " entries, not " << Grouped(tree.Expected.Directories) << "\n";
        return false;
    }
    return true;
}

// Wraps one of TreeWalks' functions as a race contender that checks its figure.
AlternatingRace::Run TreeWalk(const TDirEntry& root, std::int64_t (*walk)(const TDirEntry&),
                              std::int64_t expected, const std::string& name) {
    return [&root, walk, expected, name]() -> std::optional<std::string> {
        const std::int64_t got = walk(root);
        if (got != expected)
            return name + " answered " + std::to_string(got) + ", not " + std::to_string(expected);
        return std::nullopt;
    };
}

struct WalkOutcome {
    bool Ok = true;
    double NextEntryMedianMs = 0;
    double RecursiveMedianMs = 0;
};

// Walk rows on one tree built once: the listing's NextEntry walk beside a plain recursion, and
// with `totals` also the root's totals and the totals of every line.
WalkOutcome RaceWalks(const BenchTree& tree, int rounds, bool totals, ResultTable& table) {
    Progress("walks of " + tree.Label);
    DirTree built;
    built.BuildTree(tree.Path, 1);
    const TDirEntry* root = built.Root();
    WalkOutcome outcome;
    if (root == nullptr) {
        std::cout << tree.Label << ": MISMATCH: the tree could not be scanned\n";
        outcome.Ok = false;
        return outcome;
    }
    const std::int64_t entries = tree.Expected.Directories;
    AlternatingRace race;
    race.Add("recursive walk", TreeWalk(*root, TreeWalks::RecursiveWalk, entries, "the walk"));
    race.Add("NextEntry walk",
             TreeWalk(*root, TreeWalks::NextEntryWalk, entries, "the NextEntry walk"));
    if (totals) {
        race.Add("root totals", TreeWalk(*root, TreeWalks::RootTotals, entries - 1, "the totals"));
        race.Add("totals of every line", TreeWalk(*root, TreeWalks::ListingTotals,
                                                  TreeWalks::ListingTotals(*root), "the totals"));
    }
    race.Race(rounds);
    const auto perEntry = ResultTable::RowOptions::PerSecond(entries);
    AddRaceToTable(table, "walk " + tree.Label, race,
                   {{"recursive walk", perEntry},
                    {"NextEntry walk", perEntry},
                    {"root totals", perEntry},
                    {"totals of every line", perEntry}});
    for (const AlternatingRace::Result& result : race.Results()) {
        if (!result.Error.empty()) {
            std::cout << tree.Label << ": MISMATCH: " << result.Error << "\n";
            outcome.Ok = false;
        }
        if (result.Name == "NextEntry walk")
            outcome.NextEntryMedianMs = result.Samples.Median();
        if (result.Name == "recursive walk")
            outcome.RecursiveMedianMs = result.Samples.Median();
    }
    built.ReleaseTree();
    return outcome;
}

// The walk's growth from the smallest flat tree to the largest, beside the growth of the plain
// recursion over the same trees: both pay for caches that the bigger trees overflow.
void ReportWalkGrowth(const std::vector<BenchTree>& flats, const std::vector<WalkOutcome>& walks) {
    if (walks.size() < 2 || walks.front().NextEntryMedianMs <= 0 ||
        walks.front().RecursiveMedianMs <= 0)
        return;
    const double entries =
        double(flats.back().Expected.Directories) / double(flats.front().Expected.Directories);
    const double time = walks.back().NextEntryMedianMs / walks.front().NextEntryMedianMs;
    const double recursion = walks.back().RecursiveMedianMs / walks.front().RecursiveMedianMs;
    char text[320];
    std::snprintf(text, sizeof text,
                  "NextEntry walk from %s to %s: %.1fx the entries took %.1fx the time (the plain "
                  "recursion %.1fx; linear would be %.1fx, quadratic %.1fx): %s\n",
                  flats.front().Label.c_str(), flats.back().Label.c_str(), entries, time, recursion,
                  entries, entries * entries,
                  time <= entries * kNotQuadraticLimit ? "not quadratic" : "QUADRATIC");
    std::cout << text;
}

// Command-line rows: the program as a user runs it, output to /dev/null, against the floor as a
// program of its own (process start included) and against tree.
void RaceCommandLine(const BenchTree& tree, int rounds, const std::string& tarn,
                     ResultTable& table) {
    Progress("command line on " + tree.Label);
    std::error_code error;
    const std::string self = std::filesystem::read_symlink("/proc/self/exe", error).string();
    AlternatingRace race;
    race.Add("floor program", Program({self, kFloorWalkOption, tree.Path}));
    race.Add("floor program, 2 threads",
             Program({self, kFloorWalkOption, tree.Path, kFloorThreadsOption, "2"}));
    race.Add("tarn DIR --csv", Program({tarn, tree.Path, "--csv"}));
    const bool haveTree = ExternalCommand({"tree"}).Available();
    if (haveTree)
        race.Add("tree -a --du -s", Program({"tree", "-a", "--du", "-s", tree.Path}));
    race.Add("tarn DIR --text", Program({tarn, tree.Path, "--text"}));
    race.Race(rounds);
    AddRaceToTable(table, "cli " + tree.Label, race,
                   {{"tarn DIR --csv", ResultTable::RowOptions::Ratio(kCsvTarget)},
                    {"tarn DIR --text",
                     haveTree ? ResultTable::RowOptions::Ratio(kTextTarget, "tree -a --du -s")
                              : ResultTable::RowOptions{}}});
    for (const AlternatingRace::Result& result : race.Results()) {
        if (!result.Error.empty())
            std::cout << tree.Label << ": note: " << result.Error << "; left out\n";
    }
}

int RunFloorProgram(const BenchOptions& options) {
    const ScanTotals totals =
        options.FloorThreads > 1
            ? ParallelFloorWalk(options.FloorThreads).Walk(options.FloorWalkPath)
            : FloorWalk().Walk(options.FloorWalkPath);
    if (totals.Directories == 0)
        return 1;
    std::printf("%lld files, %lld bytes, %lld directories\n", static_cast<long long>(totals.Files),
                static_cast<long long>(totals.Bytes), static_cast<long long>(totals.Directories));
    return 0;
}

std::string FlatLabel(int subdirs) {
    return subdirs % 1000 == 0 ? "flat " + std::to_string(subdirs / 1000) + "k"
                               : "flat " + std::to_string(subdirs);
}

int RunBenchmark(const BenchOptions& options) {
    SyntheticTree trees(options.Root, options.Quick ? TreeShape::Quick() : TreeShape::Full());
    Progress("preparing the trees in " + options.Root);
    const auto prepareStart = std::chrono::steady_clock::now();
    const PrepareResult prepared = trees.Prepare();
    if (!prepared.Ok) {
        std::cerr << "tarn_bench_scan: " << prepared.Error << "\n";
        return 2;
    }
    std::cout << (prepared.Reused ? "reusing the trees in " : "built the trees in ")
              << options.Root;
    if (!prepared.Reused) {
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - prepareStart;
        std::cout << " (" << int(took.count() + 0.5) << " s)";
    }
    std::cout << "\n";
    if (!prepared.Note.empty())
        std::cout << "note: " << prepared.Note << "\n";

    const BenchTree nested{"nested", trees.NestedPath(), trees.ExpectedNested()};
    const BenchTree wide{"wide", trees.WidePath(), trees.ExpectedWide()};
    const BenchTree million{"million", trees.MillionPath(), trees.ExpectedMillion()};
    std::vector<BenchTree> flats;
    for (const int subdirs : trees.Shape().FlatSubdirs)
        flats.push_back({FlatLabel(subdirs), trees.FlatPath(subdirs), trees.ExpectedFlat(subdirs)});
    for (const BenchTree* tree : {&nested, &wide, &million})
        std::cout << "  " << tree->Label << ": " << DescribeTotals(tree->Expected) << "\n";
    for (const BenchTree& tree : flats)
        std::cout << "  " << tree.Label << ": " << DescribeTotals(tree.Expected) << "\n";
    NoteMissingPrograms(ScanBaselines("."));
    const bool haveTarn =
        !options.TarnProgram.empty() && ExternalCommand({options.TarnProgram}).Available();
    if (!haveTarn)
        std::cout << "note: no tarn program"
                  << (options.TarnProgram.empty() ? "" : " at " + options.TarnProgram)
                  << "; the command-line rows are skipped\n";
    const int millionRounds = std::min(options.Rounds, std::max(kMillionRounds, 1));
    std::cout << options.Rounds << " timed round(s) after one warm-up of each contender ("
              << millionRounds << " on the million tree, without find and tree); " << CoreCount()
              << " cores\n";
    std::cout << "at the start: " << MachineLoad::Text() << "\n\n";

    ResultTable table;
    bool ok = true;
    std::cout << "checks:\n";
    ok = RaceScans(nested, options.Rounds, true, table) && ok;
    ok = RaceScans(wide, options.Rounds, true, table) && ok;
    ok = RaceScans(million, millionRounds, false, table) && ok;

    std::vector<WalkOutcome> walks;
    for (const BenchTree& flat : flats) {
        walks.push_back(RaceWalks(flat, options.Rounds, false, table));
        ok = walks.back().Ok && ok;
    }
    ok = RaceWalks(million, millionRounds, true, table).Ok && ok;
    ReportWalkGrowth(flats, walks);

    if (haveTarn) {
        RaceCommandLine(nested, options.Rounds, options.TarnProgram, table);
        RaceCommandLine(wide, options.Rounds, options.TarnProgram, table);
    }

    Progress("memory");
    std::cout << "\nmemory of one BuildTree, measured in a fresh process (TDirEntry is "
              << sizeof(TDirEntry) << " bytes):\n";
    for (const BenchTree* tree : {&nested, &wide, &million})
        ok = ReportMemory(*tree, 1) && ok;
    ok = ReportMemory(million, 0) && ok;

    std::cout << "\nat the end: " << MachineLoad::Text() << "\n\n";
    table.Print(std::cout);
    const std::vector<std::string> missed = table.MissedTargets();
    std::cout << "\ntargets missed: " << (missed.empty() ? "none" : "") << "\n";
    for (const std::string& row : missed)
        std::cout << "  " << row << "\n";

    if (options.Keep) {
        std::cout << "\nkept " << options.Root << " for the next run\n";
    } else if (const auto error = trees.Remove()) {
        std::cout << "\nnote: " << *error << "\n";
    }
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const auto parsed = ParseBenchOptions(argc, argv);
    if (const auto* error = std::get_if<std::string>(&parsed)) {
        std::cerr << "tarn_bench_scan: " << *error << "\n" << BenchUsage();
        return 2;
    }
    const BenchOptions& options = std::get<BenchOptions>(parsed);
    if (!options.MemoryProbePath.empty())
        return ScanMemoryProbe::RunProbe(options.MemoryProbePath, options.ProbeThreads);
    if (!options.FloorWalkPath.empty())
        return RunFloorProgram(options);
    if (options.Help) {
        std::cout << BenchUsage();
        return 0;
    }
    return RunBenchmark(options);
}
