#pragma once

#include <QString>

#include <cstdint>
#include <string>

// What one command-line run does: the output, where it goes, and the listing options at the
// window's defaults unless an argument changed them. Plain values, no Qt GUI types, so that the
// parser and the CSV and JSON modes never touch the font system.
struct CommandLineOptions {
    enum class Output : std::uint8_t { Pdf, Text, Csv, Json, Save };

    // A font as the command line names it: "FAMILY,POINTS".
    struct FontChoice {
        QString Family = QStringLiteral("Arial");
        double Points = 8;
        bool operator==(const FontChoice&) const = default;
    };

    Output Mode = Output::Text;
    std::string Dir;    // the starting directory, the bytes exactly as given
    QString OutputPath; // --pdf or --save; empty for the modes that write standard output
    QString LoadPath;   // --load: pages come from this page file instead of a scan

    QString Caption = QStringLiteral("directory listing");
    int Columns = 2;   // 1..5
    int Tab = 10;      // 6..16
    int FontDepth = 0; // 0..16
    FontChoice NormalFont;
    FontChoice SpecialFont;
    bool Landscape = false;

    bool Root = true;
    bool Date = true;
    bool Summary = true;
    bool FileCount = true;
    bool Size = true;
    bool TotalFiles = true;
    bool TotalSize = true;
    bool SubdirCount = true;

    bool operator==(const CommandLineOptions&) const = default;
};
