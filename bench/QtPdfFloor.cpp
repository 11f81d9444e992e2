#include "QtPdfFloor.h"

#include <QFile>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

bool QtPdfFloor::Write(const QString& path,
                       const std::vector<std::shared_ptr<const ReportPage>>& pages) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QPdfWriter writer(&file);
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    const double scale = writer.resolution() / 254.0; // tenths of a millimetre to device dots
    bool first = true;
    for (const auto& page : pages) {
        if (!first)
            writer.newPage();
        first = false;
        std::uint32_t font = UINT32_MAX;
        for (const PageItem& item : page->Items) {
            if (item.ItemKind != PageItem::Kind::Text || item.FontIndex >= page->Fonts.size())
                continue;
            if (item.FontIndex != font) {
                painter.setFont(page->Fonts[item.FontIndex]);
                font = item.FontIndex;
            }
            painter.drawText(QPointF(item.Rect.left() * scale, item.Rect.bottom() * scale),
                             item.Text);
        }
    }
    return painter.end() && file.error() == QFileDevice::NoError;
}
