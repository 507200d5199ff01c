#include "codes/CodeText.h"

#include <QTest>

class TestCodeText : public QObject
{
    Q_OBJECT

private slots:
    void unsignedLong_data();
    void unsignedLong();
    void fromHex_data();
    void fromHex();
    void toHex_data();
    void toHex();
    void hexRoundTrip();
    void character_data();
    void character();
    void boxCharacter_data();
    void boxCharacter();
    void fromCharacterRefused_data();
    void fromCharacterRefused();
    void caption_data();
    void caption();
};

void TestCodeText::unsignedLong_data()
{
    QTest::addColumn<qint32>("l");
    QTest::addColumn<qint32>("expected");
    QTest::newRow("zero") << 0 << 0;
    QTest::newRow("positive stays") << 0x82A0 << 0x82A0;
    QTest::newRow("int16 of 0x82A0") << -32096 << 0x82A0;
    QTest::newRow("int16 of 0xFFFF") << -1 << 0xFFFF;
    QTest::newRow("int16 minimum") << -32768 << 0x8000;
    QTest::newRow("int16 maximum") << 32767 << 32767;
    QTest::newRow("applied twice is harmless") << 65535 << 65535;
}

void TestCodeText::unsignedLong()
{
    QFETCH(qint32, l);
    QFETCH(qint32, expected);
    QCOMPARE(CodeText::unsignedLong(l), expected);
    QCOMPARE(CodeText::unsignedLong(CodeText::unsignedLong(l)), expected);
}

void TestCodeText::fromHex_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint32>("code");
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("20") << "20" << 0x20;
    QTest::newRow("lower case") << "ff" << 255;
    QTest::newRow("mixed case") << "fF" << 255;
    QTest::newRow("8140") << "8140" << 0x8140;
    QTest::newRow("82a0") << "82a0" << 0x82A0;
    QTest::newRow("8000 is not negative") << "8000" << 0x8000;
    QTest::newRow("ffff") << "ffff" << 65535;
    QTest::newRow("leading zeros") << "0041" << 0x41;
    QTest::newRow("1F") << "1F" << 31;
    QTest::newRow("up to the first non-hex") << "4G1" << 4;
    QTest::newRow("non-hex first") << "G41" << 0;
    QTest::newRow("blank first") << " 41" << 0;
    QTest::newRow("sign is not a digit") << "-1" << 0;
    QTest::newRow("full-width digits are not hex") << QString::fromUtf16(u"\uFF14\uFF11") << 0;
    QTest::newRow("leading zeros beyond four digits") << "0000FFFF" << 65535;
    QTest::newRow("five digits: plain value") << "10000" << 0x10000;
    QTest::newRow("eight digits do not wrap to a code") << "FFFFFFFF" << 0x7FFFFFFF;
    QTest::newRow("many digits saturate") << "123456789ABCDEF0123" << 0x7FFFFFFF;
}

void TestCodeText::fromHex()
{
    QFETCH(QString, text);
    QFETCH(qint32, code);
    QCOMPARE(CodeText::fromHex(text), code);
}

void TestCodeText::toHex_data()
{
    QTest::addColumn<qint32>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << "0";
    QTest::newRow("D") << 13 << "D";
    QTest::newRow("20") << 0x20 << "20";
    QTest::newRow("FF") << 255 << "FF";
    QTest::newRow("8140") << 0x8140 << "8140";
    QTest::newRow("FFFF") << 65535 << "FFFF";
    QTest::newRow("negative as 32 bits") << -1 << "FFFFFFFF";
}

void TestCodeText::toHex()
{
    QFETCH(qint32, code);
    QFETCH(QString, text);
    QCOMPARE(CodeText::toHex(code), text);
}

void TestCodeText::hexRoundTrip()
{
    for (qint32 code = 0; code <= 0xFFFF; ++code)
        if (CodeText::fromHex(CodeText::toHex(code)) != code)
            QFAIL(qPrintable(QString::number(code, 16)));
}

