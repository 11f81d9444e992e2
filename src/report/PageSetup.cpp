#include "PageSetup.h"

#include <algorithm>

namespace {

constexpr QSizeF A4Portrait{2100, 2970};

} // namespace

void PageSetup::SetMargins(double top, double bottom, double left, double right) {
    TopMargin_ = top;
    BottomMargin_ = bottom;
    LeftMargin_ = left;
    RightMargin_ = right;
}

void PageSetup::SetColumnSpace(double space) {
    ColumnSpace_ = std::max(0.0, space);
}

void PageSetup::SetColumns(int columns) {
    if (columns <= 0)
        return;
    Columns_ = std::min(columns, MaxColumns);
}

QSizeF PageSetup::PaperSize() const {
    return Orientation_ == PageOrientation::Portrait ? A4Portrait : A4Portrait.transposed();
}

double PageSetup::FullWidth() const {
    return PaperWidth() - LeftMargin_ - RightMargin_;
}

double PageSetup::ColumnWidth() const {
    return (FullWidth() - ColumnSpace_ * (Columns_ - 1)) / Columns_;
}

double PageSetup::PrintableLength() const {
    return PaperLength() - TopMargin_ - BottomMargin_;
}
