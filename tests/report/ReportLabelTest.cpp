#include "LayoutUnits.h"
#include "ReportBand.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QTest>

Q_DECLARE_METATYPE(TextAlignment)

namespace {

QFont Arial(int pointSize, bool bold = false) {
    QFont font(QStringLiteral("Arial"), pointSize);
    font.setBold(bold);
    return font;
}

// Measured independently of the label, on an image that claims the wanted resolution.
QFontMetrics MetricsAt(const QFont& font, int dpi) {
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(qRound(dpi / 0.0254));
    device.setDotsPerMeterY(qRound(dpi / 0.0254));
    return QFontMetrics(font, &device);
}

double Pixels(double pixels, int dpi = LayoutUnits::DefaultLayoutDpi) {
    return LayoutUnits::PixelsToTenths(pixels, dpi);
}

double LineHeight(const QFont& font) {
    return Pixels(MetricsAt(font, 96).height() + 1);
}

} // namespace

class ReportLabelTest : public QObject {
    Q_OBJECT

private slots:
    void widthFollowsCaption_data();
    void widthFollowsCaption();
    void heightRisesButNeverFalls();
    void listingResetGivesEachLineItsFontsHeight();
    void measuresOnlyOnRealChange_data();
    void measuresOnlyOnRealChange();
    void widthChangeKeepsAnchor_data();
    void widthChangeKeepsAnchor();
    void alignToBandPlacesLabel_data();
    void alignToBandPlacesLabel();
    void pixelSettersConvertAtLayoutResolution();

private:
    ReportBand Band_{BandType::Detail, LayoutUnits::DefaultLayoutDpi};
};

void ReportLabelTest::widthFollowsCaption_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QFont>("font");
    QTest::addColumn<int>("dpi");

    QTest::newRow("empty caption is one pixel wide") << QString() << Arial(10) << 96;
    QTest::newRow("name") << QStringLiteral("C:\\data") << Arial(10) << 96;
    QTest::newRow("bold title") << QStringLiteral("directory listing") << Arial(16, true) << 96;
    QTest::newRow("non-ASCII") << QStringLiteral("Ärger über Öl") << Arial(10) << 96;
    // At another layout resolution the text is measured in that resolution's pixels.
    QTest::newRow("144 dpi") << QStringLiteral("C:\\data") << Arial(10) << 144;
    QTest::newRow("empty caption at 144 dpi") << QString() << Arial(10) << 144;
}

void ReportLabelTest::widthFollowsCaption() {
    QFETCH(QString, caption);
    QFETCH(QFont, font);
    QFETCH(int, dpi);

    ReportBand band(BandType::Detail, dpi);
    ReportLabel& label = band.AddLabel();
    label.SetFont(font);
    label.SetCaption(caption);

    const QFontMetrics metrics = MetricsAt(font, dpi);
    QCOMPARE(label.Width(), Pixels(metrics.horizontalAdvance(caption) + 1, dpi));
    QCOMPARE(label.Height(), Pixels(metrics.height() + 1, dpi));
}

void ReportLabelTest::heightRisesButNeverFalls() {
    ReportLabel& label = Band_.AddLabel();
    label.SetCaption(QStringLiteral("name"));
    label.SetFont(Arial(16));
    const double tall = label.Height();
    QCOMPARE(tall, LineHeight(Arial(16)));

    label.SetFont(Arial(8));
    QCOMPARE(label.Height(), tall);
    label.SetCaption(QStringLiteral("another name"));
    QCOMPARE(label.Height(), tall);

    label.SetHeight(500);
    label.SetFont(Arial(10));
    QCOMPARE(label.Height(), 500.0);
}

// What the listing callback does for every line: 1-point font, height 1 pixel, then the line's
// font. A line after a taller one becomes lower; a line in the same font as the one before is
// measured again and gets the same height.
void ReportLabelTest::listingResetGivesEachLineItsFontsHeight() {
    ReportLabel& label = Band_.AddLabel();
    const auto produceLine = [&label](const QFont& font, const QString& name) {
        label.SetFontPointSize(1);
        label.SetHeightPixels(1);
        label.SetFont(font);
        label.SetLeftPixels(10);
        label.SetCaption(name);
        return label.Height();
    };

    QCOMPARE(produceLine(Arial(16, true), QStringLiteral("root")), LineHeight(Arial(16, true)));
    QCOMPARE(produceLine(Arial(10), QStringLiteral("docs")), LineHeight(Arial(10)));
    QCOMPARE(produceLine(Arial(10), QStringLiteral("src")), LineHeight(Arial(10)));
    QVERIFY(LineHeight(Arial(10)) < LineHeight(Arial(16, true)));
}

