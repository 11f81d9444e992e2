#pragma once

#include "BandedReport.h"

#include <functional>

// A report laid out like the listing (a title with caption and date, a detail line with a name
// and a size text, a summary) whose callbacks produce `lines` lines of 4 mm and count their
// calls. With one column, page 1 takes 66 lines and every later page 68.
class SampleReport {
public:
    explicit SampleReport(int lines, int columns = 1);

    BandedReport Report;
    int Lines;
    int BeforePrintCalls = 0;
    int LinesProduced = 0; // in the pass under way, or the last one
    // Called right after each line is produced, with its number; lets a test act mid-pass.
    std::function<void(int line)> AfterLine;

private:
    void ProduceLine(bool& moreData);

    ReportLabel& Caption_;
    ReportLabel& Date_;
    ReportLabel& Name_;
    ReportLabel& Size_;
    ReportLabel& Summary_;
    ReportLabel& Summary2_;
};
