#include "BenchOptions.h"

#include <charconv>
#include <filesystem>
#include <string_view>

namespace {

constexpr int kQuickRounds = 1;

std::string DefaultRoot(bool quick) {
    // The quick trees get a folder of their own, so a smoke run never clears the full trees.
    const char* name = quick ? "tarn-bench-scan-quick" : "tarn-bench-scan";
    std::error_code error;
    std::filesystem::path temp = std::filesystem::temp_directory_path(error);
    if (error)
        temp = "/tmp";
    return (temp / name).string();
}

bool ParsePositiveInt(std::string_view text, int& value) {
    const char* end = text.data() + text.size();
    auto [next, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && next == end && value > 0;
}

bool ParseThreads(std::string_view text, unsigned& value) {
    const char* end = text.data() + text.size();
    auto [next, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && next == end;
}

std::string DefaultTarnProgram() {
#ifdef TARN_DEFAULT_PROGRAM
    return TARN_DEFAULT_PROGRAM;
#else
    return {};
#endif
}

} // namespace

std::variant<BenchOptions, std::string> ParseBenchOptions(int argc, char** argv) {
    BenchOptions options;
    bool roundsGiven = false;
    bool tarnGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--rounds") {
            if (!hasValue || !ParsePositiveInt(argv[i + 1], options.Rounds))
                return std::string("--rounds needs a whole number of at least 1");
            roundsGiven = true;
            ++i;
        } else if (arg == "--root") {
            if (!hasValue || std::string_view(argv[i + 1]).empty())
                return std::string("--root needs a folder");
            options.Root = argv[++i];
        } else if (arg == "--tarn") {
            if (!hasValue)
                return std::string("--tarn needs the path of the tarn program");
            options.TarnProgram = argv[++i];
            tarnGiven = true;
        } else if (arg == "--keep") {
            options.Keep = true;
        } else if (arg == "--quick") {
            options.Quick = true;
        } else if (arg == kMemoryProbeOption) {
            if (!hasValue)
                return std::string(kMemoryProbeOption) + " needs a folder";
            options.MemoryProbePath = argv[++i];
        } else if (arg == kFloorWalkOption) {
            if (!hasValue)
                return std::string(kFloorWalkOption) + " needs a folder";
            options.FloorWalkPath = argv[++i];
        } else if (arg == kProbeThreadsOption || arg == kFloorThreadsOption) {
            unsigned& threads =
                arg == kProbeThreadsOption ? options.ProbeThreads : options.FloorThreads;
            if (!hasValue || !ParseThreads(argv[i + 1], threads))
                return std::string(arg) + " needs a number of threads";
            ++i;
        } else if (arg == "--help" || arg == "-h") {
            options.Help = true;
        } else {
            return "unknown argument: " + std::string(arg);
        }
    }
    if (options.Quick && !roundsGiven)
        options.Rounds = kQuickRounds;
    if (options.Root.empty())
        options.Root = DefaultRoot(options.Quick);
    if (!tarnGiven)
        options.TarnProgram = DefaultTarnProgram();
    return options;
}

std::string BenchUsage() {
    const std::string tarn = DefaultTarnProgram();
    return "usage: tarn_bench_scan [--rounds N] [--root DIR] [--keep] [--quick] [--tarn PROGRAM]\n"
           "  --rounds N  timed rounds of each contender on each tree (default 7)\n"
           "  --root DIR  folder for the synthetic trees (default " +
           DefaultRoot(false) +
           ");\n"
           "              built once, reused while its marker says it is complete\n"
           "  --keep      leave the trees in place for the next run (default: remove them)\n"
           "  --quick     tiny trees and 1 round, a smoke run (default root " +
           DefaultRoot(true) +
           ")\n"
           "  --tarn PROGRAM  the tarn program whose command line is timed end to end\n"
           "              (default " +
           (tarn.empty() ? std::string("none: the command-line rows are skipped") : tarn) + ")\n";
}
