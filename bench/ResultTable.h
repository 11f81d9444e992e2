#pragma once

#include "TimingSamples.h"

#include <ostream>
#include <string>
#include <vector>

// The timings of every contender on every tree, each set against the floor's median on the same
// tree, printed as one plain-text table.
class ResultTable {
public:
    // The first row added for a tree should be its floor: later rows of the tree are divided by it.
    void Add(const std::string& tree, const std::string& contender, const TimingSamples& samples);
    void Print(std::ostream& out) const;

private:
    struct Row {
        std::string Tree;
        std::string Contender;
        double MedianMs = 0;
        double MinimumMs = 0;
        double FloorMedianMs = 0;
    };
    std::vector<Row> rows_;
};
