#include "PageFile.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSaveFile>
#include <QSet>
#include <QStringDecoder>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <optional>
#include <variant>

namespace {

// Fixed values and limits of format version 1; docs/page-file-format.md gives the reasons.
constexpr QByteArrayView Magic("TARNPAGE");
constexpr quint32 FormatVersion = 1;

constexpr qint64 MaxFileBytes = 256 * 1024 * 1024;
constexpr quint32 MaxPages = 100'000;
constexpr quint32 MaxFontsPerPage = 256;
constexpr qsizetype MaxDistinctFonts = 4096;
constexpr quint32 MaxItemsPerPage = 1'000'000;
constexpr quint32 MaxFamilyBytes = 1024;
constexpr quint32 MaxTextUnits = 65'536;
constexpr double MaxPaperExtent = 100'000; // 10 m in tenths of a millimetre
constexpr double MaxCoordinate = 1'000'000;
constexpr double MaxPointSize = 1000;
constexpr int MinWeight = 1;
constexpr int MaxWeight = 1000;

// The smallest encoding of each record. A count is checked against them before it sizes an
// allocation, so memory stays proportional to the input's length.
constexpr qint64 MinPageBytes = 2 * 8 + 4 + 4;
constexpr qint64 MinFontBytes = 4 + 8 + 2 + 1;
constexpr qint64 MinItemBytes = 1 + 4 * 8 + 4;

// Record codes belong to the format, not to the enumerators of ReportPage.h, whose order may
// change without changing a file.
constexpr quint8 KindFill = 0;
constexpr quint8 KindText = 1;
constexpr quint8 AlignLeft = 0;
constexpr quint8 AlignRight = 1;
constexpr quint8 AlignCenter = 2;
constexpr quint8 FontItalic = 0x01;
constexpr quint8 FontUnderline = 0x02;
constexpr quint8 FontStrikeOut = 0x04;
constexpr quint8 KnownFontFlags = FontItalic | FontUnderline | FontStrikeOut;

using PageList = PageFile::PageList;

// --- field rules shared by the writer and the reader, so that every saved file loads ----------

bool IsPaperExtent(double value) {
    return value > 0 && value <= MaxPaperExtent;
}
bool IsCoordinate(double value) {
    return std::isfinite(value) && std::abs(value) <= MaxCoordinate;
}
bool IsPointSize(double value) {
    return value > 0 && value <= MaxPointSize;
}
bool IsWeight(int value) {
    return value >= MinWeight && value <= MaxWeight;
}

bool IsRect(const QRectF& rect) {
    return IsCoordinate(rect.x()) && IsCoordinate(rect.y()) && IsCoordinate(rect.width()) &&
           IsCoordinate(rect.height());
}

std::optional<quint8> KindCode(PageItem::Kind kind) {
    switch (kind) {
    case PageItem::Kind::Fill:
        return KindFill;
    case PageItem::Kind::Text:
        return KindText;
    }
    return std::nullopt;
}

std::optional<PageItem::Kind> KindFromCode(quint8 code) {
    switch (code) {
    case KindFill:
        return PageItem::Kind::Fill;
    case KindText:
        return PageItem::Kind::Text;
    }
    return std::nullopt;
}

std::optional<quint8> AlignmentCode(TextAlignment alignment) {
    switch (alignment) {
    case TextAlignment::Left:
        return AlignLeft;
    case TextAlignment::Right:
        return AlignRight;
    case TextAlignment::Center:
        return AlignCenter;
    }
    return std::nullopt;
}

std::optional<TextAlignment> AlignmentFromCode(quint8 code) {
    switch (code) {
    case AlignLeft:
        return TextAlignment::Left;
    case AlignRight:
        return TextAlignment::Right;
    case AlignCenter:
        return TextAlignment::Center;
    }
    return std::nullopt;
}

QString PageWhere(quint32 page) {
    return QStringLiteral("page %1: ").arg(page);
}
QString FontWhere(quint32 page, quint32 font) {
    return QStringLiteral("page %1, font %2: ").arg(page).arg(font);
}
QString ItemWhere(quint32 page, quint32 item) {
    return QStringLiteral("page %1, item %2: ").arg(page).arg(item);
}

QString TooManyFontsReason() {
    return QStringLiteral("too large: more than %1 different fonts").arg(MaxDistinctFonts);
}
QString FileTooLargeReason() {
    return QStringLiteral("too large: more than %1 bytes").arg(MaxFileBytes);
}

// The CRC-32 of zlib and PNG (reflected polynomial 0xEDB88320), so that any tool can check a file.
constexpr std::array<quint32, 256> MakeCrc32Table() {
    std::array<quint32, 256> table{};
    for (quint32 n = 0; n < table.size(); ++n) {
        quint32 c = n;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}
constexpr std::array<quint32, 256> Crc32Table = MakeCrc32Table();

quint32 Crc32(QByteArrayView bytes) {
    quint32 crc = 0xFFFFFFFFu;
    for (char byte : bytes)
        crc = Crc32Table[(crc ^ static_cast<quint8>(byte)) & 0xFFu] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

// --- writing --------------------------------------------------------------------------------

class ByteWriter {
public:
    void U8(quint8 value) { bytes.append(static_cast<char>(value)); }
    void U16(quint16 value) { AppendLittleEndian(value); }
    void U32(quint32 value) { AppendLittleEndian(value); }
    void F64(double value) { AppendLittleEndian(std::bit_cast<quint64>(value)); }
    void Raw(QByteArrayView raw) { bytes.append(raw); }
    void Utf16(const QString& text) {
        const qsizetype start = bytes.size();
        bytes.resize(start + 2 * text.size());
        qToLittleEndian<quint16>(text.utf16(), text.size(), bytes.data() + start);
    }

    qsizetype Size() const { return bytes.size(); }
    QByteArrayView View() const { return bytes; }
    QByteArray Take() { return std::move(bytes); }

private:
    template <typename T> void AppendLittleEndian(T value) {
        char raw[sizeof(T)];
        qToLittleEndian(value, raw);
        bytes.append(raw, sizeof(T));
    }

    QByteArray bytes;
};

// Checks the pages against the format's rules while it writes them; the first rule broken is
// the reason, and no bytes are kept.
class PageEncoder {
public:
    // Returns the reason the pages cannot be written, or nothing when Take() holds the file.
    std::optional<QString> Encode(const PageList& pages);
    QByteArray Take() { return out.Take(); }

private:
    std::optional<QString> EncodePage(quint32 pageNo, const ReportPage& page);
    std::optional<QString> EncodeFont(quint32 pageNo, quint32 fontNo, const QFont& font);
    std::optional<QString> EncodeItem(quint32 pageNo, quint32 itemNo, const PageItem& item,
                                      std::size_t fontCount);

    ByteWriter out;
    QSet<QByteArray> distinctFonts; // the reader's limit counts distinct font records
};

std::optional<QString> PageEncoder::Encode(const PageList& pages) {
    if (pages.empty())
        return QStringLiteral("no pages to save");
    if (pages.size() > MaxPages)
        return QStringLiteral("too large: %1 pages, at most %2").arg(pages.size()).arg(MaxPages);
    out.Raw(Magic);
    out.U32(FormatVersion);
    out.U32(static_cast<quint32>(pages.size()));
    for (std::size_t p = 0; p < pages.size(); ++p) {
        const auto pageNo = static_cast<quint32>(p + 1);
        if (!pages[p])
            return PageWhere(pageNo) + QStringLiteral("missing");
        if (auto reason = EncodePage(pageNo, *pages[p]))
            return reason;
        if (out.Size() > MaxFileBytes)
            return FileTooLargeReason();
    }
    out.U32(Crc32(out.View()));
    if (out.Size() > MaxFileBytes)
        return FileTooLargeReason();
    return std::nullopt;
}

std::optional<QString> PageEncoder::EncodePage(quint32 pageNo, const ReportPage& page) {
    if (!IsPaperExtent(page.PaperSize.width()) || !IsPaperExtent(page.PaperSize.height()))
        return PageWhere(pageNo) + QStringLiteral("paper size out of range");
    if (page.Fonts.size() > MaxFontsPerPage)
        return PageWhere(pageNo) +
               QStringLiteral("%1 fonts, at most %2").arg(page.Fonts.size()).arg(MaxFontsPerPage);
    if (page.Items.size() > MaxItemsPerPage)
        return PageWhere(pageNo) +
               QStringLiteral("%1 items, at most %2").arg(page.Items.size()).arg(MaxItemsPerPage);
    out.F64(page.PaperSize.width());
    out.F64(page.PaperSize.height());
    out.U32(static_cast<quint32>(page.Fonts.size()));
    for (std::size_t f = 0; f < page.Fonts.size(); ++f) {
        if (auto reason = EncodeFont(pageNo, static_cast<quint32>(f + 1), page.Fonts[f]))
            return reason;
    }
    out.U32(static_cast<quint32>(page.Items.size()));
    for (std::size_t i = 0; i < page.Items.size(); ++i) {
        if (auto reason =
                EncodeItem(pageNo, static_cast<quint32>(i + 1), page.Items[i], page.Fonts.size()))
            return reason;
    }
    return std::nullopt;
}

std::optional<QString> PageEncoder::EncodeFont(quint32 pageNo, quint32 fontNo, const QFont& font) {
    const QByteArray family = font.family().toUtf8();
    if (family.size() > MaxFamilyBytes)
        return FontWhere(pageNo, fontNo) +
               QStringLiteral("family name longer than %1 bytes").arg(MaxFamilyBytes);
    // A font sized in pixels reports no point size (-1): the page would not print the same.
    if (!IsPointSize(font.pointSizeF()))
        return FontWhere(pageNo, fontNo) + QStringLiteral("point size out of range");
    if (!IsWeight(font.weight()))
        return FontWhere(pageNo, fontNo) + QStringLiteral("weight out of range");
    const quint8 flags = (font.italic() ? FontItalic : 0) | (font.underline() ? FontUnderline : 0) |
                         (font.strikeOut() ? FontStrikeOut : 0);

    ByteWriter record;
    record.U32(static_cast<quint32>(family.size()));
    record.Raw(family);
    record.F64(font.pointSizeF());
    record.U16(static_cast<quint16>(font.weight()));
    record.U8(flags);
    QByteArray bytes = record.Take();
    out.Raw(bytes);
    distinctFonts.insert(std::move(bytes));
    if (distinctFonts.size() > MaxDistinctFonts)
        return TooManyFontsReason();
    return std::nullopt;
}

std::optional<QString> PageEncoder::EncodeItem(quint32 pageNo, quint32 itemNo, const PageItem& item,
                                               std::size_t fontCount) {
    const std::optional<quint8> kind = KindCode(item.ItemKind);
    if (!kind)
        return ItemWhere(pageNo, itemNo) + QStringLiteral("unknown item kind");
    if (!IsRect(item.Rect))
        return ItemWhere(pageNo, itemNo) + QStringLiteral("coordinate not finite or out of range");
    out.U8(*kind);
    out.F64(item.Rect.x());
    out.F64(item.Rect.y());
    out.F64(item.Rect.width());
    out.F64(item.Rect.height());
    out.U32(item.Colour);
    if (*kind == KindFill)
        return std::nullopt;

    const std::optional<quint8> alignment = AlignmentCode(item.Alignment);
    if (!alignment)
        return ItemWhere(pageNo, itemNo) + QStringLiteral("unknown alignment");
    if (item.FontIndex >= fontCount)
        return ItemWhere(pageNo, itemNo) +
               QStringLiteral("font index %1 outside the page's %2 fonts")
                   .arg(item.FontIndex)
                   .arg(fontCount);
    if (item.Text.size() > MaxTextUnits)
        return ItemWhere(pageNo, itemNo) +
               QStringLiteral("text longer than %1 UTF-16 code units").arg(MaxTextUnits);
    out.U8(*alignment);
    out.U32(item.FontIndex);
    out.U32(static_cast<quint32>(item.Text.size()));
    out.Utf16(item.Text);
    return std::nullopt;
}

// --- reading --------------------------------------------------------------------------------

// Reads little-endian fields from a byte range; a read that does not fit fails and consumes
// nothing.
class ByteReader {
public:
    explicit ByteReader(QByteArrayView bytes) : bytes(bytes) {}

    qsizetype Offset() const { return offset; }
    qsizetype Remaining() const { return bytes.size() - offset; }

    bool Read(quint8& value) { return ReadLittleEndian(value); }
    bool Read(quint16& value) { return ReadLittleEndian(value); }
    bool Read(quint32& value) { return ReadLittleEndian(value); }
    bool Read(double& value) {
        quint64 raw = 0;
        if (!ReadLittleEndian(raw))
            return false;
        value = std::bit_cast<double>(raw);
        return true;
    }
    bool ReadRaw(qsizetype size, QByteArrayView& raw) {
        if (size < 0 || size > Remaining())
            return false;
        raw = bytes.sliced(offset, size);
        offset += size;
        return true;
    }

private:
    template <typename T> bool ReadLittleEndian(T& value) {
        if (Remaining() < qsizetype(sizeof(T)))
            return false;
        value = qFromLittleEndian<T>(bytes.data() + offset);
        offset += sizeof(T);
        return true;
    }

    QByteArrayView bytes;
    qsizetype offset = 0;
};

// Decodes a whole file. Every Read... function returns false after recording the first reason
// the input is refused; nothing it built is handed out then.
class PageDecoder {
public:
    explicit PageDecoder(QByteArrayView bytes) : whole(bytes), in(bytes) {}

    // The pages, or the reason (one line, without the file's name) the input is refused.
    std::variant<PageList, QString> Decode();

private:
    bool ReadHeader(quint32& pageCount);
    bool ReadPage(quint32 pageNo, ReportPage& page);
    bool ReadFont(quint32 pageNo, quint32 fontNo, QFont& font);
    bool ReadItem(quint32 pageNo, quint32 itemNo, std::size_t fontCount, PageItem& item);
    bool ReadChecksum();

    template <typename T> bool Read(T& value) { return in.Read(value) || Truncated(); }
    bool CheckCount(quint32 count, quint32 limit, qint64 minBytesEach, const QString& what);

    bool Fail(QString reason) {
        failure = std::move(reason);
        return false;
    }
    bool Damaged(const QString& reason) { return Fail(QStringLiteral("damaged: ") + reason); }
    bool Truncated() { return Fail(QStringLiteral("truncated at byte %1").arg(whole.size())); }

    QByteArrayView whole;
    ByteReader in;
    QHash<QByteArray, QFont> fontsByRecord; // equal records share one QFont across all pages
    QString failure;
};

std::variant<PageList, QString> PageDecoder::Decode() {
    quint32 pageCount = 0;
    if (!ReadHeader(pageCount))
        return failure;
    PageList pages;
    pages.reserve(pageCount);
    for (quint32 pageNo = 1; pageNo <= pageCount; ++pageNo) {
        auto page = std::make_shared<ReportPage>();
        if (!ReadPage(pageNo, *page))
            return failure;
        pages.push_back(std::move(page));
    }
    if (!ReadChecksum())
        return failure;
    return pages;
}

bool PageDecoder::ReadHeader(quint32& pageCount) {
    if (whole.isEmpty())
        return Fail(QStringLiteral("empty file"));
    const QByteArrayView head = whole.first(std::min(whole.size(), Magic.size()));
    if (!Magic.startsWith(head))
        return Fail(QStringLiteral("not a tarn page file"));
    QByteArrayView magic;
    if (!in.ReadRaw(Magic.size(), magic))
        return Truncated();
    quint32 version = 0;
    if (!Read(version))
        return false;
    if (version != FormatVersion)
        return Fail(QStringLiteral("unsupported version %1").arg(version));
    if (!Read(pageCount))
        return false;
    if (pageCount == 0)
        return Damaged(QStringLiteral("no pages"));
    return CheckCount(pageCount, MaxPages, MinPageBytes, QStringLiteral("page count"));
}

bool PageDecoder::CheckCount(quint32 count, quint32 limit, qint64 minBytesEach,
                             const QString& what) {
    if (count > limit)
        return Fail(QStringLiteral("too large: %1 %2, at most %3").arg(what).arg(count).arg(limit));
    const qint64 needed = qint64(count) * minBytesEach;
    if (needed > in.Remaining())
        return Fail(QStringLiteral("truncated: %1 %2 needs at least %3 bytes, %4 remain")
                        .arg(what)
                        .arg(count)
                        .arg(needed)
                        .arg(in.Remaining()));
    return true;
}

bool PageDecoder::ReadPage(quint32 pageNo, ReportPage& page) {
    double width = 0;
    double height = 0;
    if (!Read(width) || !Read(height))
        return false;
    if (!IsPaperExtent(width) || !IsPaperExtent(height))
        return Damaged(PageWhere(pageNo) + QStringLiteral("paper size out of range"));
    page.PaperSize = QSizeF(width, height);

    quint32 fontCount = 0;
    if (!Read(fontCount) ||
        !CheckCount(fontCount, MaxFontsPerPage, MinFontBytes, PageWhere(pageNo) + "font count"))
        return false;
    page.Fonts.reserve(fontCount);
    for (quint32 fontNo = 1; fontNo <= fontCount; ++fontNo) {
        QFont font;
        if (!ReadFont(pageNo, fontNo, font))
            return false;
        page.Fonts.push_back(std::move(font));
    }

    quint32 itemCount = 0;
    if (!Read(itemCount) ||
        !CheckCount(itemCount, MaxItemsPerPage, MinItemBytes, PageWhere(pageNo) + "item count"))
        return false;
    page.Items.reserve(itemCount);
    for (quint32 itemNo = 1; itemNo <= itemCount; ++itemNo) {
        PageItem item;
        if (!ReadItem(pageNo, itemNo, fontCount, item))
            return false;
        page.Items.push_back(std::move(item));
    }
    return true;
}

bool PageDecoder::ReadFont(quint32 pageNo, quint32 fontNo, QFont& font) {
    const qsizetype start = in.Offset();
    const QString where = FontWhere(pageNo, fontNo);
    quint32 familyBytes = 0;
    QByteArrayView familyUtf8;
    if (!Read(familyBytes) || !CheckCount(familyBytes, MaxFamilyBytes, 1, where + "family length"))
        return false;
    if (!in.ReadRaw(familyBytes, familyUtf8))
        return Truncated();
    double pointSize = 0;
    quint16 weight = 0;
    quint8 flags = 0;
    if (!Read(pointSize) || !Read(weight) || !Read(flags))
        return false;
    if (!IsPointSize(pointSize))
        return Damaged(where + QStringLiteral("point size out of range"));
    if (!IsWeight(weight))
        return Damaged(where + QStringLiteral("weight %1 out of range").arg(weight));
    if ((flags & ~KnownFontFlags) != 0)
        return Damaged(where + QStringLiteral("unknown style flags %1").arg(flags));

    // Only records that passed every check are in the map, so a hit needs no second decoding.
    const QByteArray record = whole.sliced(start, in.Offset() - start).toByteArray();
    if (const auto known = fontsByRecord.constFind(record); known != fontsByRecord.cend()) {
        font = *known;
        return true;
    }
    if (fontsByRecord.size() >= MaxDistinctFonts)
        return Fail(TooManyFontsReason());
    // Stateless: a sequence cut at the end is an error; a leading U+FEFF is part of the name.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString family = utf8.decode(familyUtf8);
    if (utf8.hasError())
        return Damaged(where + QStringLiteral("family name is not valid UTF-8"));
    font.setFamily(family);
    font.setPointSizeF(pointSize);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(flags & FontItalic);
    font.setUnderline(flags & FontUnderline);
    font.setStrikeOut(flags & FontStrikeOut);
    fontsByRecord.insert(record, font);
    return true;
}

bool PageDecoder::ReadItem(quint32 pageNo, quint32 itemNo, std::size_t fontCount, PageItem& item) {
    const QString where = ItemWhere(pageNo, itemNo);
    quint8 kindCode = 0;
    if (!Read(kindCode))
        return false;
    const std::optional<PageItem::Kind> kind = KindFromCode(kindCode);
    if (!kind)
        return Damaged(where + QStringLiteral("unknown item kind %1").arg(kindCode));
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    quint32 colour = 0;
    if (!Read(x) || !Read(y) || !Read(width) || !Read(height) || !Read(colour))
        return false;
    const QRectF rect(x, y, width, height);
    if (!IsRect(rect))
        return Damaged(where + QStringLiteral("coordinate not finite or out of range"));
    item.ItemKind = *kind;
    item.Rect = rect;
    item.Colour = colour;
    if (*kind == PageItem::Kind::Fill)
        return true;

    quint8 alignmentCode = 0;
    quint32 fontIndex = 0;
    quint32 units = 0;
    if (!Read(alignmentCode) || !Read(fontIndex))
        return false;
    const std::optional<TextAlignment> alignment = AlignmentFromCode(alignmentCode);
    if (!alignment)
        return Damaged(where + QStringLiteral("unknown alignment %1").arg(alignmentCode));
    if (fontIndex >= fontCount)
        return Damaged(where + QStringLiteral("font index %1 outside the page's %2 fonts")
                                   .arg(fontIndex)
                                   .arg(fontCount));
    QByteArrayView utf16;
    if (!Read(units) || !CheckCount(units, MaxTextUnits, 2, where + "text length"))
        return false;
    if (!in.ReadRaw(2 * qsizetype(units), utf16))
        return Truncated();
    item.Alignment = *alignment;
    item.FontIndex = fontIndex;
    // Code units are copied as they are, unpaired surrogates included, so every text round-trips.
    item.Text = QString(units, Qt::Uninitialized);
    qFromLittleEndian<quint16>(utf16.data(), units, item.Text.data());
    return true;
}

bool PageDecoder::ReadChecksum() {
    const qsizetype covered = in.Offset();
    quint32 stored = 0;
    if (!Read(stored))
        return false;
    if (in.Remaining() > 0)
        return Damaged(QStringLiteral("%1 bytes after the end of the data").arg(in.Remaining()));
    if (stored != Crc32(whole.first(covered)))
        return Damaged(QStringLiteral("checksum mismatch"));
    return true;
}

// --- files ----------------------------------------------------------------------------------

QString LoadMessage(const QString& name, const QString& reason) {
    return QStringLiteral("Cannot load \"%1\": %2").arg(QDir::toNativeSeparators(name), reason);
}

QString SaveMessage(const QString& name, const QString& reason) {
    return QStringLiteral("Cannot save \"%1\": %2").arg(QDir::toNativeSeparators(name), reason);
}

// Reads up to the size limit. Devices without a size (pipes, character devices) are read in
// chunks, so an endless one ends at the limit rather than exhausting memory.
std::variant<QByteArray, QString> ReadWholeFile(QFile& file) {
    constexpr qsizetype ChunkBytes = 1024 * 1024;
    if (file.size() > MaxFileBytes)
        return FileTooLargeReason();
    QByteArray bytes;
    bytes.reserve(file.size() + 1);
    for (;;) {
        const qsizetype filled = bytes.size();
        bytes.resize(filled + ChunkBytes);
        const qint64 got = file.read(bytes.data() + filled, ChunkBytes);
        if (got < 0)
            return file.errorString();
        bytes.resize(filled + got);
        if (bytes.size() > MaxFileBytes)
            return FileTooLargeReason();
        if (got == 0)
            return bytes;
    }
}

} // namespace

PageFile::SaveResult PageFile::Save(const QString& path, const PageList& pages) {
    PageEncoder encoder;
    if (const std::optional<QString> reason = encoder.Encode(pages))
        return {SaveMessage(path, *reason)};
    const QByteArray bytes = encoder.Take();

    // QSaveFile writes a temporary file beside the target and renames it over the target only on
    // commit, so a failure at any step leaves the target as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {SaveMessage(path, file.errorString())};
    // QSaveFile::commit() ignores a failure of its own final flush and renames the truncated file
    // into place (Qt 6.4), so the buffer is flushed, and checked, first.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return {SaveMessage(path, reason)};
    }
    if (!file.commit())
        return {SaveMessage(path, file.errorString())};
    return {};
}

PageFile::LoadResult PageFile::Load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, LoadMessage(path, file.errorString())};
    std::variant<QByteArray, QString> read = ReadWholeFile(file);
    if (const auto* reason = std::get_if<QString>(&read))
        return {{}, LoadMessage(path, *reason)};
    return LoadFromBytes(std::get<QByteArray>(read), path);
}

PageFile::LoadResult PageFile::LoadFromBytes(QByteArrayView bytes, const QString& sourceName) {
    if (bytes.size() > MaxFileBytes)
        return {{}, LoadMessage(sourceName, FileTooLargeReason())};
    std::variant<PageList, QString> decoded = PageDecoder(bytes).Decode();
    if (const auto* reason = std::get_if<QString>(&decoded))
        return {{}, LoadMessage(sourceName, *reason)};
    return {std::move(std::get<PageList>(decoded)), {}};
}
