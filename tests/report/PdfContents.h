#pragma once

#include <QByteArray>
#include <QChar>
#include <QFile>
#include <QList>
#include <QRegularExpression>
#include <QSize>
#include <QString>

// Looks into the PDF files that printing and saving write.
namespace PdfInspection {

inline QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Page objects; their parent, the page tree, is "/Type /Pages".
inline int PageCount(const QByteArray& pdf) {
    return static_cast<int>(pdf.count("/Type /Page") - pdf.count("/Type /Pages"));
}

// Each page's width and height in points, in file order: A4 is 595 x 842 upright.
inline QList<QSize> MediaBoxes(const QByteArray& pdf) {
    static const QRegularExpression mediaBox(
        QStringLiteral(R"(/MediaBox\s*\[\s*0\s+0\s+([0-9.]+)\s+([0-9.]+)\s*\])"));
    QList<QSize> sizes;
    for (const auto& match : mediaBox.globalMatch(QString::fromLatin1(pdf)))
        sizes.append(
            QSize(qRound(match.captured(1).toDouble()), qRound(match.captured(2).toDouble())));
    return sizes;
}

// The document's title as Qt writes it: a literal string, UTF-16 big-endian after a byte-order
// mark. Escaped characters are not decoded; the titles looked at here have none.
inline QString Title(const QByteArray& pdf) {
    const QByteArray key("/Title (");
    const qsizetype start = pdf.indexOf(key);
    if (start < 0)
        return {};
    const qsizetype begin = start + key.size();
    const qsizetype end = pdf.indexOf(')', begin);
    const QByteArray raw = pdf.mid(begin, end - begin);
    if (!raw.startsWith("\xfe\xff"))
        return QString::fromLatin1(raw);
    QString title;
    for (qsizetype i = 2; i + 1 < raw.size(); i += 2)
        title += QChar(static_cast<char16_t>((static_cast<unsigned char>(raw[i]) << 8) |
                                             static_cast<unsigned char>(raw[i + 1])));
    return title;
}

inline QList<QSize> A4Sheets(int count, bool landscape) {
    return QList<QSize>(count, landscape ? QSize(842, 595) : QSize(595, 842));
}

} // namespace PdfInspection
