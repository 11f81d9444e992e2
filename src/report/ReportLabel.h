#pragma once

#include "ReportPage.h"

#include <QFont>
#include <QFontMetrics>
#include <QRectF>
#include <QRgb>
#include <QString>

#include <vector>

class ReportBand;

// One line of text on a band. Position and size are in tenths of a millimetre from the band's
// top-left corner; the pixel setters convert at the band's layout resolution.
//
// Auto-size: the width becomes the caption's width in the label's font at the layout resolution
// plus one pixel, and the height is raised to the font's line height plus one pixel when it is
// lower, never lowered. The label measures itself only when its caption or its font really
// changes (a font equal to the current one is no change), so a caller who wants a fresh height
// for an equal font first sets a different one. When the width changes, a right-aligned label
// keeps its right edge and a centred one its centre. With AlignToBand, the band places the label
// horizontally whenever the label's size or alignment or the band's size changes.
//
// A label whose width cannot move its left edge (left-aligned, or placed by its band) measures
// its caption's width only when its geometry is next read, so a caption or font that changes
// several times before the label is drawn is measured once, as the last change left it. Heights
// are measured at once, since each change of font may raise them.
//
// Labels live in a band, which owns them; a label cannot be copied.
class ReportLabel {
public:
    explicit ReportLabel(const ReportBand& band);
    ReportLabel(const ReportLabel&) = delete;
    ReportLabel& operator=(const ReportLabel&) = delete;

    const QString& Caption() const { return Caption_; }
    void SetCaption(const QString& caption);

    const QFont& Font() const { return Font_; }
    void SetFont(const QFont& font);
    // Changes the point size alone, keeping family, weight and style.
    void SetFontPointSize(qreal pointSize);

    QRgb FontColour() const { return FontColour_; }
    void SetFontColour(QRgb colour) { FontColour_ = colour; }
    // The label's background, filled before its text is drawn.
    QRgb Colour() const { return Colour_; }
    void SetColour(QRgb colour) { Colour_ = colour; }

    double Left() const {
        MeasureWidthIfStale();
        return Left_;
    }
    double Top() const { return Top_; }
    double Width() const {
        MeasureWidthIfStale();
        return Width_;
    }
    double Height() const { return Height_; }
    double Right() const {
        MeasureWidthIfStale();
        return Left_ + Width_;
    }
    QRectF Rect() const { return {Left(), Top_, Width_, Height_}; }
    void SetLeft(double left);
    void SetTop(double top) { Top_ = top; }
    void SetWidth(double width);
    void SetHeight(double height);
    void SetLeftPixels(int pixels);
    void SetHeightPixels(int pixels);

    TextAlignment Alignment() const { return Alignment_; }
    void SetAlignment(TextAlignment alignment);
    bool AlignToBand() const { return AlignToBand_; }
    void SetAlignToBand(bool align);
    bool AutoSize() const { return AutoSize_; }
    void SetAutoSize(bool autoSize);

private:
    // The band reports its own changes through these.
    friend class ReportBand;
    void BandResized() { PlaceInBand(); }
    void LayoutDpiChanged();

    double PixelsToTenths(double pixels) const;
    const QFontMetrics& MetricsFor(const QFont& font);
    void Measure();
    // Only a width that cannot move the left edge is left stale: see the class comment.
    bool WidthMayWait() const { return Alignment_ == TextAlignment::Left || AlignToBand_; }
    void MeasureWidthIfStale() const;
    void MeasureWidth() const;
    void ResizeKeepingAnchor(double width) const;
    void PlaceInBand() const;

    // Fonts used lately with their metrics at the layout resolution: a listing switches between
    // a few fonts on every line, and metrics made anew would look the font up again each time.
    struct CachedMetrics {
        QFont Font;
        QFontMetrics Metrics;
    };
    static constexpr std::size_t MetricsCacheSize = 4;

    const ReportBand& Band_; // the band owns this label
    QString Caption_;
    QFont Font_;
    std::vector<CachedMetrics> MetricsCache_; // most recent last; the last one is Font_'s
    QRgb FontColour_ = 0xff000000;
    QRgb Colour_ = 0xffffffff;
    // Left_ and Width_ are brought up to date by the first read after a change of caption or
    // font (see WidthMayWait), hence mutable.
    mutable double Left_ = 0;
    double Top_ = 0;
    mutable double Width_ = 0;
    mutable bool WidthStale_ = false;
    double Height_ = 0;
    TextAlignment Alignment_ = TextAlignment::Left;
    bool AlignToBand_ = false;
    bool AutoSize_ = true;
};
