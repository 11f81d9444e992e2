#include "ResultTable.h"

#include <cstdio>

void ResultTable::Add(const std::string& tree, const std::string& contender,
                      const TimingSamples& samples) {
    double floorMedian = samples.Median();
    for (const Row& row : rows_) {
        if (row.Tree == tree) {
            floorMedian = row.FloorMedianMs;
            break;
        }
    }
    rows_.push_back(Row{tree, contender, samples.Median(), samples.Minimum(), floorMedian});
}

void ResultTable::Print(std::ostream& out) const {
    char line[160];
    std::snprintf(line, sizeof line, "%-8s %-18s %11s %11s %9s\n", "tree", "contender", "median ms",
                  "min ms", "x floor");
    out << line;
    for (const Row& row : rows_) {
        const double ratio = row.FloorMedianMs > 0 ? row.MedianMs / row.FloorMedianMs : 0.0;
        std::snprintf(line, sizeof line, "%-8s %-18s %11.2f %11.2f %9.2f\n", row.Tree.c_str(),
                      row.Contender.c_str(), row.MedianMs, row.MinimumMs, ratio);
        out << line;
    }
}
