#include "PageRenderer.h"
#include "LayoutUnits.h"
#include "ReportPage.h"

#include <QImage>
#include <QPainter>
#include <QTest>

Q_DECLARE_METATYPE(TextAlignment)

namespace {

// A strip of paper, 120 x 30 mm, with one text run in a 80 x 4.5 mm box.
const QSizeF Paper(1200, 300);
const QRectF TextBox(200, 100, 800, 45);
constexpr int PointSize = 10;
const QString Text = QStringLiteral("Hxg directory listing");

QImage WhitePaper(double dpi, double deviceDpi) {
    const QSize pixels = (Paper * dpi / LayoutUnits::TenthsPerInch).toSize();
    QImage image(pixels, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(deviceDpi / 0.0254));
    image.setDotsPerMeterY(qRound(deviceDpi / 0.0254));
    image.fill(Qt::white);
    return image;
}

QRectF ToPixels(const QRectF& tenths, double dpi) {
    const double scale = dpi / LayoutUnits::TenthsPerInch;
    return {tenths.x() * scale, tenths.y() * scale, tenths.width() * scale,
            tenths.height() * scale};
}

// The bounding box of every pixel darker than mid-grey.
QRect InkBounds(const QImage& image) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(line[x]) < 128)
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

} // namespace

class PageRendererTest : public QObject {
    Q_OBJECT

private slots:
    void placesTextInItsBox_data();
    void placesTextInItsBox();
    void laterFillsCoverEarlierItems();
    void labelFillInsideBandFillStillCoversText();
};

void PageRendererTest::placesTextInItsBox_data() {
    QTest::addColumn<TextAlignment>("alignment");
    QTest::addColumn<double>("dpi");       // the resolution the page is drawn at
    QTest::addColumn<double>("deviceDpi"); // the image's own resolution

    const struct {
        const char* name;
        TextAlignment alignment;
    } alignments[] = {{"left", TextAlignment::Left},
                      {"right", TextAlignment::Right},
                      {"centred", TextAlignment::Center}};
    for (const auto& a : alignments) {
        QTest::addRow("%s at 96 dpi", a.name) << a.alignment << 96.0 << 96.0;
        QTest::addRow("%s at 300 dpi", a.name) << a.alignment << 300.0 << 300.0;
        // A preview zoomed to 200 % on a 96 dpi screen.
        QTest::addRow("%s zoomed on a 96 dpi device", a.name) << a.alignment << 192.0 << 96.0;
    }
}

void PageRendererTest::placesTextInItsBox() {
    QFETCH(TextAlignment, alignment);
    QFETCH(double, dpi);
    QFETCH(double, deviceDpi);

    ReportPage page;
    page.PaperSize = Paper;
    page.AddText(TextBox, alignment, QFont(QStringLiteral("Arial"), PointSize), 0xff000000, Text);
    QImage image = WhitePaper(dpi, deviceDpi);
    {
        QPainter painter(&image);
        PageRenderer::Render(painter, page, QSizeF(dpi, dpi));
    }

    const QRect ink = InkBounds(image);
    QVERIFY(!ink.isEmpty());
    const QRectF box = ToPixels(TextBox, dpi);
    const double em = PointSize * dpi / 72;
    // Side bearings keep the ink a little inside the box's edges.
    const double tolerance = 0.15 * em;

    // The line's top is at the box's top: the capitals start a little below it, the descender
    // of the g ends inside the box. Drawn on the box's top as a baseline, they would rise above.
    QVERIFY2(ink.top() >= box.top() && ink.top() <= box.top() + 0.35 * em,
             qPrintable(QStringLiteral("ink top %1, box top %2").arg(ink.top()).arg(box.top())));
    QVERIFY(ink.bottom() <= box.bottom());
    // The font is drawn at its point size at the page's resolution, not the device's.
    QVERIFY2(ink.height() > 0.75 * em && ink.height() < 1.1 * em,
             qPrintable(QStringLiteral("ink height %1, em %2").arg(ink.height()).arg(em)));

    switch (alignment) {
    case TextAlignment::Left:
        QVERIFY(qAbs(ink.left() - box.left()) <= tolerance);
        break;
    case TextAlignment::Right:
        QVERIFY(qAbs(ink.right() + 1 - box.right()) <= tolerance);
        break;
    case TextAlignment::Center:
        QVERIFY(qAbs((ink.left() + ink.right() + 1) / 2.0 - box.center().x()) <= tolerance);
        break;
    }
}

void PageRendererTest::laterFillsCoverEarlierItems() {
    ReportPage page;
    page.PaperSize = Paper;
    page.AddText(TextBox, TextAlignment::Left, QFont(QStringLiteral("Arial"), PointSize),
                 0xff000000, Text);
    // A white fill over the first 15 mm of the text, then a grey band below it.
    page.AddFill(QRectF(TextBox.topLeft(), QSizeF(150, 45)), 0xffffffff);
    page.AddFill(QRectF(0, 200, 1200, 50), 0xff808080);
    QImage image = WhitePaper(96, 96);
    {
        QPainter painter(&image);
        PageRenderer::Render(painter, page);
    }

    const QRect ink = InkBounds(image.copy(ToPixels(QRectF(0, 0, 1200, 190), 96).toRect()));
    QVERIFY(!ink.isEmpty());
    QVERIFY(ink.left() >= ToPixels(QRectF(350, 0, 1, 1), 96).left() - 1);
    QCOMPARE(image.pixel(ToPixels(QRectF(600, 225, 1, 1), 96).topLeft().toPoint()),
             qRgb(0x80, 0x80, 0x80));
}

// A detail line as a band draws it: the band's white fill, the name label's fill and a name that
// runs on past its box, then the size label's fill inside the band's fill. The renderer leaves
// out fills that repaint white on white, but not one that has text below it.
void PageRendererTest::labelFillInsideBandFillStillCoversText() {
    ReportPage page;
    page.PaperSize = Paper;
    const QRectF band(0, 100, 1200, 45);
    const QRectF shortBox(200, 100, 50, 45); // far narrower than the text
    page.AddFill(band, 0xffffffff);
    page.AddFill(shortBox, 0xffffffff);
    page.AddText(shortBox, TextAlignment::Left, QFont(QStringLiteral("Arial"), PointSize),
                 0xff000000, Text);
    page.AddFill(QRectF(350, 100, 850, 45), 0xffffffff);
    QImage image = WhitePaper(96, 96);
    {
        QPainter painter(&image);
        PageRenderer::Render(painter, page);
    }

    const QRect ink = InkBounds(image);
    QVERIFY(!ink.isEmpty());
    QVERIFY(ink.right() < ToPixels(QRectF(350, 0, 1, 1), 96).left() + 1);
}

QTEST_MAIN(PageRendererTest)
#include "PageRendererTest.moc"
