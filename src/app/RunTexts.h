#pragma once

#include <QFont>
#include <QString>

class TDirEntry;
class TFormReport;

// The values that stay fixed for a whole run of the report, whoever runs it.
struct RunTextValues {
    int Columns = 2;
    QFont NormalFont;
    QString Caption;
    bool Date = true;
    bool Summary = true;
};

// Sets the report's column count, the size label's font, the caption, the date line and the two
// summary lines of the run whose tree has `root` at its top.
void SetRunTexts(TFormReport& report, const TDirEntry& root, const RunTextValues& values);
