#include "BandPlacer.h"

#include "LayoutUnits.h"

BandPlacer::BandPlacer(const PageSetup& page, double titleHeight)
    : Setup_(page), TitleHeight_(titleHeight), X_(page.LeftMargin()) {}

BandPlacement BandPlacer::Place(double bandHeight) {
    const double needed = LayoutUnits::RoundToTenth(bandHeight);
    PageStarted_ = false;
    if (Page_ == 0)
        StartNewPage();
    else if (!Fits(needed) && FitsEmptyPage(needed))
        MoveToNextColumn();

    BandPlacement placement{QPointF(X_, Y_), Page_, Column_, PageStarted_};
    Y_ += needed;
    return placement;
}

bool BandPlacer::Fits(double neededHeight) const {
    return neededHeight <= Setup_.PaperLength() - Setup_.BottomMargin() - Y_;
}

bool BandPlacer::FitsEmptyPage(double neededHeight) const {
    return neededHeight <= Setup_.PrintableLength();
}

void BandPlacer::MoveToNextColumn() {
    if (Column_ >= Setup_.Columns()) {
        Column_ = 1;
        X_ = Setup_.LeftMargin();
        StartNewPage();
        return;
    }
    X_ += Setup_.ColumnWidth() + Setup_.ColumnSpace();
    Y_ = ColumnTop_;
    ++Column_;
}

void BandPlacer::StartNewPage() {
    ++Page_;
    PageStarted_ = true;
    Y_ = Setup_.TopMargin();
    ColumnTop_ = Y_;
    // The title is placed at the top of page 1 and advances y by its rounded height; the columns
    // of page 1 start where it ends.
    if (Page_ == 1)
        ColumnTop_ += LayoutUnits::RoundToTenth(TitleHeight_);
}
