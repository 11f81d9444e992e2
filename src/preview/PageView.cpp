#include "PageView.h"

#include "LayoutUnits.h"
#include "PageRenderer.h"
#include "ReportPage.h"

#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

constexpr int ShadowOffset = 4;
constexpr double MinimumDpi = 4; // keeps a tiny window from collapsing the page to nothing
const QColor GroundColour(0x80, 0x80, 0x80);
const QColor ShadowColour(0x40, 0x40, 0x40);

// Before the first page is finished, the view is laid out for the paper it is going to show.
const QSizeF A4Portrait(2100, 2970);

double DpiToFit(int pixels, double tenths) {
    return std::max(MinimumDpi,
                    (pixels - 2 * PageView::Border) * LayoutUnits::TenthsPerInch / tenths);
}

// Whole page and page width never scroll sideways, and page width always shows its vertical bar,
// so that the bar appearing cannot change the width the page is fitted to.
void SetScrollBarPolicies(QAbstractScrollArea& area, PageView::Zoom zoom) {
    switch (zoom) {
    case PageView::Zoom::WholePage:
        area.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        area.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        break;
    case PageView::Zoom::ActualSize:
        area.setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        area.setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        break;
    case PageView::Zoom::PageWidth:
        area.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        area.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        break;
    }
}

void SetRange(QScrollBar& bar, int content, int visible) {
    bar.setRange(0, std::max(0, content - visible));
    bar.setPageStep(visible);
    bar.setSingleStep(20);
}

} // namespace

PageView::PageView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    SetScrollBarPolicies(*this, Zoom_);
}

void PageView::SetPage(std::shared_ptr<const ReportPage> page) {
    Page_ = std::move(page);
    UpdateScrollBars();
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

void PageView::SetZoom(Zoom zoom) {
    if (zoom == Zoom_)
        return;
    Zoom_ = zoom;
    SetScrollBarPolicies(*this, Zoom_);
    UpdateScrollBars();
    viewport()->update();
}

void PageView::SetLayoutDpi(int dpi) {
    if (dpi <= 0)
        return;
    LayoutDpi_ = dpi;
    UpdateScrollBars();
    viewport()->update();
}

double PageView::PageDpi() const {
    const QSizeF paper = PaperTenths();
    const QSize area = viewport()->size();
    switch (Zoom_) {
    case Zoom::WholePage:
        return std::min(DpiToFit(area.width(), paper.width()),
                        DpiToFit(area.height(), paper.height()));
    case Zoom::ActualSize:
        return LayoutDpi_;
    case Zoom::PageWidth:
        return DpiToFit(area.width(), paper.width());
    }
    return LayoutDpi_;
}

QRect PageView::PageRect() const {
    const QSize page = PagePixels();
    const QSize area = viewport()->size();
    // Paper narrower or lower than the view sits in its middle; larger paper scrolls.
    const int x = page.width() + 2 * Border <= area.width()
                      ? (area.width() - page.width()) / 2
                      : Border - horizontalScrollBar()->value();
    const int y = page.height() + 2 * Border <= area.height()
                      ? (area.height() - page.height()) / 2
                      : Border - verticalScrollBar()->value();
    return {QPoint(x, y), page};
}

void PageView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), GroundColour);
    if (!Page_)
        return;
    const QRect paper = PageRect();
    painter.fillRect(paper.translated(ShadowOffset, ShadowOffset), ShadowColour);
    painter.fillRect(paper, Qt::white);
    painter.setClipRect(paper);
    painter.translate(paper.topLeft());
    const double dpi = PageDpi();
    PageRenderer::Render(painter, *Page_, QSizeF(dpi, dpi));
}

void PageView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void PageView::scrollContentsBy(int, int) {
    viewport()->update();
}

QSizeF PageView::PaperTenths() const {
    return Page_ ? Page_->PaperSize : A4Portrait;
}

QSize PageView::PagePixels() const {
    const QSizeF paper = PaperTenths();
    const double scale = PageDpi() / LayoutUnits::TenthsPerInch;
    return {qRound(paper.width() * scale), qRound(paper.height() * scale)};
}

void PageView::UpdateScrollBars() {
    const QSize page = PagePixels();
    const QSize area = viewport()->size();
    SetRange(*horizontalScrollBar(), page.width() + 2 * Border, area.width());
    SetRange(*verticalScrollBar(), page.height() + 2 * Border, area.height());
}
