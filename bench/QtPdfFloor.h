#pragma once

#include "ReportPage.h"

#include <QString>

#include <memory>
#include <vector>

// Qt's own floor for writing the report as PDF: the text runs of the same pages, each drawn with
// one QPainter::drawText at its box's top-left corner onto a QPdfWriter of A4 pages, with no
// fills, no measuring and no alignment.
class QtPdfFloor {
public:
    // False when the file could not be written.
    static bool Write(const QString& path,
                      const std::vector<std::shared_ptr<const ReportPage>>& pages);
};
