#include "AlternatingRace.h"

#include <chrono>
#include <utility>

void AlternatingRace::Add(std::string name, Run run) {
    runs_.push_back(std::move(run));
    results_.push_back(Result{std::move(name), {}, {}});
}

void AlternatingRace::Race(int rounds) {
    for (std::size_t i = 0; i < runs_.size(); ++i)
        RunOnce(i, false);
    // Each round starts one contender later, so that none always runs right after the same
    // one (tree, say, which leaves the caches colder for whoever follows it).
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t i = 0; i < runs_.size(); ++i)
            RunOnce((i + std::size_t(round)) % runs_.size(), true);
    }
}

void AlternatingRace::RunOnce(std::size_t index, bool timed) {
    Result& result = results_[index];
    if (!result.Error.empty())
        return;
    const auto start = std::chrono::steady_clock::now();
    const std::optional<std::string> error = runs_[index]();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    if (error)
        result.Error = *error;
    else if (timed)
        result.Samples.Add(took.count());
}
