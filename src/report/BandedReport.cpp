#include "BandedReport.h"

#include "BandPlacer.h"
#include "LayoutUnits.h"
#include "PageSink.h"
#include "ReportPage.h"

#include <QScopeGuard>

#include <memory>
#include <utility>

namespace {

// The pages of one pass. Each band goes where the placer puts it; a page goes to the sink as soon
// as the next one starts, or when the pass finishes.
class PageBuilder {
public:
    PageBuilder(const PageSetup& page, double titleHeight, PageSink& sink)
        : Placer_(page, titleHeight), PaperSize_(page.PaperSize()), Sink_(sink) {}

    void Place(const ReportBand& band) {
        const BandPlacement placement = Placer_.Place(band.Height());
        if (placement.StartsPage)
            StartPage();
        band.DrawOnto(*Current_, placement.TopLeft);
    }

    void Finish() {
        if (Current_)
            Sink_.PageFinished(std::move(Current_));
        Current_.reset();
    }

private:
    void StartPage() {
        Finish();
        Current_ = std::make_shared<ReportPage>();
        Current_->PaperSize = PaperSize_;
    }

    BandPlacer Placer_;
    QSizeF PaperSize_;
    PageSink& Sink_;
    std::shared_ptr<ReportPage> Current_;
};

} // namespace

BandedReport::BandedReport()
    : LayoutDpi_(LayoutUnits::DefaultLayoutDpi), Title_(BandType::Title, LayoutDpi_),
      Detail_(BandType::Detail, LayoutDpi_), Summary_(BandType::Summary, LayoutDpi_) {
    LayBands();
}

void BandedReport::SetPage(const PageSetup& page) {
    Page_ = page;
    LayBands();
}

void BandedReport::SetColumns(int columns) {
    Page_.SetColumns(columns);
    LayBands();
}

void BandedReport::SetOrientation(PageOrientation orientation) {
    Page_.SetOrientation(orientation);
    LayBands();
}

void BandedReport::SetLayoutDpi(int dpi) {
    if (dpi <= 0)
        return;
    LayoutDpi_ = dpi;
    for (ReportBand* band : {&Title_, &Detail_, &Summary_})
        band->SetLayoutDpi(dpi);
}

BandedReport::PassResult BandedReport::Run(PageSink& sink) {
    if (Running_)
        return PassResult::AlreadyRunning;
    Running_ = true;
    Cancelled_ = false;
    const auto endPass = qScopeGuard([this] { Running_ = false; });

    bool printReport = true;
    if (BeforePrint)
        BeforePrint(printReport);
    if (!printReport)
        return PassResult::Skipped;

    bool moreData = NeedData();
    if (!moreData)
        return PassResult::Empty;

    PageBuilder pages(Page_, Title_.Height(), sink);
    pages.Place(Title_);
    while (moreData) {
        if (ProcessEvents)
            ProcessEvents();
        if (Cancelled_)
            return PassResult::Cancelled;
        pages.Place(Detail_);
        moreData = NeedData();
    }
    pages.Place(Summary_);
    pages.Finish();
    return PassResult::Completed;
}

void BandedReport::Cancel() {
    if (Running_)
        Cancelled_ = true;
}

void BandedReport::LayBands() {
    Title_.SetWidth(Page_.FullWidth());
    Detail_.SetWidth(Page_.ColumnWidth());
    Summary_.SetWidth(Page_.FullWidth());
}

bool BandedReport::NeedData() {
    // Preset to false so that a callback which forgets to answer ends the listing.
    bool moreData = false;
    if (OnNeedData)
        OnNeedData(moreData);
    return moreData;
}
