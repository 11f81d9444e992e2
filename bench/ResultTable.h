#pragma once

#include "TimingSamples.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

// The timings of every contender in every group (a tree, a size), each set against a baseline
// of the same group measured in the same run, printed as one plain-text table of medians and
// ratios; a row with a target ratio also says whether its median met it.
class ResultTable {
public:
    struct RowOptions {
        std::string Against;    // the contender of the same group to divide by; empty: the first
        double TargetRatio = 0; // at most this many times the baseline; 0: no target
        double TargetMs = 0;    // a median of at most this many milliseconds; 0: no target
        std::int64_t Items = 0; // lines or entries per run: shown per second when not 0

        static RowOptions Ratio(double target, std::string against = {});
        static RowOptions PerSecond(std::int64_t items, std::string against = {});
        static RowOptions WithinMs(double target);
    };

    void Add(const std::string& group, const std::string& contender, const TimingSamples& samples,
             const RowOptions& options);
    void Add(const std::string& group, const std::string& contender, const TimingSamples& samples);
    void Print(std::ostream& out) const;

    // The rows whose median missed their target, as "group contender" lines.
    std::vector<std::string> MissedTargets() const;

private:
    struct Row {
        std::string Group;
        std::string Contender;
        double MedianMs = 0;
        double MinimumMs = 0;
        std::string Against; // as asked; resolved when the table is read
        double TargetRatio = 0;
        double TargetMs = 0;
        std::int64_t Items = 0;
    };
    // The row a row is divided by: the one it names in its group, else the group's first row.
    const Row& BaselineOf(const Row& row) const;
    double Ratio(const Row& row) const;
    bool Missed(const Row& row) const;

    std::vector<Row> rows_;
};
