#include "Utf8Repair.h"

#include <QTest>

class Utf8RepairTest : public QObject {
    Q_OBJECT

private slots:
    void replacesEachBadByte_data();
    void replacesEachBadByte();
};

void Utf8RepairTest::replacesEachBadByte_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray r = "\xEF\xBF\xBD"; // U+FFFD

    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("ASCII with controls") << QByteArray("a b\n\t%\\") << QByteArray("a b\n\t%\\");
    QTest::newRow("two, three and four bytes")
        << QByteArray("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80")
        << QByteArray("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    QTest::newRow("the highest code point")
        << QByteArray("\xF4\x8F\xBF\xBF") << QByteArray("\xF4\x8F\xBF\xBF");
    QTest::newRow("U+FFFD itself stays") << r << r;
    QTest::newRow("bytes that never start a sequence") << QByteArray("a\xFE\xFF"
                                                                     "b")
                                                       << QByteArray("a" + r + r + "b");
    QTest::newRow("stray continuation byte") << QByteArray("\x80x") << QByteArray(r + "x");
    // Overlong forms: the lead byte C0 is never valid; E0 needs a second byte of A0 or more.
    QTest::newRow("overlong two bytes") << QByteArray("\xC0\xAF") << QByteArray(r + r);
    QTest::newRow("overlong three bytes") << QByteArray("\xE0\x80\xAF") << QByteArray(r + r + r);
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << QByteArray(r + r + r);
    QTest::newRow("above U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << QByteArray(r + r + r + r);
    // A truncated sequence counts byte by byte, and what follows it is read afresh.
    QTest::newRow("truncated at the end") << QByteArray("\xE2\x82") << QByteArray(r + r);
    QTest::newRow("truncated before ASCII") << QByteArray("\xC3(") << QByteArray(r + "(");
    QTest::newRow("truncated before a good sequence")
        << QByteArray("\xE2\x82\xC3\xA9") << QByteArray(r + r + "\xC3\xA9");
}

void Utf8RepairTest::replacesEachBadByte() {
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, expected);
    const std::string repaired = ReplaceInvalidUtf8(input.toStdString());
    QCOMPARE(QByteArray::fromStdString(repaired).toHex(' '), expected.toHex(' '));
}

QTEST_APPLESS_MAIN(Utf8RepairTest)
#include "Utf8RepairTest.moc"
