// The reference glyph behind the grid: its picture, on and off, the face and the sample label's
// resizing.

#include "chartable/CharTable.h"
#include "codes/ReferenceSample.h"
#include "common/Form1Fixture.h"
#include "editor/DotCanvas.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {
constexpr QRgb Black = 0xff000000;
constexpr QRgb White = 0xffffffff;
constexpr QRgb Grey = 0xffc8c8c8;
constexpr QRgb Red = 0xffff0000;
} // namespace

class TestForm1Reference : public QObject, private Form1Fixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void sampleInTheClearDots();
    void faceChange_data();
    void faceChange();
    void dragResizesTheSample();

private:
    void setCode(int code);
    // Pixels of the dots' boxes that differ from what the grid should show: set dots black,
    // clear dots the sample's pixel under them (sample stretched onto the 12 x 20 grid, 24 x 24
    // pixels after its first row and column make exactly 12 x 20 canvas pixels each), or white
    // when sample is null.
    int wrongPixels(const QImage& sample) const;
};

void TestForm1Reference::init()
{
    showForm(FakeTTEdit::Kind::Japanese);
    Form1& f = *m_form;
    f.CheckRefChar->setChecked(true);
    f.TextFace->setText(QStringLiteral("Liberation Sans"));
    f.LabelChar->resize(25, 25);
    setCode(65);
}

void TestForm1Reference::cleanup()
{
    destroyForm();
}

void TestForm1Reference::setCode(int code)
{
    m_form->char_ = code;
    m_form->drawGrid();
}

int TestForm1Reference::wrongPixels(const QImage& sample) const
{
    const Form1& f = *m_form;
    int wrong = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 12; ++x) {
            const bool set =
                CharTable::isSet(f.PictureBuf->image(), QPoint(f.bufX + x, f.bufY + y));
            const QRect box(f.ofsX + f.nX * x, f.ofsY + f.nY * y, f.nX - 1, f.nY - 1);
            for (int py = box.top(); py <= box.bottom(); ++py) {
                for (int px = box.left(); px <= box.right(); ++px) {
                    QRgb expected = set ? Black : White;
                    if (!set && !sample.isNull())
                        expected = sample.pixel(1 + (px - f.ofsX) / 12, 1 + (py - f.ofsY) / 20);
                    wrong += f.PictureDOT->image().pixel(px, py) != expected;
                }
            }
        }
    }
    return wrong;
}

void TestForm1Reference::sampleInTheClearDots()
{
    Form1& f = *m_form;
    const QImage a = f.LabelChar->sample();
    QCOMPARE(a.size(), QSize(25, 25));
    QCOMPARE(f.LabelChar->text(), QStringLiteral("A"));
    // Grey ink on the window colour, as the label shows it.
    QCOMPARE(a.pixel(0, 0), QApplication::palette().color(QPalette::Base).rgb());
    QImage paper(a.size(), a.format());
    paper.fill(a.pixel(0, 0));
    QVERIFY(a != paper);

    QTest::mouseClick(f.PictureDOT, Qt::LeftButton, {}, QPoint(f.ofsX + 3 * 24 + 5, 4 * 24 + 5));
    QVERIFY(CharTable::isSet(f.PictureBuf->image(), QPoint(f.bufX + 3, f.bufY + 4)));
    QCOMPARE(wrongPixels(a), 0);
    QCOMPARE(*f.PictureDOT->pixel(QPoint(f.ofsX - 1, 100)), Grey);
    QCOMPARE(*f.PictureDOT->pixel(QPoint(200, f.ofsY + 24 - 1)), Grey);
    // The right button shows the reference again where it clears a dot.
    QTest::mouseClick(f.PictureDOT, Qt::RightButton, {}, QPoint(f.ofsX + 3 * 24 + 5, 4 * 24 + 5));
    QVERIFY(!CharTable::isSet(f.PictureBuf->image(), QPoint(f.bufX + 3, f.bufY + 4)));
    QCOMPARE(wrongPixels(a), 0);

    // Off: the clear dots in their table colour, the controls disabled, the label on the
    // button face.  A code change while off captures nothing.
    f.CheckRefChar->setChecked(false);
    QCOMPARE(wrongPixels(QImage()), 0);
    QVERIFY(!f.LabelChar->isEnabled() && !f.TextFace->isEnabled() && !f.LabelCurFace->isEnabled());
    QCOMPARE(f.LabelChar->sample().pixel(0, 0),
             QApplication::palette().color(QPalette::Button).rgb());
    setCode(66);
    QCOMPARE(wrongPixels(QImage()), 0);
    // On again: the last capture, the A, until the next redraw shows the B.
    f.CheckRefChar->setChecked(true);
    QVERIFY(f.LabelChar->isEnabled() && f.TextFace->isEnabled() && f.LabelCurFace->isEnabled());
    QCOMPARE(wrongPixels(a), 0);
    f.drawGrid();
    const QImage b = f.LabelChar->sample();
    QVERIFY(b != a);
    QCOMPARE(wrongPixels(b), 0);
}

