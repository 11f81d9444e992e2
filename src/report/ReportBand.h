#pragma once

#include "ReportLabel.h"

#include <QPointF>
#include <QRgb>

#include <cstdint>
#include <memory>
#include <vector>

class ReportPage;

enum class BandType : std::uint8_t { Title, Detail, Summary };

// A horizontal strip of the report with its labels, in tenths of a millimetre. The band owns its
// labels, which print in the order they were added; the references AddLabel returns stay valid
// for the band's life.
class ReportBand {
public:
    ReportBand(BandType type, int layoutDpi);
    ReportBand(const ReportBand&) = delete;
    ReportBand& operator=(const ReportBand&) = delete;

    BandType Type() const { return Type_; }

    double Height() const { return Height_; }
    double Width() const { return Width_; }
    void SetHeight(double height);
    void SetWidth(double width);

    QRgb Colour() const { return Colour_; }
    void SetColour(QRgb colour) { Colour_ = colour; }

    int LayoutDpi() const { return LayoutDpi_; }
    // Labels measure themselves anew at the new resolution; their heights, as always, only rise.
    void SetLayoutDpi(int dpi);

    ReportLabel& AddLabel();
    const std::vector<std::unique_ptr<ReportLabel>>& Labels() const { return Labels_; }

    // Adds the band to the page with its top-left corner at topLeft: the band's rectangle filled
    // with its colour, then each label's rectangle filled with the label's colour and its caption
    // as a text run over the label's rectangle. Empty captions add no text run.
    void DrawOnto(ReportPage& page, const QPointF& topLeft) const;

private:
    void PlaceLabels();

    BandType Type_;
    int LayoutDpi_;
    double Height_ = 0;
    double Width_ = 0;
    QRgb Colour_ = 0xffffffff;
    std::vector<std::unique_ptr<ReportLabel>> Labels_;
};
