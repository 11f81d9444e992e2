#pragma once

#include <ostream>

class ListingOptions;
class TFormReport;

// The listing as plain text, from the same detail lines the report prints: the caption, the date
// line, an empty line, one line per detail line (two spaces per level below the top printed
// level, the name, and two spaces and the figures text when there is one), an empty line, and
// the two summary lines. Names are written as the bytes the file system gave.
class ListingTextWriter {
public:
    struct Sections {
        bool Date = true;
        bool Summary = true;
    };

    ListingTextWriter() = delete;

    // contract: the run's texts are set on `report` (SetRunTexts), and `options` is the object the
    // report reads its options through. Drives the report's two callbacks as a pass would.
    static void Write(TFormReport& report, const ListingOptions& options, Sections sections,
                      std::ostream& out);
};
