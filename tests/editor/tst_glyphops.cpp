#include "editor/GlyphOps.h"

#include <QTest>

using Transform = GlyphOps::Transform;
Q_DECLARE_METATYPE(Transform)

namespace {
// Glyphs are written as text art in the rows, as the clipboard has them.
QImage glyph(const char* art)
{
    const QString text = QString::fromLatin1(art);
    const QSize size(int(text.indexOf(u'\n')), int(text.count(u'\n')));
    return GlyphOps::fromText(text, size).value_or(QImage());
}
} // namespace

class TestGlyphOps : public QObject
{
    Q_OBJECT

private slots:
    void transformed_data();
    void transformed();
    void transformsCarryColours();
    void fromPicture();
    void fromText_data();
    void fromText();
    void line_data();
    void line();
};

void TestGlyphOps::transformed_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<Transform>("transform");
    QTest::addColumn<QString>("expected"); // empty: no result

    const char* g = "##..\n#..#\n...#\n";
    QTest::newRow("flip horizontal") << g << Transform::FlipHorizontal << "..##\n#..#\n#...\n";
    QTest::newRow("flip vertical") << g << Transform::FlipVertical << "...#\n#..#\n##..\n";
    QTest::newRow("move up") << g << Transform::MoveUp << "#..#\n...#\n....\n";
    QTest::newRow("move down") << g << Transform::MoveDown << "....\n##..\n#..#\n";
    QTest::newRow("move left") << g << Transform::MoveLeft << "#...\n..#.\n..#.\n";
    QTest::newRow("move right") << g << Transform::MoveRight << ".##.\n.#..\n....\n";
    QTest::newRow("rotate oblong") << g << Transform::RotateRight << "";
    QTest::newRow("rotate right") << "##.\n#..\n..#\n"
                                  << Transform::RotateRight << ".##\n..#\n#..\n";
}

void TestGlyphOps::transformed()
{
    QFETCH(QString, source);
    QFETCH(Transform, transform);
    QFETCH(QString, expected);
    const QImage result = GlyphOps::transformed(glyph(qPrintable(source)), transform);
    QCOMPARE(result.isNull(), expected.isEmpty());
    if (!result.isNull()) {
        QCOMPARE(result.format(), QImage::Format_RGB32);
        QCOMPARE(GlyphOps::toText(result), expected);
    }
}

void TestGlyphOps::transformsCarryColours()
{
    // A table of many colours keeps each pixel's colour; the picture for other programs has
    // only black and white.
    QImage g = glyph("#..\n...\n...\n");
    g.setPixel(1, 0, 0xff123456);
    QImage turned = GlyphOps::transformed(g, Transform::RotateRight);
    QCOMPARE(turned.pixel(2, 0), 0xff000000u);
    QCOMPARE(turned.pixel(2, 1), 0xff123456u);
    const QImage picture = GlyphOps::toPicture(g);
    QCOMPARE(picture.size(), QSize(3, 3));
    QCOMPARE(picture.pixel(0, 0), 0xff000000u);
    QCOMPARE(picture.pixel(1, 0), 0xffffffffu);
}

void TestGlyphOps::fromPicture()
{
    // Dark and opaque is a set dot: luminance below 128, alpha above 127.
    QImage picture(5, 2, QImage::Format_ARGB32);
    picture.fill(Qt::white);
    picture.setPixel(0, 0, qRgba(0, 0, 0, 255));
    picture.setPixel(1, 0, qRgba(127, 127, 127, 255));
    picture.setPixel(2, 0, qRgba(128, 128, 128, 255));
    picture.setPixel(3, 0, qRgba(0, 0, 0, 127));
    picture.setPixel(0, 1, qRgba(0, 0, 0, 128));
    picture.setPixel(1, 1, qRgba(0, 0, 255, 255)); // blue is dark
    picture.setPixel(4, 1, qRgba(0, 0, 0, 255));   // beyond the glyph: cut
    QCOMPARE(GlyphOps::toText(*GlyphOps::fromPicture(picture, QSize(4, 3))), "##..\n##..\n....\n");
    // Any format: a premultiplied one with transparency, a one-bit one.
    QCOMPARE(GlyphOps::toText(*GlyphOps::fromPicture(
                 picture.convertToFormat(QImage::Format_ARGB32_Premultiplied), QSize(2, 2))),
             "##\n##\n");
    QCOMPARE(GlyphOps::toText(*GlyphOps::fromPicture(
                 GlyphOps::toPicture(glyph("#.\n.#\n")).convertToFormat(QImage::Format_Mono),
                 QSize(2, 2))),
             "#.\n.#\n");
    QVERIFY(!GlyphOps::fromPicture(QImage(), QSize(4, 3)));
}

void TestGlyphOps::fromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected"); // at 3 x 3; empty: not a glyph

    QTest::newRow("as copied") << "#.#\n.#.\n#.#\n"
                               << "#.#\n.#.\n#.#\n";
    QTest::newRow("from a chat") << "\r\n  \n#.#  \r\n.#\r\n\n"
                                 << "#.#\n.#.\n...\n";
    QTest::newRow("cut at the size") << "####\n#...\n#...\n####\n"
                                     << "###\n#..\n#..\n";
    QTest::newRow("a blank row inside") << "#\n\n#\n"
                                        << "#..\n...\n#..\n";
    QTest::newRow("other text") << "hello"
                                << "";
    QTest::newRow("art in a sentence") << "see:\n#.#\n"
                                       << "";
    QTest::newRow("indented") << " #.#\n"
                              << "";
    QTest::newRow("blank") << " \n\n"
                           << "";
}

void TestGlyphOps::fromText()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const std::optional<QImage> g = GlyphOps::fromText(text, QSize(3, 3));
    QCOMPARE(bool(g), !expected.isEmpty());
    if (g)
        QCOMPARE(GlyphOps::toText(*g), expected);
}

void TestGlyphOps::line_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QList<QPoint>>("expected");

    QTest::newRow("one dot") << QPoint(2, 2) << QPoint(2, 2) << QList<QPoint>{{2, 2}};
    QTest::newRow("up") << QPoint(0, 3) << QPoint(0, 0)
                        << QList<QPoint>{{0, 3}, {0, 2}, {0, 1}, {0, 0}};
    QTest::newRow("diagonal") << QPoint(3, 0) << QPoint(0, 3)
                              << QList<QPoint>{{3, 0}, {2, 1}, {1, 2}, {0, 3}};
    QTest::newRow("shallow") << QPoint(0, 0) << QPoint(4, 2)
                             << QList<QPoint>{{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}};
    QTest::newRow("steep, beyond the grid")
        << QPoint(-1, -2) << QPoint(1, 4)
        << QList<QPoint>{{-1, -2}, {-1, -1}, {0, 0}, {0, 1}, {0, 2}, {1, 3}, {1, 4}};
}

void TestGlyphOps::line()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QList<QPoint>, expected);
    QCOMPARE(GlyphOps::line(from, to), expected);
}

QTEST_MAIN(TestGlyphOps)
#include "tst_glyphops.moc"
