#include "codes/NumericText.h"

#include <QTest>
#include <cmath>
#include <limits>

class TestNumericText : public QObject
{
    Q_OBJECT

private slots:
    void value_data();
    void value();
    void infinite_data();
    void infinite();
    void roundHalfEven_data();
    void roundHalfEven();
    void toInt16_data();
    void toInt16();
    void toInt32_data();
    void toInt32();
    void sideBearingText_data();
    void sideBearingText();
};

void TestNumericText::value_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("no number") << "abc" << 0.0;
    QTest::newRow("integer") << "12" << 12.0;
    QTest::newRow("negative") << "-7" << -7.0;
    QTest::newRow("plus") << "+7" << 7.0;
    QTest::newRow("decimal") << "12.5" << 12.5;
    QTest::newRow("leading point") << ".25" << 0.25;
    QTest::newRow("trailing point") << "3." << 3.0;
    QTest::newRow("point alone") << "." << 0.0;
    QTest::newRow("sign alone") << "-" << 0.0;
    QTest::newRow("leading number only") << "12abc" << 12.0;
    QTest::newRow("second point ends") << "1.2.3" << 1.2;
    QTest::newRow("comma is no point") << "1,5" << 1.0;
    QTest::newRow("blanks anywhere") << " 1 2 . 5" << 12.5;
    QTest::newRow("tabs and line feeds") << "\t-\t3\n4" << -34.0;
    QTest::newRow("blank between sign and digits") << "- 12" << -12.0;
    QTest::newRow("double sign") << "--1" << 0.0;
    QTest::newRow("exponent") << "1.5E2" << 150.0;
    QTest::newRow("exponent lower case") << "1.5e2" << 150.0;
    QTest::newRow("exponent D") << "2D3" << 2000.0;
    QTest::newRow("negative exponent") << "25e-1" << 2.5;
    QTest::newRow("exponent without digits") << "12E" << 12.0;
    QTest::newRow("exponent sign without digits") << "12E+" << 12.0;
    QTest::newRow("hex") << "&H1F" << 31.0;
    QTest::newRow("hex lower case") << "&hff" << 255.0;
    QTest::newRow("hex 16-bit wraps") << "&HFFFF" << -1.0;
    QTest::newRow("hex 8000") << "&H8000" << -32768.0;
    QTest::newRow("hex 32-bit") << "&H10000" << 65536.0;
    QTest::newRow("hex 32-bit wraps") << "&HFFFFFFFF" << -1.0;
    QTest::newRow("hex beyond 32 bits") << "&H100000000" << 4294967296.0;
    QTest::newRow("hex stops at non-digit") << "&H1G" << 1.0;
    QTest::newRow("hex with no digits") << "&H" << 0.0;
    QTest::newRow("octal") << "&O17" << 15.0;
    QTest::newRow("octal stops at 8") << "&O18" << 1.0;
    QTest::newRow("octal 16-bit wraps") << "&O177777" << -1.0;
    QTest::newRow("ampersand alone") << "&12" << 0.0;
    QTest::newRow("negative zero is zero") << "-0" << 0.0;
    QTest::newRow("tiny underflows to zero") << "1e-400" << 0.0;
    QTest::newRow("long mantissa") << "0.000000000000000000000000000001" << 1e-30;
    QTest::newRow("full-width digits are no number") << QString::fromUtf16(u"\uFF11") << 0.0;
}

void TestNumericText::value()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(NumericText::value(text), expected);
}

void TestNumericText::infinite_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("negative");
    QTest::newRow("large exponent") << "1e400" << false;
    QTest::newRow("huge exponent") << "1e99999999999999999999" << false;
    QTest::newRow("negative large") << "-2e999" << true;
    QTest::newRow("many digits") << QString(400, u'9') << false;
    QTest::newRow("many digits, small exponent") << QString(400, u'9') + "e-10" << false;
}

void TestNumericText::infinite()
{
    QFETCH(QString, text);
    QFETCH(bool, negative);
    const double v = NumericText::value(text);
    QVERIFY(std::isinf(v));
    QCOMPARE(v < 0, negative);
    QCOMPARE(NumericText::toInt16(v), std::nullopt);
}

