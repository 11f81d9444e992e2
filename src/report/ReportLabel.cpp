#include "ReportLabel.h"

#include "LayoutUnits.h"
#include "ReportBand.h"

#include <QPaintDevice>

#include <algorithm>

namespace {

// A paint device that exists only to tell font metrics the layout resolution, so that a label
// measures the same on every screen and in offscreen tests.
class LayoutResolution final : public QPaintDevice {
public:
    explicit LayoutResolution(int dpi) : Dpi_(dpi) {}
    QPaintEngine* paintEngine() const override { return nullptr; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return Dpi_;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return 1;
        }
    }

private:
    int Dpi_;
};

QFontMetrics MetricsAt(const QFont& font, int dpi) {
    const LayoutResolution device(dpi);
    return QFontMetrics(font, &device);
}

} // namespace

ReportLabel::ReportLabel(const ReportBand& band) : Band_(band) {
    MetricsFor(Font_);
}

void ReportLabel::SetCaption(const QString& caption) {
    if (caption == Caption_)
        return;
    Caption_ = caption;
    Measure();
}

void ReportLabel::SetFont(const QFont& font) {
    if (font == Font_)
        return;
    Font_ = font;
    MetricsFor(Font_);
    Measure();
}

void ReportLabel::SetFontPointSize(qreal pointSize) {
    QFont font = Font_;
    font.setPointSizeF(pointSize);
    SetFont(font);
}

void ReportLabel::SetLeft(double left) {
    Left_ = left;
    PlaceInBand();
}

void ReportLabel::SetWidth(double width) {
    // The width set here replaces any measurement still pending.
    WidthStale_ = false;
    Width_ = width;
    PlaceInBand();
}

void ReportLabel::SetHeight(double height) {
    Height_ = height;
    PlaceInBand();
}

void ReportLabel::SetLeftPixels(int pixels) {
    SetLeft(PixelsToTenths(pixels));
}

void ReportLabel::SetHeightPixels(int pixels) {
    SetHeight(PixelsToTenths(pixels));
}

// The three setters below change how a pending width would move the label, so the width is
// brought up to date under the old settings first.
void ReportLabel::SetAlignment(TextAlignment alignment) {
    MeasureWidthIfStale();
    Alignment_ = alignment;
    PlaceInBand();
}

void ReportLabel::SetAlignToBand(bool align) {
    MeasureWidthIfStale();
    AlignToBand_ = align;
    PlaceInBand();
}

void ReportLabel::SetAutoSize(bool autoSize) {
    MeasureWidthIfStale();
    AutoSize_ = autoSize;
    Measure();
}

void ReportLabel::LayoutDpiChanged() {
    MetricsCache_.clear();
    MetricsFor(Font_);
    Measure();
}

double ReportLabel::PixelsToTenths(double pixels) const {
    return LayoutUnits::PixelsToTenths(pixels, Band_.LayoutDpi());
}

const QFontMetrics& ReportLabel::MetricsFor(const QFont& font) {
    for (auto it = MetricsCache_.begin(); it != MetricsCache_.end(); ++it) {
        if (it->Font == font) {
            std::rotate(it, it + 1, MetricsCache_.end());
            return MetricsCache_.back().Metrics;
        }
    }
    if (MetricsCache_.size() == MetricsCacheSize)
        MetricsCache_.erase(MetricsCache_.begin());
    MetricsCache_.push_back({font, MetricsAt(font, Band_.LayoutDpi())});
    return MetricsCache_.back().Metrics;
}

void ReportLabel::Measure() {
    if (!AutoSize_)
        return;
    const double minimumHeight = PixelsToTenths(MetricsCache_.back().Metrics.height() + 1);
    if (Height_ < minimumHeight)
        Height_ = minimumHeight;
    WidthStale_ = true;
    if (!WidthMayWait())
        MeasureWidth();
}

void ReportLabel::MeasureWidthIfStale() const {
    if (WidthStale_)
        MeasureWidth();
}

void ReportLabel::MeasureWidth() const {
    WidthStale_ = false;
    const QFontMetrics& metrics = MetricsCache_.back().Metrics;
    ResizeKeepingAnchor(PixelsToTenths(metrics.horizontalAdvance(Caption_) + 1));
    PlaceInBand();
}

void ReportLabel::ResizeKeepingAnchor(double width) const {
    switch (Alignment_) {
    case TextAlignment::Left:
        break;
    case TextAlignment::Right:
        Left_ += Width_ - width;
        break;
    case TextAlignment::Center:
        Left_ += (Width_ - width) / 2;
        break;
    }
    Width_ = width;
}

void ReportLabel::PlaceInBand() const {
    // A stale width is placed when it is measured.
    if (!AlignToBand_ || WidthStale_)
        return;
    switch (Alignment_) {
    case TextAlignment::Left:
        Left_ = 0;
        break;
    case TextAlignment::Right:
        Left_ = Band_.Width() - Width_;
        break;
    case TextAlignment::Center:
        Left_ = (Band_.Width() - Width_) / 2;
        break;
    }
}
