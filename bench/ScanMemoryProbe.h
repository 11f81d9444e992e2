#pragma once

#include <cstdint>
#include <string>

// What one BuildTree holds in memory.
struct ScanMemory {
    bool Ok = false;
    std::string Error;              // when not Ok
    std::int64_t Directories = 0;   // entries of the built tree
    std::int64_t PeakRssGrowth = 0; // VmHWM after BuildTree minus VmHWM (reset) before, bytes
    std::int64_t HeapGrowth = 0;    // bytes in use by malloc after BuildTree minus before
    std::int64_t NameBytes = 0;     // the bytes of every entry's name, added up
    bool PeakWasReset = false;      // false: the kernel kept an earlier peak, growth may read low
};

// Measures in a fresh process: a forked copy of the benchmark would inherit the heap that the
// timed rounds left resident, and the tree would grow into it without raising the RSS at all.
class ScanMemoryProbe {
public:
    // Starts this program again with the probe option and reads its report. `threads` as
    // BuildTree takes it: 1 the serial scan, 0 one worker per core.
    static ScanMemory Measure(const std::string& path, unsigned threads);

    // The probe's side, in the fresh process: builds the tree of `path` and prints one report
    // line on stdout. Returns the exit status.
    static int RunProbe(const std::string& path, unsigned threads);
};