void TestForm1Reference::faceChange_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("used"); // empty: another face than the one typed

    QTest::newRow("installed face") << "DejaVu Serif"
                                    << "DejaVu Serif";
    QTest::newRow("unknown face") << "No Such Face 123"
                                  << "";
    QTest::newRow("alias of the face in use") << "Arial"
                                              << "Liberation Sans";
    QTest::newRow("empty box") << ""
                               << "Liberation Sans";
}

void TestForm1Reference::faceChange()
{
    QFETCH(QString, face);
    QFETCH(QString, used);
    Form1& f = *m_form;
    QCOMPARE(f.curFace, QStringLiteral("Liberation Sans"));
    QCOMPARE(f.LabelCurFace->text(), f.curFace);
    // A mark on the reference canvas: only a face that really changes captures anew.
    f.refCanvas->setPixel(QPoint(f.ofsX + 1, 1), Red);

    f.TextFace->setText(face);
    QCOMPARE(f.LabelCurFace->text(), f.curFace);
    QCOMPARE(f.LabelChar->fontInfo().family(), f.curFace);
    if (used.isEmpty())
        QVERIFY(f.curFace != face && !f.curFace.isEmpty());
    else
        QCOMPARE(f.curFace, used);
    const bool changed = f.curFace != QStringLiteral("Liberation Sans");
    QCOMPARE(*f.refCanvas->pixel(QPoint(f.ofsX + 1, 1)) != Red, changed);
    if (changed)
        QCOMPARE(wrongPixels(f.LabelChar->sample()), 0);
}

void TestForm1Reference::dragResizesTheSample()
{
    Form1& f = *m_form;
    QWidget* label = f.LabelChar;
    label->resize(37, 37);
    QCOMPARE(QSizeF(f.labelMaxW, f.labelMaxH), QSizeF(37, 37));
    f.PictureDOT->setPixel(QPoint(20, 20), Red);

    // Each side follows the pointer while it stays above 5 pixels and within the start size.
    const QList<QPair<QPoint, QSize>> steps{{{-31, -10}, {6, 27}},  {{-1, 0}, {6, 27}},
                                            {{40, 0}, {6, 27}},     {{31, 10}, {37, 37}},
                                            {{-12, -12}, {25, 25}}, {{0, 20}, {25, 25}}};
    QPoint at(20, 20);
    QTest::mousePress(label, Qt::RightButton, {}, at);
    for (const auto& [move, size] : steps) {
        at += move;
        QTest::mouseMove(label, at);
        QCOMPARE(label->size(), size);
    }
    QCOMPARE(*f.PictureDOT->pixel(QPoint(20, 20)), Red); // nothing redrawn while held
    QTest::mouseRelease(label, Qt::RightButton, {}, at);
    QCOMPARE(f.dragState, 0);
    // The release redraws the whole grid with the new box.
    QCOMPARE(*f.PictureDOT->pixel(QPoint(20, 20)), White);
    QCOMPARE(wrongPixels(f.LabelChar->sample()), 0);

    // Off, the label is disabled and cannot be dragged.
    f.CheckRefChar->setChecked(false);
    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(label, QPoint(2, 2));
    QCOMPARE(label->size(), QSize(25, 25));
}

QTEST_MAIN(TestForm1Reference)
#include "tst_form1reference.moc"
