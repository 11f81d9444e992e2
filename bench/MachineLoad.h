#pragma once

#include <string>

// The load average of the machine, for the record beside the figures: a benchmark on a machine
// shared with other work measures that work too, and the parallel rows most of all.
class MachineLoad {
public:
    MachineLoad() = delete;

    // "load average 0.12, 0.34, 0.56 (1, 5, 15 minutes)", or "load average unknown".
    static std::string Text();
};
