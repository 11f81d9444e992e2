#include "MachineLoad.h"

#include <fstream>

std::string MachineLoad::Text() {
    std::ifstream loadavg("/proc/loadavg");
    std::string one;
    std::string five;
    std::string fifteen;
    if (!(loadavg >> one >> five >> fifteen))
        return "load average unknown";
    return "load average " + one + ", " + five + ", " + fifteen + " (1, 5, 15 minutes)";
}
