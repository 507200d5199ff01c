#include "codes/Cp932.h"

#include <QTest>

class TestCp932 : public QObject
{
    Q_OBJECT

private slots:
    void codeToText_data();
    void codeToText();
    void textToCode_data();
    void textToCode();
    void definedCodes();
    void rangeRoundTrip_data();
    void rangeRoundTrip();
    void loneLeadByteHasNoCharacter();
    void jis();
};

void TestCp932::codeToText_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("A") << 0x41 << QStringLiteral("A");
    QTest::newRow("backslash, not yen") << 0x5C << QStringLiteral("\\");
    QTest::newRow("tilde, not overline") << 0x7E << QStringLiteral("~");
    QTest::newRow("half-width katakana first") << 0xA1 << QString(QChar(0xFF61));
    QTest::newRow("half-width katakana last") << 0xDF << QString(QChar(0xFF9F));
    QTest::newRow("hiragana a") << 0x82A0 << QString(QChar(0x3042));
    QTest::newRow("ideographic space") << 0x8140 << QString(QChar(0x3000));
    QTest::newRow("lone lead byte") << 0x81 << QString();
    QTest::newRow("0x80 undefined") << 0x80 << QString();
    QTest::newRow("0xA0 undefined") << 0xA0 << QString();
    QTest::newRow("0xFD undefined") << 0xFD << QString();
    QTest::newRow("lead with bad trail") << 0x8130 << QString();
    QTest::newRow("negative") << -1 << QString();
    QTest::newRow("beyond 16 bits") << 0x10000 << QString();
    QTest::newRow("control 31") << 31 << QString(QChar(31));
}

void TestCp932::codeToText()
{
    QFETCH(int, code);
    QFETCH(QString, text);
    QCOMPARE(Cp932::toText(code), text);
    QCOMPARE(Cp932::isDefined(code), !text.isEmpty());
}

void TestCp932::textToCode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code");
    QTest::newRow("A") << QStringLiteral("A") << 0x41;
    QTest::newRow("first character only") << QStringLiteral("AB") << 0x41;
    QTest::newRow("hiragana a") << QString(QChar(0x3042)) << 0x82A0;
    QTest::newRow("half-width katakana") << QString(QChar(0xFF71)) << 0xB1;
    QTest::newRow("ideographic space") << QString(QChar(0x3000)) << 0x8140;
    // NEC and IBM duplicates encode to the code Windows writes.
    QTest::newRow("not equal to (NEC row 13 dup)") << QString(QChar(0x2252)) << 0x81E0;
    QTest::newRow("empty") << QString() << -1;
    QTest::newRow("not in the code page") << QString(QChar(0x00E9)) << -1;
    QTest::newRow("outside the BMP") << QString::fromUcs4(U"\U0001F600") << -1;
}

void TestCp932::textToCode()
{
    QFETCH(QString, text);
    QFETCH(int, code);
    QCOMPARE(Cp932::toCode(text), code);
}

void TestCp932::definedCodes()
{
    const auto codes = Cp932::definedCodes();
    QVERIFY(codes.size() > 7000);
    QVERIFY(std::is_sorted(codes.begin(), codes.end()));
    for (int code : codes)
        QVERIFY2(code == 0 || !Cp932::toText(code).isEmpty(),
                 qPrintable(QString::number(code, 16)));
    QVERIFY(std::binary_search(codes.begin(), codes.end(), 0x82A0));
    QVERIFY(!std::binary_search(codes.begin(), codes.end(), 0x81));
}

// Whole ranges that must map one to one onto a Unicode range and back.
void TestCp932::rangeRoundTrip_data()
{
    QTest::addColumn<int>("firstCode");
    QTest::addColumn<int>("lastCode");
    QTest::addColumn<int>("firstUnicode");
    QTest::newRow("control codes 0..31") << 0x00 << 0x1F << 0x0000;
    QTest::newRow("half-width katakana A1..DF") << 0xA1 << 0xDF << 0xFF61;
    QTest::newRow("hiragana 829F..82F1") << 0x829F << 0x82F1 << 0x3041;
    QTest::newRow("ideographic space, comma, full stop") << 0x8140 << 0x8142 << 0x3000;
}

void TestCp932::rangeRoundTrip()
{
    QFETCH(int, firstCode);
    QFETCH(int, lastCode);
    QFETCH(int, firstUnicode);
    for (int code = firstCode; code <= lastCode; ++code) {
        const char32_t u = char32_t(firstUnicode + code - firstCode);
        const QString text = QString::fromUcs4(&u, 1);
        QCOMPARE(Cp932::toText(code), text);
        QCOMPARE(Cp932::toCode(text), code);
        QVERIFY(Cp932::isDefined(code));
    }
}

void TestCp932::loneLeadByteHasNoCharacter()
{
    for (int lead : {0x81, 0x82, 0x9F, 0xE0, 0xFC}) {
        QVERIFY(Cp932::isLeadByte(lead));
        QVERIFY(Cp932::toText(lead).isEmpty());
        QVERIFY(!Cp932::isDefined(lead));
    }
    QVERIFY(!Cp932::isLeadByte(0xA1));
    QVERIFY(!Cp932::isLeadByte(0x80));
    // A lead byte followed by a valid trail byte is a character.
    QCOMPARE(Cp932::toText(0x81 * 256 + 0x40), QString(QChar(0x3000)));
}

void TestCp932::jis()
{
    // Odd rows take trail bytes 40..9E (past 7F), even rows 9F..FC; row 13 is NEC's.
    const QList<std::pair<int, int>> pairs{{0x2121, 0x8140}, {0x2160, 0x8180}, {0x2422, 0x82A0},
                                           {0x2D21, 0x8740}, {0x7426, 0xEAA4}, {0x7E7E, 0xEFFC},
                                           {0x2120, -1},     {0x7F21, -1},     {0x41, -1}};
    for (const auto& [jis, code] : pairs)
        QCOMPARE(Cp932::fromJis(jis), code);
    for (int row = 0x21; row <= 0x7E; ++row)
        for (int cell = 0x21; cell <= 0x7E; ++cell)
            QCOMPARE(Cp932::toJis(Cp932::fromJis(row << 8 | cell)), row << 8 | cell);
    for (int other : {0x817F, 0x813F, 0x81FD, 0xF040, 0xA1A1, 0x41, -1})
        QCOMPARE(Cp932::toJis(other), -1); // no JIS code
}

QTEST_GUILESS_MAIN(TestCp932)
#include "tst_cp932.moc"
