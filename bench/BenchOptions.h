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
    std::string TarnProgram; // the tarn program for the command-line rows; empty: skip them
    // Internal: set when the benchmark starts itself afresh to measure one BuildTree of this path.
    std::string MemoryProbePath;
    unsigned ProbeThreads = 1;
    // Internal: set when the benchmark starts itself as the floor of a whole program.
    std::string FloorWalkPath;
    unsigned FloorThreads = 1;
};

// Not in the usage text: the benchmark passes them to a fresh copy of itself.
inline constexpr const char* kMemoryProbeOption = "--memory-probe";
inline constexpr const char* kProbeThreadsOption = "--probe-threads";
inline constexpr const char* kFloorWalkOption = "--floor-walk";
inline constexpr const char* kFloorThreadsOption = "--floor-threads";

// The options, or the text of what is wrong with the command line.
std::variant<BenchOptions, std::string> ParseBenchOptions(int argc, char** argv);

std::string BenchUsage();
