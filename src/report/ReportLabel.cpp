#include "ReportLabel.h"

#include "LayoutUnits.h"
#include "ReportBand.h"

#include <QPaintDevice>

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

ReportLabel::ReportLabel(const ReportBand& band)
    : Band_(band), Metrics_(MetricsAt(Font_, band.LayoutDpi())) {}

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
    Metrics_ = MetricsAt(Font_, Band_.LayoutDpi());
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

void ReportLabel::SetAlignment(TextAlignment alignment) {
    Alignment_ = alignment;
    PlaceInBand();
}

void ReportLabel::SetAlignToBand(bool align) {
    AlignToBand_ = align;
    PlaceInBand();
}

void ReportLabel::SetAutoSize(bool autoSize) {
    AutoSize_ = autoSize;
    Measure();
}

void ReportLabel::LayoutDpiChanged() {
    Metrics_ = MetricsAt(Font_, Band_.LayoutDpi());
    Measure();
}

double ReportLabel::PixelsToTenths(double pixels) const {
    return LayoutUnits::PixelsToTenths(pixels, Band_.LayoutDpi());
}

void ReportLabel::Measure() {
    if (!AutoSize_)
        return;
    const double minimumHeight = PixelsToTenths(Metrics_.height() + 1);
    if (Height_ < minimumHeight)
        Height_ = minimumHeight;
    ResizeKeepingAnchor(PixelsToTenths(Metrics_.horizontalAdvance(Caption_) + 1));
    PlaceInBand();
}

void ReportLabel::ResizeKeepingAnchor(double width) {
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

void ReportLabel::PlaceInBand() {
    if (!AlignToBand_)
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
