#pragma once

#include <vector>

// The wall times of one contender on one tree, in milliseconds, in the order they were taken.
class TimingSamples {
public:
    void Add(double milliseconds) { samples_.push_back(milliseconds); }
    bool Empty() const { return samples_.empty(); }

    // Middle value (mean of the two middle ones for an even count); 0 without samples.
    double Median() const;
    double Minimum() const;

private:
    std::vector<double> samples_;
};