void ReportLabelTest::measuresOnlyOnRealChange_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QFont>("font");
    QTest::addColumn<bool>("measured");

    QTest::newRow("same caption") << QStringLiteral("name") << Arial(10) << false;
    QTest::newRow("equal font") << QStringLiteral("name") << QFont(Arial(10)) << false;
    QTest::newRow("other caption") << QStringLiteral("other") << Arial(10) << true;
    QTest::newRow("other size") << QStringLiteral("name") << Arial(12) << true;
    QTest::newRow("bold") << QStringLiteral("name") << Arial(10, true) << true;
}

void ReportLabelTest::measuresOnlyOnRealChange() {
    QFETCH(QString, caption);
    QFETCH(QFont, font);
    QFETCH(bool, measured);

    ReportLabel& label = Band_.AddLabel();
    label.SetFont(Arial(10));
    label.SetCaption(QStringLiteral("name"));
    // Sizes no measurement could produce, so that any measurement shows.
    label.SetWidth(5);
    label.SetHeight(1);

    label.SetFont(font);
    label.SetCaption(caption);

    QCOMPARE(label.Width() != 5, measured);
    QCOMPARE(label.Height() != 1, measured);
}

void ReportLabelTest::widthChangeKeepsAnchor_data() {
    QTest::addColumn<TextAlignment>("alignment");

    QTest::newRow("left edge") << TextAlignment::Left;
    QTest::newRow("right edge") << TextAlignment::Right;
    QTest::newRow("centre") << TextAlignment::Center;
}

void ReportLabelTest::widthChangeKeepsAnchor() {
    QFETCH(TextAlignment, alignment);

    ReportLabel& label = Band_.AddLabel();
    label.SetFont(Arial(10));
    label.SetAlignment(alignment);
    label.SetCaption(QStringLiteral("short"));
    label.SetLeft(500);
    const double left = label.Left();
    const double right = label.Right();
    const double centre = label.Left() + label.Width() / 2;

    label.SetCaption(QStringLiteral("a considerably longer caption"));

    switch (alignment) {
    case TextAlignment::Left:
        QCOMPARE(label.Left(), left);
        break;
    case TextAlignment::Right:
        QCOMPARE(label.Right(), right);
        break;
    case TextAlignment::Center:
        QCOMPARE(label.Left() + label.Width() / 2, centre);
        break;
    }
    QVERIFY(label.Right() - label.Left() > right - left);
}

void ReportLabelTest::alignToBandPlacesLabel_data() {
    QTest::addColumn<TextAlignment>("alignment");
    QTest::addColumn<double>("leftInUnitBand"); // left edge as a share of (band - label width)

    QTest::newRow("left goes to 0") << TextAlignment::Left << 0.0;
    QTest::newRow("right edge on the band's right edge") << TextAlignment::Right << 1.0;
    QTest::newRow("centred on the band") << TextAlignment::Center << 0.5;
}

void ReportLabelTest::alignToBandPlacesLabel() {
    QFETCH(TextAlignment, alignment);
    QFETCH(double, leftInUnitBand);

    ReportBand band(BandType::Title, LayoutUnits::DefaultLayoutDpi);
    band.SetWidth(1900);
    ReportLabel& label = band.AddLabel();
    label.SetFont(Arial(16, true));
    label.SetAlignment(alignment);
    label.SetCaption(QStringLiteral("directory listing"));
    label.SetLeft(333);
    const auto expectedLeft = [&] { return (band.Width() - label.Width()) * leftInUnitBand; };

    // Switching it on places the label ...
    label.SetAlignToBand(true);
    QCOMPARE(label.Left(), expectedLeft());
    // ... and so does every change of its size ...
    label.SetCaption(QStringLiteral("a"));
    QCOMPARE(label.Left(), expectedLeft());
    // ... of the band's size ...
    band.SetWidth(633.3);
    QCOMPARE(label.Left(), expectedLeft());
    // ... and of its alignment, from any other alignment.
    label.SetAlignment(alignment == TextAlignment::Left ? TextAlignment::Right
                                                        : TextAlignment::Left);
    label.SetAlignment(alignment);
    QCOMPARE(label.Left(), expectedLeft());
}

void ReportLabelTest::pixelSettersConvertAtLayoutResolution() {
    ReportBand band(BandType::Detail, 120);
    ReportLabel& label = band.AddLabel();
    label.SetLeftPixels(30);
    label.SetHeightPixels(12);
    // 30 pixels of 1/120 inch are a quarter inch, 63.5 tenths of a millimetre.
    QCOMPARE(label.Left(), 63.5);
    QCOMPARE(label.Height(), 25.4);
}

QTEST_MAIN(ReportLabelTest)
#include "ReportLabelTest.moc"