void TestCodeText::character_data()
{
    QTest::addColumn<qint32>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("A") << 0x41 << "A";
    QTest::newRow("space") << 0x20 << " ";
    QTest::newRow("backslash") << 0x5C << "\\";
    QTest::newRow("half-width katakana a") << 0xB1 << QString::fromUtf16(u"\uFF71");
    QTest::newRow("hiragana a") << 0x82A0 << QString::fromUtf16(u"\u3042");
    QTest::newRow("ideographic space") << 0x8140 << QString::fromUtf16(u"\u3000");
    QTest::newRow("kanji") << 0x889F << QString::fromUtf16(u"\u4E9C");
    QTest::newRow("last of a lead byte's row") << 0x82F1 << QString::fromUtf16(u"\u3093");
    QTest::newRow("cp1252: E acute") << 0xC9 << QString::fromUtf16(u"\u00C9");
    QTest::newRow("cp1252: euro sign") << 0x80 << QString::fromUtf16(u"\u20AC");
    QTest::newRow("cp1252: undefined byte") << 0x81 << QString();
}

void TestCodeText::character()
{
    QFETCH(qint32, code);
    QFETCH(QString, text);
    // Rows named "cp1252" are of a Western font's code page; a byte without a character has
    // no code either.
    const CodePage page = QByteArray(QTest::currentDataTag()).startsWith("cp1252")
                              ? CodePage::Cp1252
                              : CodePage::Cp932;
    const std::optional<qint32> named = text.isEmpty() ? std::nullopt : std::optional(code);
    QCOMPARE(CodeText::toCharacter(code, page), text);
    QCOMPARE(CodeText::fromCharacter(text, page), named);
    if (!text.isEmpty()) // only the first character counts
        QCOMPARE(CodeText::fromCharacter(text + u'A', page), named);
}

void TestCodeText::boxCharacter_data()
{
    QTest::addColumn<qint32>("code");
    QTest::addColumn<QString>("text");

    QTest::newRow("0") << 0 << "";
    QTest::newRow("tab") << 9 << "";
    QTest::newRow("31") << 31 << "";
    QTest::newRow("32 is a blank") << 32 << " ";
    QTest::newRow("A") << 65 << "A";
    QTest::newRow("hiragana a") << 0x82A0 << QString::fromUtf16(u"\u3042");
    QTest::newRow("lone lead byte") << 0x81 << "";
    QTest::newRow("negative") << -1 << "";
}

void TestCodeText::boxCharacter()
{
    QFETCH(qint32, code);
    QFETCH(QString, text);
    QCOMPARE(CodeText::boxCharacter(code), text);
}

void TestCodeText::fromCharacterRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("e acute") << QString::fromUtf16(u"\u00E9");
    QTest::newRow("hangul") << QString::fromUtf16(u"\uAC00");
    QTest::newRow("emoji") << QString::fromUcs4(U"\U0001F600");
}

void TestCodeText::fromCharacterRefused()
{
    QFETCH(QString, text);
    QCOMPARE(CodeText::fromCharacter(text), std::nullopt);
}

void TestCodeText::caption_data()
{
    QTest::addColumn<qint32>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << "CTRL( 0 )";
    QTest::newRow("9") << 9 << "CTRL( 9 )";
    QTest::newRow("31") << 31 << "CTRL( 31 )";
    QTest::newRow("32 is a blank") << 32 << "20  ";
    QTest::newRow("ampersand as it is") << 38 << "26 &";
    QTest::newRow("A") << 65 << "41 A";
    QTest::newRow("katakana") << 0xDF << QString::fromUtf16(u"DF \uFF9F");
    QTest::newRow("no character: the code alone") << 0x80 << "80";
    QTest::newRow("negative without blank") << -16 << "CTRL(-16 )";
}

void TestCodeText::caption()
{
    QFETCH(qint32, code);
    QFETCH(QString, text);
    QCOMPARE(CodeText::caption(code), text);
}

QTEST_GUILESS_MAIN(TestCodeText)
#include "tst_codetext.moc"
