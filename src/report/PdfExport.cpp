#include "PdfExport.h"

#include "PageRenderer.h"

#include <QDir>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace {

PdfExport::Result Failure(const QString& path, const QString& reason) {
    return {false,
            QStringLiteral("Cannot write \"%1\": %2").arg(QDir::toNativeSeparators(path), reason)};
}

QPageLayout LayoutFor(const ReportPage& page) {
    const auto orientation = page.PaperSize.width() > page.PaperSize.height()
                                 ? QPageLayout::Landscape
                                 : QPageLayout::Portrait;
    return QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(0, 0, 0, 0));
}

} // namespace

PdfExport::Result PdfExport::Write(const QString& path,
                                   const std::vector<std::shared_ptr<const ReportPage>>& pages,
                                   const QString& title) {
    if (pages.empty())
        return Failure(path, QStringLiteral("there are no pages"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Failure(path, file.errorString());

    {
        QPdfWriter writer(&file);
        writer.setTitle(title);
        writer.setPageLayout(LayoutFor(*pages.front()));
        QPainter painter;
        if (!painter.begin(&writer)) {
            file.cancelWriting();
            return Failure(path, QStringLiteral("the PDF writer could not start"));
        }
        bool first = true;
        for (const auto& page : pages) {
            // A new layout applies from the next page on, so it is set before that page begins.
            if (!first) {
                writer.setPageLayout(LayoutFor(*page));
                writer.newPage();
            }
            first = false;
            PageRenderer::Render(painter, *page);
        }
        painter.end();
    }

    // QSaveFile::commit() ignores a failure of its own final flush and renames the truncated file
    // into place (Qt 6.4), so the buffer is flushed, and checked, first.
    if (!file.flush() || file.error() != QFileDevice::NoError) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return Failure(path, reason);
    }
    if (!file.commit())
        return Failure(path, file.errorString());
    return {true, {}};
}
