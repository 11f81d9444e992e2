#pragma once

#include <optional>
#include <string>
#include <vector>

// A baseline tool run as its own process, with its output thrown away so that only the walk is
// timed and not the terminal.
class ExternalCommand {
public:
    // The program is looked up in PATH once, here, not on every run.
    explicit ExternalCommand(std::vector<std::string> argv);

    bool Available() const { return !executable_.empty(); }
    const std::string& Program() const { return argv_.front(); }

    // Runs to completion with stdout and stderr on /dev/null; the reason, when it did not exit 0.
    std::optional<std::string> Run() const;

private:
    std::vector<std::string> argv_;
    std::string executable_; // full path of argv_[0], empty when not installed
};
