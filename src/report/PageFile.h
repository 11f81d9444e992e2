#pragma once

#include "ReportPage.h"

#include <QByteArrayView>
#include <QString>

#include <memory>
#include <vector>

// Saves built report pages to a file and loads them back, in tarn's own page-file format
// (docs/page-file-format.md). The format is explicit little-endian fields, independent of Qt's
// serialisation, so a file written by one build reads the same in any other.
//
// Contract: Load and LoadFromBytes validate every field before they trust it and return either
// all pages of the file or none, with a one-line message; a foreign, damaged, truncated or
// absurdly large input is refused without a crash and without an allocation beyond what the
// input's size justifies. Save writes only pages that Load accepts, and writes atomically: after a
// failure no new or partial file stands under the target name, and a file already there is kept.
class PageFile {
public:
    using PageList = std::vector<std::shared_ptr<const ReportPage>>;

    struct LoadResult {
        PageList Pages; // every page of the file, in order; empty whenever Error is set
        QString Error;  // one line naming the file and what is wrong; empty on success
        bool Ok() const { return Error.isEmpty(); }
    };

    struct SaveResult {
        QString Error; // one line naming the file and what went wrong; empty on success
        bool Ok() const { return Error.isEmpty(); }
    };

    // The suffix, without the dot, that file dialogs offer for page files.
    static QString FileSuffix() { return QStringLiteral("tarnpages"); }

    PageFile() = delete;

    // Writes all pages, or nothing: pages that break the format's limits (no pages, a null page,
    // a coordinate that is not finite, a font index outside its page's table, ...) are refused
    // before the file is touched.
    [[nodiscard]] static SaveResult Save(const QString& path, const PageList& pages);

    [[nodiscard]] static LoadResult Load(const QString& path);

    // Decodes a whole page file held in memory. sourceName only names the input in messages; Load
    // uses this after reading the file, and a fuzz target can feed it bytes directly.
    [[nodiscard]] static LoadResult LoadFromBytes(QByteArrayView bytes, const QString& sourceName);
};