void TestNumericText::roundHalfEven_data()
{
    QTest::addColumn<double>("v");
    QTest::addColumn<double>("expected");
    QTest::newRow("12.5") << 12.5 << 12.0;
    QTest::newRow("13.5") << 13.5 << 14.0;
    QTest::newRow("0.5") << 0.5 << 0.0;
    QTest::newRow("1.5") << 1.5 << 2.0;
    QTest::newRow("-0.5") << -0.5 << 0.0;
    QTest::newRow("-12.5") << -12.5 << -12.0;
    QTest::newRow("-13.5") << -13.5 << -14.0;
    QTest::newRow("12.49") << 12.49 << 12.0;
    QTest::newRow("12.51") << 12.51 << 13.0;
    QTest::newRow("-12.51") << -12.51 << -13.0;
    QTest::newRow("largest below a half") << 0.49999999999999994 << 0.0;
    QTest::newRow("beyond the fraction bits") << 4503599627370497.0 << 4503599627370497.0;
}

void TestNumericText::roundHalfEven()
{
    QFETCH(double, v);
    QFETCH(double, expected);
    QCOMPARE(NumericText::roundHalfEven(v), expected);
}

void TestNumericText::toInt16_data()
{
    QTest::addColumn<double>("v");
    QTest::addColumn<bool>("inRange");
    QTest::addColumn<int>("expected");
    QTest::newRow("0") << 0.0 << true << 0;
    QTest::newRow("32767") << 32767.0 << true << 32767;
    QTest::newRow("32767.4") << 32767.4 << true << 32767;
    QTest::newRow("32767.5 rounds out") << 32767.5 << false << 0;
    QTest::newRow("32768") << 32768.0 << false << 0;
    QTest::newRow("-32768") << -32768.0 << true << -32768;
    QTest::newRow("-32768.5 rounds to even, inside") << -32768.5 << true << -32768;
    QTest::newRow("-32769") << -32769.0 << false << 0;
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << false << 0;
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << false << 0;
}

void TestNumericText::toInt16()
{
    QFETCH(double, v);
    QFETCH(bool, inRange);
    QFETCH(int, expected);
    const std::optional<qint16> r = NumericText::toInt16(v);
    QCOMPARE(r.has_value(), inRange);
    if (inRange)
        QCOMPARE(int(*r), expected);
}

void TestNumericText::toInt32_data()
{
    QTest::addColumn<double>("v");
    QTest::addColumn<bool>("inRange");
    QTest::addColumn<qint32>("expected");
    QTest::newRow("70000") << 70000.0 << true << 70000;
    QTest::newRow("max") << 2147483647.0 << true << 2147483647;
    QTest::newRow("max + 0.5 rounds to even, out") << 2147483647.5 << false << 0;
    QTest::newRow("min") << -2147483648.0 << true << qint32(-2147483647 - 1);
    QTest::newRow("min - 0.5 rounds to even, inside")
        << -2147483648.5 << true << qint32(-2147483647 - 1);
    QTest::newRow("min - 1") << -2147483649.0 << false << 0;
    QTest::newRow("2.5") << 2.5 << true << 2;
}

void TestNumericText::toInt32()
{
    QFETCH(double, v);
    QFETCH(bool, inRange);
    QFETCH(qint32, expected);
    const std::optional<qint32> r = NumericText::toInt32(v);
    QCOMPARE(r.has_value(), inRange);
    if (inRange)
        QCOMPARE(*r, expected);
}

// The side-bearing boxes: the leading number, rounded half to even, out of range refused.
void TestNumericText::sideBearingText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("inRange");
    QTest::addColumn<int>("expected");
    QTest::newRow("12.5 sends 12") << "12.5" << true << 12;
    QTest::newRow("13.5 sends 14") << "13.5" << true << 14;
    QTest::newRow("no number sends 0") << "abc" << true << 0;
    QTest::newRow("empty sends 0") << "" << true << 0;
    QTest::newRow("-40") << "-40" << true << -40;
    QTest::newRow("units after the number") << "25px" << true << 25;
    QTest::newRow("40000 is out of range") << "40000" << false << 0;
    QTest::newRow("hex") << "&H10" << true << 16;
}

void TestNumericText::sideBearingText()
{
    QFETCH(QString, text);
    QFETCH(bool, inRange);
    QFETCH(int, expected);
    const std::optional<qint16> r = NumericText::toInt16(NumericText::value(text));
    QCOMPARE(r.has_value(), inRange);
    if (inRange)
        QCOMPARE(int(*r), expected);
}

QTEST_GUILESS_MAIN(TestNumericText)
#include "tst_numerictext.moc"
