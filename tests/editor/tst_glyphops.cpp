#include "editor/GlyphOps.h"

#include <QTest>

// The moves, flips and the turn are checked in the window's history test.
class TestGlyphOps : public QObject
{
    Q_OBJECT

private slots:
    void fromClipboard_data();
    void fromClipboard();
    void lineStepsOneDotAtATime();
};

void TestGlyphOps::fromClipboard_data()
{
    QTest::addColumn<QString>("expected");    // at 3 x 2; empty: not a glyph
    QTest::addColumn<QList<QRgb>>("picture"); // one row of pixels, pasted instead of the text
    QTest::addColumn<QString>("text");

    // A set dot is dark (luminance below 128) and opaque (alpha above 127).
    const QList<QRgb> none;
    QTest::newRow("grey") << "##.\n..." << QList<QRgb>{0xff000000, 0xff7f7f7f, 0xff808080} << "";
    QTest::newRow("alpha") << ".##\n..." << QList<QRgb>{0x7f000000, 0x80000000, 0xff0000ff} << "";
    QTest::newRow("as copied") << "#.#\n.#." << none << "#.#\n.#.\n";
    QTest::newRow("from a chat") << "#.#\n.#." << none << "\r\n  \n#.#  \r\n.#\r\n";
    QTest::newRow("cut, short") << "###\n..." << none << "####\n\n#";
    QTest::newRow("other text") << "" << none << "see:\n#.#";
}

void TestGlyphOps::fromClipboard()
{
    QFETCH(QString, expected);
    QFETCH(QList<QRgb>, picture);
    QFETCH(QString, text);
    QImage image(int(picture.size()), 1, QImage::Format_ARGB32);
    for (int x = 0; x < picture.size(); ++x)
        image.setPixel(x, 0, picture[x]);
    const std::optional<QImage> glyph = picture.isEmpty()
                                            ? GlyphOps::fromText(text, QSize(3, 2))
                                            : GlyphOps::fromPicture(image, QSize(3, 2));
    QCOMPARE(glyph ? GlyphOps::toText(*glyph).chopped(1) : QString(), expected);
}

void TestGlyphOps::lineStepsOneDotAtATime()
{
    const QList<QPoint> steep{{-1, -2}, {-1, -1}, {0, 0}, {0, 1}, {0, 2}, {1, 3}, {1, 4}};
    QCOMPARE(GlyphOps::line(QPoint(-1, -2), QPoint(1, 4)), steep);
}

QTEST_MAIN(TestGlyphOps)
#include "tst_glyphops.moc"
