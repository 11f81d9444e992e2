#include "ReportBand.h"

#include "ReportPage.h"

ReportBand::ReportBand(BandType type, int layoutDpi) : Type_(type), LayoutDpi_(layoutDpi) {}

void ReportBand::SetHeight(double height) {
    if (height == Height_)
        return;
    Height_ = height;
    PlaceLabels();
}

void ReportBand::SetWidth(double width) {
    if (width == Width_)
        return;
    Width_ = width;
    PlaceLabels();
}

void ReportBand::SetLayoutDpi(int dpi) {
    if (dpi <= 0 || dpi == LayoutDpi_)
        return;
    LayoutDpi_ = dpi;
    for (const auto& label : Labels_)
        label->LayoutDpiChanged();
}

ReportLabel& ReportBand::AddLabel() {
    Labels_.push_back(std::make_unique<ReportLabel>(*this));
    return *Labels_.back();
}

void ReportBand::DrawOnto(ReportPage& page, const QPointF& topLeft) const {
    page.AddFill(QRectF(topLeft, QSizeF(Width_, Height_)), Colour_);
    for (const auto& label : Labels_) {
        const QRectF box = label->Rect().translated(topLeft);
        page.AddFill(box, label->Colour());
        if (!label->Caption().isEmpty())
            page.AddText(box, label->Alignment(), label->Font(), label->FontColour(),
                         label->Caption());
    }
}

void ReportBand::PlaceLabels() {
    for (const auto& label : Labels_)
        label->BandResized();
}
