#include "PageFile.h"
#include "ReportPage.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <bit>
#include <cmath>
#include <limits>

namespace {

using PageList = PageFile::PageList;

constexpr quint32 MaxTextUnits = 65'536;
constexpr qint64 MaxFileBytes = 256 * 1024 * 1024;

// Byte offsets in the encoding of SmallestPage(), as laid down in docs/page-file-format.md:
//   header: magic, version, page count;
//   page:   paper width and height, font count;
//   font:   family length (4), "Sans", point size, weight, style flags;
//           item count (2);
//   fill:   kind, x, y, width, height, colour;
//   text:   kind, x, y, width, height, colour, alignment, font index, text length (2), "Hi";
//   the checksum.
namespace At {
constexpr qsizetype Version = 8;
constexpr qsizetype PageCount = 12;
constexpr qsizetype PaperWidth = 16;
constexpr qsizetype PaperHeight = 24;
constexpr qsizetype FontCount = 32;
constexpr qsizetype FamilyLength = 36;
constexpr qsizetype Family = 40;
constexpr qsizetype PointSize = 44;
constexpr qsizetype Weight = 52;
constexpr qsizetype FontFlags = 54;
constexpr qsizetype ItemCount = 55;
constexpr qsizetype FillKind = 59;
constexpr qsizetype FillX = 60;
constexpr qsizetype FillColour = 92;
constexpr qsizetype TextKind = 96;
constexpr qsizetype TextY = 105;
constexpr qsizetype TextWidth = 113;
constexpr qsizetype Alignment = 133;
constexpr qsizetype FontIndex = 134;
constexpr qsizetype TextLength = 138;
constexpr qsizetype Text = 142;
constexpr qsizetype Checksum = 146;
constexpr qsizetype End = 150;
} // namespace At

QFont MakeFont(const QString& family, double pointSize, int weight, bool italic = false,
               bool underline = false, bool strikeOut = false) {
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeOut);
    return font;
}

// One page with one record of every kind: the fixture whose bytes the bad inputs patch.
std::shared_ptr<ReportPage> SmallestPage() {
    auto page = std::make_shared<ReportPage>();
    page->PaperSize = QSizeF(2100, 2970);
    page->AddFill(QRectF(100, 100, 1900, 40), 0xffffffff);
    page->AddText(QRectF(100, 100, 500, 40), TextAlignment::Left, MakeFont("Sans", 10, 400),
                  0xff000000, "Hi");
    return page;
}

// Every code unit value once, unpaired surrogates, NUL, U+FEFF and U+FFFD among them: exactly
// the longest text the format allows.
QString EveryCodeUnit() {
    QString text(MaxTextUnits, Qt::Uninitialized);
    for (quint32 unit = 0; unit < MaxTextUnits; ++unit)
        text[unit] = QChar(static_cast<char16_t>(unit));
    return text;
}

