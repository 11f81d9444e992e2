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
            DrawFill(item);
        else
            DrawText(item);
    }

private:
    // Fills and texts alternate on every line. QPainter::fillRect saves and restores the pen and
    // the brush on each call, and a PDF writer records every such change; so the painter is set
    // up for fills (no pen, the fill's brush) or for text (the text's pen) only when the kind or
    // the colour changes.
    enum class Mode : std::uint8_t { Unknown, Fill, Text };

    void DrawFill(const PageItem& item) {
        if (RepaintsLastFill(item))
            return;
        LastFill_ = &item;
        TextsSinceLastFill_.clear();
        if (Mode_ != Mode::Fill || ModeColour_ != item.Colour) {
            if (Mode_ != Mode::Fill)
                Painter_.setPen(Qt::NoPen);
            Painter_.setBrush(QColor::fromRgba(item.Colour));
            Mode_ = Mode::Fill;
            ModeColour_ = item.Colour;
        }
        Painter_.drawRect(ToDevice(item.Rect));
    }

    // A label's fill inside its band's fill of the same opaque colour, with no text drawn into it
    // since, paints pixels that have its colour already; a PDF would still record it. Text runs
    // are not clipped, so a text counts as reaching across the whole page, and a line's height
    // above and below its box: a fill on the rows of a text drawn since is always drawn.
    bool RepaintsLastFill(const PageItem& fill) const {
        if (LastFill_ == nullptr || qAlpha(fill.Colour) != 255 ||
            LastFill_->Colour != fill.Colour || !LastFill_->Rect.contains(fill.Rect))
            return false;
        for (const QRectF& text : TextsSinceLastFill_) {
            const qreal reach = text.height();
            if (text.top() - reach < fill.Rect.bottom() && fill.Rect.top() < text.bottom() + reach)
                return false;
        }
        return true;
    }

    void UseTextPen(QRgb colour) {
        if (Mode_ == Mode::Text && ModeColour_ == colour)
            return;
        Painter_.setPen(QColor::fromRgba(colour));
        Mode_ = Mode::Text;
        ModeColour_ = colour;
    }

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
        TextsSinceLastFill_.push_back(item.Rect);
        UseTextPen(item.Colour);
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
    Mode Mode_ = Mode::Unknown;
    QRgb ModeColour_ = 0;
    const PageItem* LastFill_ = nullptr;     // the last fill drawn, an item of Page_
    std::vector<QRectF> TextsSinceLastFill_; // in tenths of a millimetre, as the items hold them
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
