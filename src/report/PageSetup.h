#pragma once

#include <QSizeF>

#include <cstdint>

enum class PageOrientation : std::uint8_t { Portrait, Landscape };

// The paper (A4), its margins and its columns, all lengths in tenths of a millimetre. A value
// type: the report holds one and a pass lays out against a copy of it.
class PageSetup {
public:
    static constexpr int MaxColumns = 5;

    double TopMargin() const { return TopMargin_; }
    double BottomMargin() const { return BottomMargin_; }
    double LeftMargin() const { return LeftMargin_; }
    double RightMargin() const { return RightMargin_; }
    double ColumnSpace() const { return ColumnSpace_; }
    int Columns() const { return Columns_; }
    PageOrientation Orientation() const { return Orientation_; }

    void SetMargins(double top, double bottom, double left, double right);
    void SetColumnSpace(double space);
    // A count of 0 or less is ignored; more than MaxColumns is taken as MaxColumns.
    void SetColumns(int columns);
    void SetOrientation(PageOrientation orientation) { Orientation_ = orientation; }

    // The paper as oriented: 2100 x 2970 in portrait, 2970 x 2100 in landscape.
    QSizeF PaperSize() const;
    double PaperWidth() const { return PaperSize().width(); }
    double PaperLength() const { return PaperSize().height(); }

    // Width between the left and the right margin: what the title and summary bands span.
    double FullWidth() const;
    // Width of one column: what the detail band spans.
    double ColumnWidth() const;
    // The height an empty page offers between the top and the bottom margin.
    double PrintableLength() const;

private:
    double TopMargin_ = 100;
    double BottomMargin_ = 120;
    double LeftMargin_ = 100;
    double RightMargin_ = 100;
    double ColumnSpace_ = 0;
    int Columns_ = 1;
    PageOrientation Orientation_ = PageOrientation::Portrait;
};