PageList SeveralPages() {
    const QFont body = MakeFont("DejaVu Sans", 10, 400);
    const QFont caption = MakeFont("Liberation Serif", 10.5, 700, true);
    const QFont odd =
        MakeFont(QString::fromUtf8("Ünïcødé 字体 \uFFFD"), 7.25, 1, false, true, true);
    const QFont leadingMark = MakeFont(QChar(0xFEFF) + QString("Marked"), 1000, 1000, true, true);

    auto portrait = std::make_shared<ReportPage>();
    portrait->PaperSize = QSizeF(2100, 2970);
    portrait->AddFill(QRectF(0.1 + 0.2, -0.0, 1900.05, 40), 0xffffffff);
    portrait->AddText(QRectF(100, 171, 1900, 40), TextAlignment::Center, caption, 0xff000000,
                      "Directory tree");
    portrait->AddText(QRectF(-1e6, 1e6, 0, -3.5), TextAlignment::Right, body, 0x80123456,
                      QString::fromUtf8("Größe – 日本語 😀"));
    portrait->AddFill(QRectF(63.5, 211, 950, 4e-320), 0x00000000);
    portrait->AddText(QRectF(63.5, 211, 950, 40), TextAlignment::Left, odd, 0xffff0000,
                      QString::fromUtf8("bad\uFFFDname"));
    portrait->AddText(QRectF(63.5, 251, 950, 40), TextAlignment::Left, body, 0xff000000, "");
    portrait->AddText(QRectF(63.5, 291, 950, 40), TextAlignment::Left, body, 0xff000000,
                      QString("a") + QChar(u'\0') + QChar(0xD800) + "b" + QChar(0xDC00));
    portrait->AddText(QRectF(63.5, 331, 950, 40), TextAlignment::Right, leadingMark, 0xff000000,
                      EveryCodeUnit());

    // Shares fonts with the first page, as every page of one report does.
    auto landscape = std::make_shared<ReportPage>();
    landscape->PaperSize = QSizeF(2970, 2100);
    landscape->AddText(QRectF(100, 100, 2770, 40), TextAlignment::Center, caption, 0xff000000,
                       "Directory tree");
    landscape->AddText(QRectF(100, 140, 2770, 40), TextAlignment::Left, body, 0xff000000, "x");

    auto blank = std::make_shared<ReportPage>();
    blank->PaperSize = QSizeF(1, 100'000);

    return {portrait, landscape, blank};
}

bool SameDouble(double a, double b) {
    return std::bit_cast<quint64>(a) == std::bit_cast<quint64>(b);
}

bool SameRect(const QRectF& a, const QRectF& b) {
    return SameDouble(a.x(), b.x()) && SameDouble(a.y(), b.y()) &&
           SameDouble(a.width(), b.width()) && SameDouble(a.height(), b.height());
}

QString FontDifference(const QFont& expected, const QFont& actual) {
    if (actual.family() != expected.family())
        return "family";
    if (!SameDouble(actual.pointSizeF(), expected.pointSizeF()))
        return "point size";
    if (actual.weight() != expected.weight())
        return "weight";
    if (actual.italic() != expected.italic())
        return "italic";
    if (actual.underline() != expected.underline())
        return "underline";
    if (actual.strikeOut() != expected.strikeOut())
        return "strike-out";
    return {};
}

QString ItemDifference(const PageItem& expected, const PageItem& actual) {
    if (actual.ItemKind != expected.ItemKind)
        return "kind";
    if (!SameRect(actual.Rect, expected.Rect))
        return "rect";
    if (actual.Colour != expected.Colour)
        return "colour";
    if (actual.Alignment != expected.Alignment)
        return "alignment";
    if (actual.FontIndex != expected.FontIndex)
        return "font index";
    if (actual.Text != expected.Text)
        return "text";
    return {};
}

// Names the first field that differs, exactly (coordinates bit for bit), or returns nothing.
QString PageDifference(const ReportPage& expected, const ReportPage& actual) {
    if (!SameDouble(actual.PaperSize.width(), expected.PaperSize.width()) ||
        !SameDouble(actual.PaperSize.height(), expected.PaperSize.height()))
        return "paper size";
    if (actual.Fonts.size() != expected.Fonts.size())
        return "font count";
    for (std::size_t f = 0; f < expected.Fonts.size(); ++f) {
        if (QString field = FontDifference(expected.Fonts[f], actual.Fonts[f]); !field.isEmpty())
            return QString("font %1 %2").arg(f).arg(field);
    }
    if (actual.Items.size() != expected.Items.size())
        return "item count";
    for (std::size_t i = 0; i < expected.Items.size(); ++i) {
        if (QString field = ItemDifference(expected.Items[i], actual.Items[i]); !field.isEmpty())
            return QString("item %1 %2").arg(i).arg(field);
    }
    return {};
}

// The bytes that Save writes for the pages, or none if it refuses them.
QByteArray SavedBytes(const PageList& pages) {
    QTemporaryDir dir;
    const QString path = dir.filePath("pages.tarnpages");
    if (!PageFile::Save(path, pages).Ok())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

double DoubleAt(const QByteArray& bytes, qsizetype offset) {
    return std::bit_cast<double>(qFromLittleEndian<quint64>(bytes.data() + offset));
}

template <typename T> QByteArray Patched(QByteArray bytes, qsizetype offset, T value) {
    qToLittleEndian(value, bytes.data() + offset);
    return bytes;
}

QByteArray PatchedDouble(const QByteArray& bytes, qsizetype offset, double value) {
    return Patched(bytes, offset, std::bit_cast<quint64>(value));
}

// The check value of this CRC-32 is 0xCBF43926 for "123456789"; written bit by bit here, apart
// from the loader's table-driven one, to hold the file to its written definition.
quint32 ReferenceCrc32(QByteArrayView bytes) {
    quint32 crc = 0xFFFFFFFFu;
    for (char byte : bytes) {
        crc ^= static_cast<quint8>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QStringList EntriesBelow(const QString& root) {
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << it.next();
    entries.sort();
    return entries;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

Q_DECLARE_METATYPE(PageFile::PageList)

class PageFileTest : public QObject {
    Q_OBJECT

private slots:
    void roundTripKeepsEveryField();
    void writesTheDocumentedLayout();
    void refusesBadInput_data();
    void refusesBadInput();
    void refusesEveryTruncation();
    void refusesEveryOneByteChange();
    void loadOfMissingFileNamesIt();
    void loadOfDirectoryFails();
    void loadRefusesOversizedFileBySize();
    void saveRefusesPagesThatCannotBeLoaded_data();
    void saveRefusesPagesThatCannotBeLoaded();
    void saveToUnwritablePlaceLeavesNothing_data();
    void saveToUnwritablePlaceLeavesNothing();
};

void PageFileTest::roundTripKeepsEveryField() {
    QTemporaryDir dir;
    const QString path = dir.filePath("report.tarnpages");
    const PageList pages = SeveralPages();

    const PageFile::SaveResult saved = PageFile::Save(path, pages);
    QVERIFY2(saved.Ok(), qPrintable(saved.Error));
    const PageFile::LoadResult loaded = PageFile::Load(path);
    QVERIFY2(loaded.Ok(), qPrintable(loaded.Error));

    QCOMPARE(loaded.Pages.size(), pages.size());
    for (std::size_t p = 0; p < pages.size(); ++p)
        QCOMPARE(PageDifference(*pages[p], *loaded.Pages[p]), QString());
    // A second save of what was loaded gives the same bytes: nothing drifts from load to load.
    QCOMPARE(SavedBytes(loaded.Pages), ReadFile(path));
}

void PageFileTest::writesTheDocumentedLayout() {
    const QByteArray bytes = SavedBytes({SmallestPage()});
    QCOMPARE(bytes.size(), At::End);
    QCOMPARE(bytes.first(8), QByteArray("TARNPAGE"));
    QCOMPARE(qFromLittleEndian<quint32>(bytes.data() + At::Version), 1u);
    QCOMPARE(qFromLittleEndian<quint32>(bytes.data() + At::PageCount), 1u);
    QVERIFY(SameDouble(DoubleAt(bytes, At::PaperWidth), 2100));
    QVERIFY(SameDouble(DoubleAt(bytes, At::PaperHeight), 2970));
    QCOMPARE(qFromLittleEndian<quint32>(bytes.data() + At::FontCount), 1u);
    QCOMPARE(qFromLittleEndian<quint32>(bytes.data() + At::FamilyLength), 4u);
    QCOMPARE(bytes.mid(At::Family, 4), QByteArray("Sans"));
    QVERIFY(SameDouble(DoubleAt(bytes, At::PointSize), 10));
    QCOMPARE(qFromLittleEndian<quint16>(bytes.data() + At::Weight), quint16(400));
    QCOMPARE(bytes.at(At::FontFlags), '\0');
    QCOMPARE(qFromLittleEndian<quint32>(bytes.data() + At::ItemCount), 2u);
    QCOMPARE(bytes.at(At::FillKind), '\0');
    QCOMPARE(qFromLittleEndian<quint32>(bytes.data() + At::FillColour), 0xffffffffu);
    QCOMPARE(bytes.at(At::TextKind), '\1');
    QCOMPARE(bytes.at(At::Alignment), '\0');
    QCOMPARE(qFromLittleEndian<quint32>(bytes.data() + At::FontIndex), 0u);
    QCOMPARE(qFromLittleEndian<quint32>(bytes.data() + At::TextLength), 2u);
    QCOMPARE(bytes.mid(At::Text, 4), QByteArray("H\0i\0", 4));
    QCOMPARE(qFromLittleEndian<quint32>(bytes.data() + At::Checksum),
             ReferenceCrc32(bytes.first(At::Checksum)));
}

void PageFileTest::refusesBadInput_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("reason");

    const QByteArray valid = SavedBytes({SmallestPage()});
    QCOMPARE(valid.size(), At::End);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();

    QTest::newRow("empty file") << QByteArray() << "empty file";
    QTest::newRow("foreign file") << QByteArray("%PDF-1.7\n%\xe2\xe3\xcf\xd3\n")
                                  << "not a tarn page file";
    QTest::newRow("wrong magic") << Patched<quint8>(valid, 0, 'X') << "not a tarn page file";
    QTest::newRow("version 0") << Patched<quint32>(valid, At::Version, 0)
                               << "unsupported version 0";
    QTest::newRow("version 2") << Patched<quint32>(valid, At::Version, 2)
                               << "unsupported version 2";

    QTest::newRow("no pages") << Patched<quint32>(valid, At::PageCount, 0) << "damaged: no pages";
    QTest::newRow("huge page count")
        << Patched<quint32>(valid, At::PageCount, 0xffffffff) << "too large: page count 4294967295";
    // Within the limit, but 100 pages cannot fit in the 134 bytes after the header.
    QTest::newRow("page count beyond the data")
        << Patched<quint32>(valid, At::PageCount, 100) << "truncated: page count 100";
    QTest::newRow("one page more than there are")
        << Patched<quint32>(valid, At::PageCount, 2) << "truncated at byte 150";

    QTest::newRow("paper width NaN")
        << PatchedDouble(valid, At::PaperWidth, nan) << "damaged: page 1: paper size";
    QTest::newRow("paper height zero")
        << PatchedDouble(valid, At::PaperHeight, 0) << "damaged: page 1: paper size";
    QTest::newRow("paper height negative")
        << PatchedDouble(valid, At::PaperHeight, -2970) << "damaged: page 1: paper size";

    QTest::newRow("huge font count") << Patched<quint32>(valid, At::FontCount, 0xffffffff)
                                     << "too large: page 1: font count 4294967295";
    QTest::newRow("font count beyond the data")
        << Patched<quint32>(valid, At::FontCount, 200) << "truncated: page 1: font count 200";
    QTest::newRow("huge family length") << Patched<quint32>(valid, At::FamilyLength, 0xffffffff)
                                        << "too large: page 1, font 1: family length 4294967295";
    QTest::newRow("family length beyond the data")
        << Patched<quint32>(valid, At::FamilyLength, 1000)
        << "truncated: page 1, font 1: family length 1000";
    QTest::newRow("family not UTF-8") << Patched<quint8>(valid, At::Family + 1, 0xff)
                                      << "damaged: page 1, font 1: family name is not valid UTF-8";
    QTest::newRow("family cut inside a character")
        << Patched<quint8>(valid, At::Family + 3, 0xc3)
        << "damaged: page 1, font 1: family name is not valid UTF-8";
    QTest::newRow("point size NaN")
        << PatchedDouble(valid, At::PointSize, nan) << "damaged: page 1, font 1: point size";
    QTest::newRow("point size zero")
        << PatchedDouble(valid, At::PointSize, 0) << "damaged: page 1, font 1: point size";
    QTest::newRow("weight 0") << Patched<quint16>(valid, At::Weight, 0)
                              << "damaged: page 1, font 1: weight 0";
    QTest::newRow("weight 1001") << Patched<quint16>(valid, At::Weight, 1001)
                                 << "damaged: page 1, font 1: weight 1001";
    QTest::newRow("unknown style flag") << Patched<quint8>(valid, At::FontFlags, 0x08)
                                        << "damaged: page 1, font 1: unknown style flags 8";

    QTest::newRow("huge item count") << Patched<quint32>(valid, At::ItemCount, 0xffffffff)
                                     << "too large: page 1: item count 4294967295";
    QTest::newRow("item count beyond the data")
        << Patched<quint32>(valid, At::ItemCount, 1000) << "truncated: page 1: item count 1000";
    QTest::newRow("unknown item kind") << Patched<quint8>(valid, At::FillKind, 2)
                                       << "damaged: page 1, item 1: unknown item kind 2";
    QTest::newRow("x NaN") << PatchedDouble(valid, At::FillX, nan)
                           << "damaged: page 1, item 1: coordinate not finite";
    QTest::newRow("y infinite") << PatchedDouble(valid, At::TextY, -infinity)
                                << "damaged: page 1, item 2: coordinate not finite";
    QTest::newRow("width out of range") << PatchedDouble(valid, At::TextWidth, 1e7)
                                        << "damaged: page 1, item 2: coordinate not finite";
    QTest::newRow("unknown alignment") << Patched<quint8>(valid, At::Alignment, 3)
                                       << "damaged: page 1, item 2: unknown alignment 3";
    QTest::newRow("font index past the table")
        << Patched<quint32>(valid, At::FontIndex, 1)
        << "damaged: page 1, item 2: font index 1 outside the page's 1 fonts";
    QTest::newRow("huge text length") << Patched<quint32>(valid, At::TextLength, 0xffffffff)
                                      << "too large: page 1, item 2: text length 4294967295";
    QTest::newRow("text length beyond the data") << Patched<quint32>(valid, At::TextLength, 100)
                                                 << "truncated: page 1, item 2: text length 100";

    // Damage that leaves every field valid is caught by the checksum.
    QTest::newRow("text changed") << Patched<quint8>(valid, At::Text, 'J')
                                  << "damaged: checksum mismatch";
    QTest::newRow("colour changed")
        << Patched<quint8>(valid, At::FillColour, 0) << "damaged: checksum mismatch";
    QTest::newRow("trailing garbage") << valid + "xyz"
                                      << "damaged: 3 bytes after the end";
    QTest::newRow("file twice") << valid + valid << "damaged: 150 bytes after the end";
}

void PageFileTest::refusesBadInput() {
    QFETCH(QByteArray, input);
    QFETCH(QString, reason);

    const PageFile::LoadResult loaded = PageFile::LoadFromBytes(input, "bad.tarnpages");
    QVERIFY(!loaded.Ok());
    QVERIFY(loaded.Pages.empty());
    QVERIFY2(loaded.Error.startsWith("Cannot load \"bad.tarnpages\": " + reason),
             qPrintable(loaded.Error));
    QVERIFY(!loaded.Error.contains('\n'));
}

void PageFileTest::refusesEveryTruncation() {
    const QByteArray valid = SavedBytes({SmallestPage()});
    QCOMPARE(valid.size(), At::End);
    for (qsizetype size = 1; size < valid.size(); ++size) {
        const PageFile::LoadResult loaded = PageFile::LoadFromBytes(valid.first(size), "cut");
        QVERIFY2(loaded.Error.contains("truncated"), qPrintable(QString::number(size)));
        QVERIFY(loaded.Pages.empty());
    }
}

// The checksum detects every change of one byte that the field checks let through.
void PageFileTest::refusesEveryOneByteChange() {
    const QByteArray valid = SavedBytes({SmallestPage()});
    QCOMPARE(valid.size(), At::End);
    for (qsizetype offset = 0; offset < valid.size(); ++offset) {
        for (const quint8 flip : {0x01, 0x80, 0xff}) {
            QByteArray changed = valid;
            changed[offset] = static_cast<char>(changed[offset] ^ flip);
            const PageFile::LoadResult loaded = PageFile::LoadFromBytes(changed, "changed");
            QVERIFY2(!loaded.Ok() && loaded.Pages.empty(),
                     qPrintable(QString("offset %1, flip %2").arg(offset).arg(flip)));
        }
    }
}

void PageFileTest::loadOfMissingFileNamesIt() {
    QTemporaryDir dir;
    const QString path = dir.filePath("missing.tarnpages");
    const PageFile::LoadResult loaded = PageFile::Load(path);
    QVERIFY(!loaded.Ok());
    QVERIFY(loaded.Pages.empty());
    QVERIFY2(loaded.Error.startsWith("Cannot load \"" + QDir::toNativeSeparators(path) + "\": "),
             qPrintable(loaded.Error));
    QVERIFY(!loaded.Error.contains('\n'));
}

void PageFileTest::loadOfDirectoryFails() {
    QTemporaryDir dir;
    const PageFile::LoadResult loaded = PageFile::Load(dir.path());
    QVERIFY(!loaded.Ok());
    QVERIFY(loaded.Pages.empty());
    QVERIFY2(loaded.Error.contains(QDir::toNativeSeparators(dir.path())), qPrintable(loaded.Error));
}

// A sparse file just over the limit: refused by its size, before a byte of it is read.
void PageFileTest::loadRefusesOversizedFileBySize() {
    QTemporaryDir dir;
    const QString path = dir.filePath("huge.tarnpages");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write(SavedBytes({SmallestPage()})) == At::End);
    QVERIFY(file.resize(MaxFileBytes + 1));
    file.close();

    const PageFile::LoadResult loaded = PageFile::Load(path);
    QVERIFY(loaded.Pages.empty());
    QVERIFY2(loaded.Error.endsWith("\": too large: more than 268435456 bytes"),
             qPrintable(loaded.Error));
}

void PageFileTest::saveRefusesPagesThatCannotBeLoaded_data() {
    QTest::addColumn<PageList>("pages");
    QTest::addColumn<QString>("reason");

    const auto withItem = [](auto addItem) {
        auto page = SmallestPage();
        addItem(*page);
        return PageList{page};
    };
    QFont pixelSized("Sans");
    pixelSized.setPixelSize(12);

    QTest::newRow("no pages") << PageList{} << "no pages to save";
    QTest::newRow("null page") << PageList{SmallestPage(), nullptr} << "page 2: missing";
    QTest::newRow("paper size zero")
        << withItem([](ReportPage& page) { page.PaperSize = QSizeF(0, 2970); })
        << "page 1: paper size out of range";
    QTest::newRow("NaN coordinate") << withItem([](ReportPage& page) {
        page.AddFill(QRectF(0, std::nan(""), 10, 10), 0xffffffff);
    }) << "page 1, item 3: coordinate not finite or out of range";
    QTest::newRow("font index past the table")
        << withItem([](ReportPage& page) { page.Items.back().FontIndex = 1; })
        << "page 1, item 2: font index 1 outside the page's 1 fonts";
    QTest::newRow("text too long") << withItem([](ReportPage& page) {
        page.Items.back().Text = QString(MaxTextUnits + 1, 'x');
    }) << "page 1, item 2: text longer than 65536 UTF-16 code units";
    QTest::newRow("font in pixels") << withItem([&pixelSized](ReportPage& page) {
        page.AddText(QRectF(0, 0, 10, 10), TextAlignment::Left, pixelSized, 0, "px");
    }) << "page 1, font 2: point size out of range";
}

// Checks come before the file is opened, so an earlier file under the name stays as it was.
void PageFileTest::saveRefusesPagesThatCannotBeLoaded() {
    QFETCH(PageList, pages);
    QFETCH(QString, reason);

    QTemporaryDir dir;
    const QString path = dir.filePath("report.tarnpages");
    const QByteArray earlier = SavedBytes({SmallestPage()});
    WriteFile(path, earlier);

    const PageFile::SaveResult saved = PageFile::Save(path, pages);
    QVERIFY(!saved.Ok());
    QCOMPARE(saved.Error, "Cannot save \"" + QDir::toNativeSeparators(path) + "\": " + reason);
    QCOMPARE(ReadFile(path), earlier);
    QCOMPARE(EntriesBelow(dir.path()), QStringList{path});
}

void PageFileTest::saveToUnwritablePlaceLeavesNothing_data() {
    QTest::addColumn<QString>("target"); // relative to a fresh directory holding "file" and "dir"
    // Root may write anywhere, so the cases are ones that permissions do not decide.
    QTest::newRow("missing directory") << "missing/report.tarnpages";
    QTest::newRow("below a file") << "file/report.tarnpages";
    QTest::newRow("a directory") << "dir";
}

void PageFileTest::saveToUnwritablePlaceLeavesNothing() {
    QFETCH(QString, target);

    QTemporaryDir dir;
    WriteFile(dir.filePath("file"), "not a directory");
    QVERIFY(QDir(dir.path()).mkdir("dir"));
    const QStringList before = EntriesBelow(dir.path());
    const QString path = dir.filePath(target);

    const PageFile::SaveResult saved = PageFile::Save(path, {SmallestPage()});
    QVERIFY(!saved.Ok());
    QVERIFY2(saved.Error.startsWith("Cannot save \"" + QDir::toNativeSeparators(path) + "\": "),
             qPrintable(saved.Error));
    QVERIFY(!saved.Error.contains('\n'));
    QCOMPARE(EntriesBelow(dir.path()), before);
}

QTEST_MAIN(PageFileTest)
#include "PageFileTest.moc"
