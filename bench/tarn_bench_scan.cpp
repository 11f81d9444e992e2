// Races tarn's scan (BuildTree) against a minimal walk, the floor, and against du and find, on
// synthetic trees with a warm cache, and prints each contender's median and its ratio to the
// floor. It also checks that tarn's root totals match the floor's and measures what the built
// tree holds in memory. Exit status: 0 when every check passed, 1 when one failed, 2 when the
// benchmark could not run.

#include "BenchOptions.h"
#include "DirTree.h"
#include "ExternalCommand.h"
#include "FloorWalk.h"
#include "ResultTable.h"
#include "ScanMemoryProbe.h"
#include "ScanTotals.h"
#include "SyntheticTree.h"
#include "TDirEntry.h"
#include "TimingSamples.h"

#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>
#include <variant>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string Grouped(std::int64_t value) {
    std::string digits = std::to_string(value);
    const std::size_t firstDigit = value < 0 ? 1 : 0;
    for (std::size_t i = digits.size(); i > firstDigit + 3; i -= 3)
        digits.insert(i - 3, ",");
    return digits;
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

// One tree under test, and what the generator says a correct scan finds in it.
struct BenchTree {
    std::string Label;
    std::string Path;
    ScanTotals Expected;
};

// The baselines, in the order they run in each round.
std::vector<ExternalCommand> BaselinesFor(const std::string& path) {
    std::vector<ExternalCommand> baselines;
    baselines.emplace_back(std::vector<std::string>{"du", "-s", "--apparent-size", "-b", path});
    baselines.emplace_back(std::vector<std::string>{"find", path, "-printf", "%s\\n"});
    return baselines;
}

ScanTotals RootTotals(const DirTree& tree) {
    const TDirEntry* root = tree.Root();
    if (root == nullptr)
        return ScanTotals{};
    return ScanTotals{TotalFileCount(*root), TotalSize(*root), TotalSubdirCount(*root) + 1};
}

struct TarnRun {
    double BuildMs = 0;
    double ReleaseMs = 0;
    ScanTotals Totals;
};

// The totals are read between the two timed calls, so neither time includes them.
TarnRun RunTarn(const std::string& path) {
    TarnRun run;
    DirTree tree;
    Clock::time_point start = Clock::now();
    tree.BuildTree(path);
    run.BuildMs = MillisecondsSince(start);
    run.Totals = RootTotals(tree);
    start = Clock::now();
    tree.ReleaseTree();
    run.ReleaseMs = MillisecondsSince(start);
    return run;
}

struct Baseline {
    ExternalCommand Command;
    TimingSamples Samples;
    std::string Error; // set when it failed: it is then left out of the later rounds
};

// Everything measured on one tree.
struct TreeRace {
    TimingSamples Floor;
    TimingSamples TarnBuild;
    TimingSamples TarnRelease;
    std::vector<Baseline> Baselines;
    ScanTotals FloorTotals;
    ScanTotals TarnTotals;
};

void RunBaseline(Baseline& baseline, TimingSamples* samples) {
    if (!baseline.Command.Available() || !baseline.Error.empty())
        return;
    const Clock::time_point start = Clock::now();
    const auto error = baseline.Command.Run();
    const double ms = MillisecondsSince(start);
    if (error)
        baseline.Error = *error;
    else if (samples != nullptr)
        samples->Add(ms);
}

// One untimed warm-up of each contender fills the cache and yields the totals; then the rounds
// alternate the contenders, so a drift of the machine spreads over all of them alike.
TreeRace RaceOn(const BenchTree& tree, int rounds, FloorWalk& floor) {
    TreeRace race;
    for (ExternalCommand& command : BaselinesFor(tree.Path))
        race.Baselines.push_back(Baseline{std::move(command), {}, {}});

    race.FloorTotals = floor.Walk(tree.Path);
    race.TarnTotals = RunTarn(tree.Path).Totals;
    for (Baseline& baseline : race.Baselines)
        RunBaseline(baseline, nullptr);

    for (int round = 0; round < rounds; ++round) {
        const Clock::time_point start = Clock::now();
        floor.Walk(tree.Path);
        race.Floor.Add(MillisecondsSince(start));
        const TarnRun tarn = RunTarn(tree.Path);
        race.TarnBuild.Add(tarn.BuildMs);
        race.TarnRelease.Add(tarn.ReleaseMs);
        for (Baseline& baseline : race.Baselines)
            RunBaseline(baseline, &baseline.Samples);
    }
    return race;
}

void AddToTable(ResultTable& table, const BenchTree& tree, const TreeRace& race) {
    table.Add(tree.Label, "floor", race.Floor);
    table.Add(tree.Label, "tarn BuildTree", race.TarnBuild);
    table.Add(tree.Label, "tarn ReleaseTree", race.TarnRelease);
    for (const Baseline& baseline : race.Baselines) {
        if (!baseline.Samples.Empty())
            table.Add(tree.Label, baseline.Command.Program(), baseline.Samples);
    }
}

