#include "editor/DotCanvas.h"

#include <QSignalSpy>
#include <QTest>

namespace {
constexpr QRgb Black = 0xff000000;
constexpr QRgb White = 0xffffffff;
constexpr QRgb Grey = 0xffc8c8c8;
constexpr QRgb Red = 0xffff0000;

struct MouseReport
{
    qint16 Button;
    qint16 Shift;
    float X;
    float Y;
};

MouseReport report(const QList<QVariant>& args)
{
    return {args.at(0).value<qint16>(), args.at(1).value<qint16>(), args.at(2).toFloat(),
            args.at(3).toFloat()};
}

int countColour(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}
} // namespace

class TestDotCanvas : public QObject
{
    Q_OBJECT

private slots:
    void size();
    void resizeKeepsContent();
    void pixelsOutsideHaveNoColour();
    void fillBoxIncludesBothCorners();
    void fillBoxIsClipped();
    void drawLineLeavesTheEndPoint_data();
    void drawLineLeavesTheEndPoint();
    void copyIsExact();
    void stretchReplicatesPixels();
    void clearUsesTheBackground();
    void imageOfAnotherFormat();
    void mouseButtons_data();
    void mouseButtons();
    void dragReportsTheHeldButton();
    void moveWithoutButtonReportsZero();
    void bothButtonsReportThree();
    void releaseNamesTheButtonLetGo();
};

void TestDotCanvas::size()
{
    DotCanvas canvas;
    canvas.setCanvasSize(QSize(482, 482));
    QCOMPARE(canvas.size(), QSize(482, 482));
    QCOMPARE(canvas.image().size(), QSize(482, 482));
    QCOMPARE(canvas.image().format(), QImage::Format_RGB32);
    QCOMPARE(countColour(canvas.image(), White), 482 * 482);

    DotCanvas table;
    table.setCanvasSize(QSize(512, 512));
    QCOMPARE(table.image().size(), QSize(512, 512));
}

void TestDotCanvas::resizeKeepsContent()
{
    DotCanvas canvas;
    canvas.setCanvasSize(QSize(10, 10));
    canvas.setPixel(QPoint(9, 9), Red);
    canvas.setCanvasSize(QSize(20, 20));
    QCOMPARE(*canvas.pixel(QPoint(9, 9)), Red);
    QCOMPARE(*canvas.pixel(QPoint(19, 19)), White);
}

void TestDotCanvas::pixelsOutsideHaveNoColour()
{
    DotCanvas canvas;
    canvas.setCanvasSize(QSize(16, 16));
    QVERIFY(!canvas.pixel(QPoint(16, 0)));
    QVERIFY(!canvas.pixel(QPoint(0, -1)));
    canvas.setPixel(QPoint(-1, 3), Black); // ignored, no crash
    canvas.setPixel(QPoint(3, 3), Black);
    QCOMPARE(*canvas.pixel(QPoint(3, 3)), Black);
    QCOMPARE(countColour(canvas.image(), Black), 1);
}

void TestDotCanvas::fillBoxIncludesBothCorners()
{
    DotCanvas canvas;
    canvas.setCanvasSize(QSize(40, 40));
    canvas.fillBox(QRect(QPoint(2, 3), QPoint(5, 7)), Black);
    QCOMPARE(countColour(canvas.image(), Black), 4 * 5);
    QCOMPARE(*canvas.pixel(QPoint(2, 3)), Black);
    QCOMPARE(*canvas.pixel(QPoint(5, 7)), Black);
    QCOMPARE(*canvas.pixel(QPoint(6, 7)), White);
    QCOMPARE(*canvas.pixel(QPoint(5, 8)), White);
}

void TestDotCanvas::fillBoxIsClipped()
{
    DotCanvas canvas;
    canvas.setCanvasSize(QSize(10, 10));
    canvas.fillBox(QRect(-5, -5, 8, 100), Black);
    QCOMPARE(countColour(canvas.image(), Black), 3 * 10);
    canvas.fillBox(QRect(50, 50, 5, 5), Black); // wholly outside: nothing
    QCOMPARE(countColour(canvas.image(), Black), 3 * 10);
}

