#include "PageView.h"
#include "ReportPage.h"

#include <QImage>
#include <QScrollBar>
#include <QTest>

#include <cmath>
#include <memory>

Q_DECLARE_METATYPE(PageView::Zoom)

namespace {

const QSizeF Portrait(2100, 2970);
const QSizeF Landscape(2970, 2100);
// A black square of 1 cm whose centre lies 5.5 cm from the paper's left and top edges.
const QRectF Mark(500, 500, 100, 100);

std::shared_ptr<const ReportPage> MarkedPage(const QSizeF& paper) {
    auto page = std::make_shared<ReportPage>();
    page->PaperSize = paper;
    page->AddFill(Mark, 0xff000000);
    return page;
}

// A view of one page in a window of the given size, laid out as it is on screen.
struct ShownView {
    PageView View;

    ShownView(const QSizeF& paper, PageView::Zoom zoom, const QSize& size) {
        View.SetPage(MarkedPage(paper));
        View.SetZoom(zoom);
        View.resize(size);
        View.show();
    }

    QSize Viewport() const { return View.viewport()->size(); }
};

} // namespace

class PageViewTest : public QObject {
    Q_OBJECT

private slots:
    void actualSizeIsOneLayoutPixelPerScreenPixel_data();
    void actualSizeIsOneLayoutPixelPerScreenPixel();
    void fittingZoomsFitThePaperToTheView_data();
    void fittingZoomsFitThePaperToTheView();
    void scrollingReachesEveryEdgeOfThePaper();
    void drawsThePageWhereThePaperIs_data();
    void drawsThePageWhereThePaperIs();
};

void PageViewTest::actualSizeIsOneLayoutPixelPerScreenPixel_data() {
    QTest::addColumn<QSizeF>("paper");
    QTest::addColumn<int>("layoutDpi");
    QTest::addColumn<QSize>("expected");

    // 210 mm at 96 pixels per inch: 2100 * 96 / 254 = 793.7 pixels.
    QTest::newRow("portrait at 96") << Portrait << 96 << QSize(794, 1123);
    QTest::newRow("landscape at 96") << Landscape << 96 << QSize(1123, 794);
    QTest::newRow("portrait at 120") << Portrait << 120 << QSize(992, 1403);
}

void PageViewTest::actualSizeIsOneLayoutPixelPerScreenPixel() {
    QFETCH(QSizeF, paper);
    QFETCH(int, layoutDpi);
    QFETCH(QSize, expected);
    ShownView shown(paper, PageView::Zoom::ActualSize, QSize(640, 480));

    shown.View.SetLayoutDpi(layoutDpi);

    QCOMPARE(shown.View.PageRect().size(), expected);
    QCOMPARE(shown.View.PageRect().topLeft(), QPoint(PageView::Border, PageView::Border));
}

void PageViewTest::fittingZoomsFitThePaperToTheView_data() {
    QTest::addColumn<PageView::Zoom>("zoom");
    QTest::addColumn<QSizeF>("paper");
    QTest::addColumn<QSize>("windowSize");
    QTest::addColumn<bool>("fitsWidth");
    QTest::addColumn<bool>("fitsHeight");

    QTest::newRow("page width, portrait")
        << PageView::Zoom::PageWidth << Portrait << QSize(800, 600) << true << false;
    QTest::newRow("page width, landscape in a tall window")
        << PageView::Zoom::PageWidth << Landscape << QSize(600, 900) << true << false;
    QTest::newRow("whole page, portrait in a wide window")
        << PageView::Zoom::WholePage << Portrait << QSize(800, 600) << false << true;
    QTest::newRow("whole page, landscape in a tall window")
        << PageView::Zoom::WholePage << Landscape << QSize(600, 900) << true << false;
}

void PageViewTest::fittingZoomsFitThePaperToTheView() {
    QFETCH(PageView::Zoom, zoom);
    QFETCH(QSizeF, paper);
    QFETCH(QSize, windowSize);
    QFETCH(bool, fitsWidth);
    QFETCH(bool, fitsHeight);
    ShownView shown(paper, zoom, windowSize);

    const QRect rect = shown.View.PageRect();
    const QSize room = shown.Viewport() - QSize(2, 2) * PageView::Border;

    QCOMPARE(rect.width() == room.width(), fitsWidth);
    QCOMPARE(rect.height() == room.height(), fitsHeight);
    QVERIFY(std::abs(rect.width() / double(rect.height()) - paper.width() / paper.height()) < 0.01);
    if (zoom == PageView::Zoom::WholePage) // every part of the paper is in sight
        QVERIFY(QRect(QPoint(), shown.Viewport()).contains(rect));
}

void PageViewTest::scrollingReachesEveryEdgeOfThePaper() {
    ShownView shown(Portrait, PageView::Zoom::ActualSize, QSize(500, 400));
    QScrollBar& across = *shown.View.horizontalScrollBar();
    QScrollBar& down = *shown.View.verticalScrollBar();

    across.setValue(across.maximum());
    down.setValue(down.maximum());

    const QRect rect = shown.View.PageRect();
    QCOMPARE(rect.right() + 1 + PageView::Border, shown.Viewport().width());
    QCOMPARE(rect.bottom() + 1 + PageView::Border, shown.Viewport().height());
}

void PageViewTest::drawsThePageWhereThePaperIs_data() {
    QTest::addColumn<PageView::Zoom>("zoom");

    QTest::newRow("whole page") << PageView::Zoom::WholePage;
    QTest::newRow("100 %") << PageView::Zoom::ActualSize;
    QTest::newRow("page width") << PageView::Zoom::PageWidth;
}

void PageViewTest::drawsThePageWhereThePaperIs() {
    QFETCH(PageView::Zoom, zoom);
    ShownView shown(Portrait, zoom, QSize(700, 900));

    const QImage image = shown.View.viewport()->grab().toImage();

    const QRect rect = shown.View.PageRect();
    const double pixelsPerTenth = shown.View.PageDpi() / 254.0;
    const QPoint markCentre = rect.topLeft() + (Mark.center() * pixelsPerTenth).toPoint();
    QCOMPARE(image.pixelColor(markCentre), QColor(Qt::black));
    QCOMPARE(image.pixelColor(rect.topLeft() + QPoint(5, 5)), QColor(Qt::white));
    QVERIFY(image.pixelColor(2, 2) != QColor(Qt::white)); // the ground around the paper
}

QTEST_MAIN(PageViewTest)
#include "PageViewTest.moc"
