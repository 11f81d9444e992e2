#include "PageRenderer.h"

#include "LayoutUnits.h"
#include "ReportPage.h"

#include <QColor>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <limits>
#include <optional>
#include <vector>

namespace {

QSizeF DeviceDotsPerInch(const QPainter& painter) {
    const QPaintDevice* device = painter.device();
    return {static_cast<qreal>(device->logicalDpiX()), static_cast<qreal>(device->logicalDpiY())};
}

// Draws in the device's own pixels: fonts then resolve their point sizes against the device's
// resolution, which is the resolution the layout maps to.
class ItemPainter {
    static constexpr std::uint32_t NoFont = std::numeric_limits<std::uint32_t>::max();

public:
    ItemPainter(QPainter& painter, const ReportPage& page)
        : Painter_(painter), Page_(page), Dpi_(DeviceDotsPerInch(painter)),
          Metrics_(page.Fonts.size()) {}

    void Draw(const PageItem& item) {
        if (item.ItemKind == PageItem::Kind::Fill)
            Painter_.fillRect(ToDevice(item.Rect), QColor::fromRgba(item.Colour));
        else
            DrawText(item);
    }

private:
    QRectF ToDevice(const QRectF& tenths) const {
        const qreal sx = Dpi_.width() / LayoutUnits::TenthsPerInch;
        const qreal sy = Dpi_.height() / LayoutUnits::TenthsPerInch;
        return {tenths.x() * sx, tenths.y() * sy, tenths.width() * sx, tenths.height() * sy};
    }

    void DrawText(const PageItem& item) {
        // A page read from a file could name a font it lacks; such a run is left out.
        if (item.FontIndex >= Page_.Fonts.size() || item.Text.isEmpty())
            return;
        const QFontMetricsF& metrics = UseFont(item.FontIndex);
        const QRectF box = ToDevice(item.Rect);
        const qreal advance = metrics.horizontalAdvance(item.Text);
        qreal x = box.left();
        if (item.Alignment == TextAlignment::Right)
            x = box.right() - advance;
        else if (item.Alignment == TextAlignment::Center)
            x = box.center().x() - advance / 2;
        Painter_.setPen(QColor::fromRgba(item.Colour));
        Painter_.drawText(QPointF(x, box.top() + metrics.ascent()), item.Text);
    }

    const QFontMetricsF& UseFont(std::uint32_t index) {
        if (CurrentFont_ != index) {
            Painter_.setFont(Page_.Fonts[index]);
            CurrentFont_ = index;
        }
        std::optional<QFontMetricsF>& metrics = Metrics_[index];
        if (!metrics)
            metrics.emplace(Page_.Fonts[index], Painter_.device());
        return *metrics;
    }

    QPainter& Painter_;
    const ReportPage& Page_;
    QSizeF Dpi_;
    std::vector<std::optional<QFontMetricsF>> Metrics_; // per font of the page, made on first use
    std::uint32_t CurrentFont_ = NoFont;
};

} // namespace

void PageRenderer::Render(QPainter& painter, const ReportPage& page, const QSizeF& dotsPerInch) {
    const QSizeF deviceDpi = DeviceDotsPerInch(painter);
    painter.save();
    if (dotsPerInch != deviceDpi)
        painter.scale(dotsPerInch.width() / deviceDpi.width(),
                      dotsPerInch.height() / deviceDpi.height());
    ItemPainter items(painter, page);
    for (const PageItem& item : page.Items)
        items.Draw(item);
    painter.restore();
}

void PageRenderer::Render(QPainter& painter, const ReportPage& page) {
    Render(painter, page, DeviceDotsPerInch(painter));
}