void TestDotCanvas::drawLineLeavesTheEndPoint_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<int>("pixels");

    QTest::newRow("down") << QPoint(4, 0) << QPoint(4, 10) << 10;
    QTest::newRow("up") << QPoint(4, 10) << QPoint(4, 0) << 10;
    QTest::newRow("right") << QPoint(0, 4) << QPoint(10, 4) << 10;
    QTest::newRow("left") << QPoint(10, 4) << QPoint(0, 4) << 10;
    QTest::newRow("diagonal") << QPoint(0, 0) << QPoint(10, 10) << 10;
    QTest::newRow("a point") << QPoint(3, 3) << QPoint(3, 3) << 0;
    QTest::newRow("starts outside") << QPoint(-1, 2) << QPoint(5, 2) << 5;
}

void TestDotCanvas::drawLineLeavesTheEndPoint()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(int, pixels);
    DotCanvas canvas;
    canvas.setCanvasSize(QSize(20, 20));
    canvas.drawLine(from, to, Grey);
    QCOMPARE(countColour(canvas.image(), Grey), pixels);
    QCOMPARE(*canvas.pixel(to), White);
    if (pixels > 0 && canvas.image().valid(from))
        QCOMPARE(*canvas.pixel(from), Grey);
}

void TestDotCanvas::copyIsExact()
{
    QImage source(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            source.setPixel(x, y, qRgb(x * 30, y * 30, 7));
    DotCanvas canvas;
    canvas.setCanvasSize(QSize(20, 20));
    canvas.copyFrom(source, QRect(2, 3, 4, 2), QPoint(10, 11));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            QCOMPARE(*canvas.pixel(QPoint(10 + x, 11 + y)), source.pixel(2 + x, 3 + y));
    QCOMPARE(countColour(canvas.image(), White), 20 * 20 - 8);
    // Clipped to both images: of the source only x 0..3, y 5..7 exist, and of those only the
    // top-left 2 x 2 land on the canvas, at (18, 18).
    canvas.copyFrom(source, QRect(-2, 5, 6, 5), QPoint(16, 18));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            QCOMPARE(*canvas.pixel(QPoint(18 + x, 18 + y)), source.pixel(x, 5 + y));
    QCOMPARE(countColour(canvas.image(), White), 20 * 20 - 12);
}

void TestDotCanvas::stretchReplicatesPixels()
{
    // A 3 x 2 checkerboard stretched 5 times: every target pixel has its source's exact
    // colour, no blending at the block edges.
    QImage source(3, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            source.setPixel(x, y, (x + y) % 2 ? Black : Red);
    DotCanvas canvas;
    canvas.setCanvasSize(QSize(20, 20));
    canvas.stretchFrom(source, source.rect(), QRect(1, 1, 15, 10));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 15; ++x)
            QCOMPARE(*canvas.pixel(QPoint(1 + x, 1 + y)), source.pixel(x / 5, y / 5));
    QCOMPARE(*canvas.pixel(QPoint(16, 1)), White);
    QCOMPARE(*canvas.pixel(QPoint(1, 11)), White);
}

void TestDotCanvas::clearUsesTheBackground()
{
    DotCanvas canvas;
    canvas.setCanvasSize(QSize(8, 8));
    canvas.fillBox(QRect(0, 0, 8, 8), Black);
    canvas.setBackground(QColor(Red));
    canvas.clear();
    QCOMPARE(countColour(canvas.image(), Red), 64);
}

void TestDotCanvas::imageOfAnotherFormat()
{
    // A picture put straight into the image, as a loader might: drawing still works on it.
    DotCanvas canvas;
    canvas.setCanvasSize(QSize(16, 16));
    QImage loaded(16, 16, QImage::Format_RGB888);
    loaded.fill(Qt::white);
    canvas.image() = loaded;
    canvas.fillBox(canvas.image().rect(), Black);
    QCOMPARE(canvas.image().format(), QImage::Format_RGB32);
    QCOMPARE(countColour(canvas.image(), Black), 16 * 16);
}

void TestDotCanvas::mouseButtons_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("Button");
    QTest::addColumn<int>("Shift");

    QTest::newRow("left") << Qt::LeftButton << Qt::KeyboardModifiers() << 1 << 0;
    QTest::newRow("right") << Qt::RightButton << Qt::KeyboardModifiers() << 2 << 0;
    QTest::newRow("middle") << Qt::MiddleButton << Qt::KeyboardModifiers() << 4 << 0;
    QTest::newRow("shift") << Qt::LeftButton << Qt::KeyboardModifiers(Qt::ShiftModifier) << 1 << 1;
    QTest::newRow("ctrl") << Qt::LeftButton << Qt::KeyboardModifiers(Qt::ControlModifier) << 1 << 2;
    QTest::newRow("alt") << Qt::RightButton << Qt::KeyboardModifiers(Qt::AltModifier) << 2 << 4;
    QTest::newRow("shift+ctrl") << Qt::LeftButton << (Qt::ShiftModifier | Qt::ControlModifier) << 1
                                << 3;
}