// Prints the checks of one tree; false when one failed.
bool ReportChecks(const BenchTree& tree, const TreeRace& race) {
    bool ok = true;
    if (race.TarnTotals == race.FloorTotals) {
        std::cout << tree.Label
                  << ": tarn's root totals equal the floor's: " << DescribeTotals(race.TarnTotals)
                  << "\n";
    } else {
        std::cout << tree.Label << ": MISMATCH: tarn found " << DescribeTotals(race.TarnTotals)
                  << "; the floor " << DescribeTotals(race.FloorTotals) << "\n";
        ok = false;
    }
    if (race.FloorTotals != tree.Expected) {
        std::cout << tree.Label << ": MISMATCH: the floor found "
                  << DescribeTotals(race.FloorTotals) << "; the tree was built with "
                  << DescribeTotals(tree.Expected) << "\n";
        ok = false;
    }
    for (const Baseline& baseline : race.Baselines) {
        if (!baseline.Error.empty())
            std::cout << tree.Label << ": note: " << baseline.Error << "; left out\n";
    }
    return ok;
}

// Prints the memory of one BuildTree over the tree; false when it could not be measured.
bool ReportMemory(const BenchTree& tree) {
    const ScanMemory memory = ScanMemoryProbe::Measure(tree.Path);
    if (!memory.Ok) {
        std::cout << tree.Label << ": memory not measured: " << memory.Error << "\n";
        return false;
    }
    const double entries = memory.Directories > 0 ? double(memory.Directories) : 1.0;
    char perEntry[96];
    std::snprintf(perEntry, sizeof perEntry, " (%.0f B per entry), heap in use +",
                  double(memory.PeakRssGrowth) / entries);
    std::cout << tree.Label << ": " << Grouped(memory.Directories) << " entries: peak RSS +"
              << BinaryAmount(memory.PeakRssGrowth) << perEntry << BinaryAmount(memory.HeapGrowth);
    std::snprintf(perEntry, sizeof perEntry, " (%.0f B per entry)",
                  double(memory.HeapGrowth) / entries);
    std::cout << perEntry << "\n";
    if (!memory.PeakWasReset)
        std::cout << tree.Label
                  << ": note: the kernel did not reset VmHWM; the peak growth may read low\n";
    return true;
}

void NoteMissingBaselines() {
    for (const ExternalCommand& command : BaselinesFor("."))
        if (!command.Available())
            std::cout << "note: " << command.Program() << " is not installed; skipped\n";
}

int RunBenchmark(const BenchOptions& options) {
    const SyntheticTree trees(options.Root, options.Quick ? TreeShape::Quick() : TreeShape::Full());
    const Clock::time_point prepareStart = Clock::now();
    const PrepareResult prepared = trees.Prepare();
    if (!prepared.Ok) {
        std::cerr << "tarn_bench_scan: " << prepared.Error << "\n";
        return 2;
    }
    std::cout << (prepared.Reused ? "reusing the trees in " : "built the trees in ")
              << options.Root;
    if (!prepared.Reused)
        std::cout << " (" << int(MillisecondsSince(prepareStart) / 1000.0 + 0.5) << " s)";
    std::cout << "\n";

    const std::vector<BenchTree> benchTrees = {
        BenchTree{"nested", trees.NestedPath(), trees.ExpectedNested()},
        BenchTree{"wide", trees.WidePath(), trees.ExpectedWide()},
    };
    for (const BenchTree& tree : benchTrees)
        std::cout << "  " << tree.Label << ": " << DescribeTotals(tree.Expected) << "\n";
    NoteMissingBaselines();
    std::cout << options.Rounds << " timed round(s) after one warm-up of each contender\n\n";

    FloorWalk floor;
    ResultTable table;
    std::vector<TreeRace> races;
    for (const BenchTree& tree : benchTrees) {
        races.push_back(RaceOn(tree, options.Rounds, floor));
        AddToTable(table, tree, races.back());
    }
    table.Print(std::cout);

    std::cout << "\nchecks:\n";
    bool ok = true;
    for (std::size_t i = 0; i < benchTrees.size(); ++i)
        ok = ReportChecks(benchTrees[i], races[i]) && ok;

    std::cout << "\nmemory of one BuildTree, measured in a fresh process:\n";
    for (const BenchTree& tree : benchTrees)
        ok = ReportMemory(tree) && ok;

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
        return ScanMemoryProbe::RunProbe(options.MemoryProbePath);
    if (options.Help) {
        std::cout << BenchUsage();
        return 0;
    }
    return RunBenchmark(options);
}
