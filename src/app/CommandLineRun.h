#pragma once

#include <string>
#include <vector>

// One run of the command line, from the arguments to the exit status: 0 when the output is
// written, 1 when the starting directory cannot be read or a file cannot be loaded or written,
// 2 for a bad command line. Messages go to standard error, one line each.
//
// The GUI application, and with it the font system, is created only for the modes that lay out
// the report (--pdf, --text, --save, --load), always on the offscreen platform; a bad command
// line, --help, --version, --csv and --json never start it.
class CommandLineRun {
public:
    CommandLineRun() = delete;

    // `arguments`: argv without the program name, as raw bytes.
    static int Main(const std::vector<std::string>& arguments);
};