void TestDotCanvas::mouseButtons()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, Button);
    QFETCH(int, Shift);

    DotCanvas canvas;
    canvas.setCanvasSize(QSize(100, 100));
    canvas.show();
    QVERIFY(QTest::qWaitForWindowExposed(&canvas));
    QSignalSpy downs(&canvas, &DotCanvas::mouseDown);
    QTest::mousePress(&canvas, button, modifiers, QPoint(11, 21));
    QCOMPARE(downs.size(), 1);
    const MouseReport r = report(downs.first());
    QCOMPARE(r.Button, Button);
    QCOMPARE(r.Shift, Shift);
    QCOMPARE(r.X, 11.0f);
    QCOMPARE(r.Y, 21.0f);
    QTest::mouseRelease(&canvas, button, modifiers, QPoint(11, 21));
}

void TestDotCanvas::dragReportsTheHeldButton()
{
    DotCanvas canvas;
    canvas.setCanvasSize(QSize(100, 100));
    canvas.show();
    QVERIFY(QTest::qWaitForWindowExposed(&canvas));
    QSignalSpy moves(&canvas, &DotCanvas::mouseMove);
    QTest::mousePress(&canvas, Qt::RightButton, {}, QPoint(5, 5));
    QTest::mouseMove(&canvas, QPoint(30, 40));
    QTest::mouseMove(&canvas, QPoint(150, 40)); // beyond the canvas: still reported
    QTest::mouseRelease(&canvas, Qt::RightButton, {}, QPoint(150, 40));
    QVERIFY(moves.size() >= 2);
    MouseReport r = report(moves.at(moves.size() - 2));
    QCOMPARE(r.Button, 2);
    QCOMPARE(r.X, 30.0f);
    QCOMPARE(r.Y, 40.0f);
    r = report(moves.last());
    QCOMPARE(r.Button, 2);
    QCOMPARE(r.X, 150.0f);
}

void TestDotCanvas::moveWithoutButtonReportsZero()
{
    DotCanvas canvas;
    canvas.setCanvasSize(QSize(100, 100));
    canvas.show();
    QVERIFY(QTest::qWaitForWindowExposed(&canvas));
    QSignalSpy moves(&canvas, &DotCanvas::mouseMove);
    QTest::mouseMove(&canvas, QPoint(30, 40));
    QVERIFY(!moves.isEmpty());
    QCOMPARE(report(moves.last()).Button, 0);
}

void TestDotCanvas::bothButtonsReportThree()
{
    DotCanvas canvas;
    canvas.setCanvasSize(QSize(100, 100));
    canvas.show();
    QVERIFY(QTest::qWaitForWindowExposed(&canvas));
    QSignalSpy downs(&canvas, &DotCanvas::mouseDown);
    QSignalSpy moves(&canvas, &DotCanvas::mouseMove);
    QTest::mousePress(&canvas, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mousePress(&canvas, Qt::RightButton, {}, QPoint(5, 5));
    QTest::mouseMove(&canvas, QPoint(20, 20));
    QCOMPARE(downs.size(), 2);
    QCOMPARE(report(downs.at(0)).Button, 1);
    QCOMPARE(report(downs.at(1)).Button, 3);
    QCOMPARE(report(moves.last()).Button, 3);
    QTest::mouseRelease(&canvas, Qt::RightButton, {}, QPoint(20, 20));
    QTest::mouseRelease(&canvas, Qt::LeftButton, {}, QPoint(20, 20));
}

void TestDotCanvas::releaseNamesTheButtonLetGo()
{
    DotCanvas canvas;
    canvas.setCanvasSize(QSize(100, 100));
    canvas.show();
    QVERIFY(QTest::qWaitForWindowExposed(&canvas));
    QSignalSpy ups(&canvas, &DotCanvas::mouseUp);
    QTest::mouseClick(&canvas, Qt::RightButton, {}, QPoint(7, 8));
    QCOMPARE(ups.size(), 1);
    QCOMPARE(report(ups.first()).Button, 2);
}

QTEST_MAIN(TestDotCanvas)
#include "tst_dotcanvas.moc"
