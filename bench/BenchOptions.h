#pragma once

#include <string>
#include <variant>

// The command line of tarn_bench_scan, already checked.
struct BenchOptions {
    int Rounds = 7;
    std::string Root;   // folder that holds the synthetic trees
    bool Keep = false;  // leave the trees in place for the next run
    bool Quick = false; // tiny trees and one round: a smoke run that the benchmark still works
    bool Help = false;
    // Internal: set when the benchmark starts itself afresh to measure one BuildTree of this path.
    std::string MemoryProbePath;
};

// Not in the usage text: the benchmark passes it to a fresh copy of itself.
inline constexpr const char* kMemoryProbeOption = "--memory-probe";

// The options, or the text of what is wrong with the command line.
std::variant<BenchOptions, std::string> ParseBenchOptions(int argc, char** argv);

std::string BenchUsage();
