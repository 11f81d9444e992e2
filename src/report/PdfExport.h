#pragma once

#include "ReportPage.h"

#include <QString>

#include <memory>
#include <vector>

// Writes pages to a PDF file: A4 in each page's orientation, the full paper without margins,
// fonts embedded. The file appears under its name only once it is complete; on failure an earlier
// file of that name is left as it was.
class PdfExport {
public:
    struct Result {
        bool Ok = false;
        QString Error; // one line naming the file and what went wrong
    };

    [[nodiscard]] static Result Write(const QString& path,
                                      const std::vector<std::shared_ptr<const ReportPage>>& pages,
                                      const QString& title);
};
