#pragma once

#include "CommandLineOptions.h"

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

// The command line of the output modes: tarn [OPTIONS] DIR --pdf FILE | --text | --csv | --json |
// --save FILE, and tarn --load FILE --pdf FILE. Parsing needs no application object, so a bad
// command line, --help and --version are answered before anything of the GUI exists.
class CommandLine {
public:
    enum class Action : std::uint8_t { Run, Help, Version, Error };

    struct Parsed {
        Action Do = Action::Error;
        CommandLineOptions Options; // meaningful for Run
        QString Error;              // one line naming the problem, for Error
    };

    CommandLine() = delete;

    // `arguments` are the raw bytes of argv without the program name; DIR keeps its bytes exactly.
    static Parsed Parse(const std::vector<std::string>& arguments);

    static QString HelpText();
    static QString VersionText();
};
