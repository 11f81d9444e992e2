#pragma once

#include "TimingSamples.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// Contenders timed on the same work in the same run: one untimed warm-up of each fills the
// caches, then the rounds alternate the contenders, each round starting one contender later, so a
// drift of the machine (another build starting) or the cold caches that one contender leaves
// behind spread over all of them alike instead of landing on one.
class AlternatingRace {
public:
    // One run of a contender: nothing when it worked, else the reason it failed.
    using Run = std::function<std::optional<std::string>()>;

    struct Result {
        std::string Name;
        TimingSamples Samples;
        std::string Error; // set when a run failed: the contender is left out from then on
    };

    void Add(std::string name, Run run);
    void Race(int rounds);

    const std::vector<Result>& Results() const { return results_; }

private:
    void RunOnce(std::size_t index, bool timed);

    std::vector<Run> runs_;
    std::vector<Result> results_;
};
