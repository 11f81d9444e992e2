#pragma once

#include "PageSetup.h"

#include <QPointF>

// Where one band goes: its top-left corner on the page (tenths of a millimetre from the paper's
// top-left corner), the page and column it lands in (both counted from 1), and whether placing it
// opened that page.
struct BandPlacement {
    QPointF TopLeft;
    int Page = 0;
    int Column = 0;
    bool StartsPage = false;
};

// The flow of bands down the columns and across the pages, without any drawing. Bands are placed
// one after the other; each placement says where the band goes and whether a new page began.
//
// Contract: the first band placed opens page 1 in column 1. A band whose height (rounded to the
// nearest tenth) is strictly more than the room left in the column moves to the top of the next
// column, or after the last column to column 1 of a new page; a band taller than an empty page
// stays where it is. Columns of page 1 start below the title, those of later pages at the top
// margin.
class BandPlacer {
public:
    // The geometry is copied: changes to the report's page setup do not reach a pass under way.
    // The title's height lowers the column top on page 1 only.
    BandPlacer(const PageSetup& page, double titleHeight);

    BandPlacement Place(double bandHeight);

    int PageCount() const { return Page_; }

private:
    bool Fits(double neededHeight) const;
    bool FitsEmptyPage(double neededHeight) const;
    void MoveToNextColumn();
    void StartNewPage();

    PageSetup Setup_;
    double TitleHeight_;
    double X_ = 0;
    double Y_ = 0;
    double ColumnTop_ = 0;
    int Column_ = 1;
    int Page_ = 0; // 0 until the first band opens page 1
    bool PageStarted_ = false;
};
