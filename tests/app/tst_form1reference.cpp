// The reference glyph behind the grid: its picture, on and off, the face, the sample's drag.

#include "chartable/CharTable.h"
#include "common/Form1Fixture.h"
#include "editor/DotCanvas.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

class TestForm1Reference : public QObject, private Form1Fixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { destroyForm(); }
    void sampleInTheClearDots();
    void faceChange();
    void dragResizesTheSample();

private:
    // Pixels of the dots' boxes other than they should be: set dots black, clear dots the
    // sample's pixel under them (its 24 x 24 pixels after the first row and column span the
    // 12 x 20 grid at 12 x 20 canvas pixels each), or white when sample is null.
    int wrongPixels(const QImage& sample) const;
};

void TestForm1Reference::init()
{
    showForm(FakeTTEdit::Kind::Japanese);
    m_form->CheckRefChar->setChecked(true);
    m_form->TextFace->setText(QStringLiteral("Liberation Serif"));
    m_form->LabelChar->resize(25, 25);
    m_form->char_ = 65;
    m_form->drawGrid();
}

int TestForm1Reference::wrongPixels(const QImage& sample) const
{
    const Form1& f = *m_form;
    int wrong = 0;
    for (int y = 0; y < 20 * f.nY; ++y) {
        for (int x = 0; x < 12 * f.nX; ++x) {
            if (x % f.nX == f.nX - 1 || y % f.nY == f.nY - 1)
                continue; // a grid line
            QRgb expected = sample.isNull() ? 0xffffffff : sample.pixel(1 + x / 12, 1 + y / 20);
            if (CharTable::isSet(f.PictureBuf->image(),
                                 QPoint(f.bufX + x / f.nX, f.bufY + y / f.nY)))
                expected = CharTable::SetColour;
            wrong += f.PictureDOT->image().pixel(f.ofsX + x, f.ofsY + y) != expected;
        }
    }
    return wrong;
}

void TestForm1Reference::sampleInTheClearDots()
{
    Form1& f = *m_form;
    const QImage a = f.LabelChar->sample();
    QCOMPARE(a.pixel(0, 0), QApplication::palette().color(QPalette::Base).rgb());

    const QPoint dot(f.ofsX + 3 * 24 + 5, 4 * 24 + 5);
    QTest::mouseClick(f.PictureDOT, Qt::LeftButton, {}, dot);
    QCOMPARE(wrongPixels(a), 0);
    QCOMPARE(*f.PictureDOT->pixel(QPoint(f.ofsX - 1, 100)), qRgb(200, 200, 200));
    QCOMPARE(*f.PictureDOT->pixel(QPoint(200, f.ofsY + 23)), qRgb(200, 200, 200));
    // The right button shows the reference again where it clears a dot.
    QTest::mouseClick(f.PictureDOT, Qt::RightButton, {}, dot);
    QVERIFY(!CharTable::isSet(f.PictureBuf->image(), QPoint(f.bufX + 3, f.bufY + 4)));
    QCOMPARE(wrongPixels(a), 0);

    // Off: clear dots in their table colour, controls disabled, the label on the button face.
    f.CheckRefChar->setChecked(false);
    QCOMPARE(wrongPixels(QImage()), 0);
    QVERIFY(!f.LabelChar->isEnabled() && !f.TextFace->isEnabled() && !f.LabelCurFace->isEnabled());
    QCOMPARE(f.LabelChar->sample().pixel(0, 0),
             QApplication::palette().color(QPalette::Button).rgb());
    // A code changed while off captures nothing: on again shows the A until the next redraw.
    f.char_ = 66;
    f.drawGrid();
    f.CheckRefChar->setChecked(true);
    QVERIFY(f.LabelChar->isEnabled() && f.TextFace->isEnabled() && f.LabelCurFace->isEnabled());
    QCOMPARE(wrongPixels(a), 0);
    f.drawGrid();
    QVERIFY(f.LabelChar->sample() != a); // neither is blank
    QCOMPARE(wrongPixels(f.LabelChar->sample()), 0);
}

void TestForm1Reference::faceChange()
{
    Form1& f = *m_form;
    QCOMPARE(f.LabelCurFace->text(), QStringLiteral("Liberation Serif"));
    // A name for the face in use, or an empty box, changes nothing and captures nothing.
    const QPoint mark(f.ofsX + 1, 1);
    f.refCanvas->setPixel(mark, qRgb(255, 0, 0));
    for (const char* same : {"Times New Roman", ""}) {
        f.TextFace->setText(QLatin1String(same));
        QCOMPARE(f.curFace, QStringLiteral("Liberation Serif"));
    }
    QCOMPARE(*f.refCanvas->pixel(mark), qRgb(255, 0, 0));
    // An unknown face: the substitute is named and captured.
    f.TextFace->setText(QStringLiteral("No Such Face"));
    QVERIFY(f.curFace != QStringLiteral("No Such Face") && f.curFace != "Liberation Serif");
    QCOMPARE(f.LabelCurFace->text(), f.curFace);
    QCOMPARE(f.LabelChar->fontInfo().family(), f.curFace);
    QCOMPARE(wrongPixels(f.LabelChar->sample()), 0);
}

void TestForm1Reference::dragResizesTheSample()
{
    Form1& f = *m_form;
    QWidget* label = f.LabelChar;
    label->resize(37, 37);
    QCOMPARE(QSizeF(f.labelMaxW, f.labelMaxH), QSizeF(37, 37));
    f.PictureDOT->setPixel(QPoint(20, 20), qRgb(255, 0, 0));
    // Each side follows the pointer while it stays above 5 pixels and within the start size.
    const QList<QPair<QPoint, QSize>> steps{{{-31, -10}, {6, 27}}, {{-1, 0}, {6, 27}},
                                            {{40, 0}, {6, 27}},    {{31, 10}, {37, 37}},
                                            {{0, 1}, {37, 37}},    {{-12, -12}, {25, 25}}};
    QPoint at(20, 20);
    QTest::mousePress(label, Qt::RightButton, {}, at);
    for (const auto& [move, size] : steps) {
        QTest::mouseMove(label, at += move);
        QCOMPARE(label->size(), size);
    }
    QCOMPARE(*f.PictureDOT->pixel(QPoint(20, 20)), qRgb(255, 0, 0)); // no redraw while held
    // The release redraws the whole grid with the new box.
    QTest::mouseRelease(label, Qt::RightButton, {}, at);
    QCOMPARE(f.dragState, 0);
    QCOMPARE(*f.PictureDOT->pixel(QPoint(20, 20)), qRgb(255, 255, 255));
    QCOMPARE(wrongPixels(f.LabelChar->sample()), 0);
    // Off, the label is disabled and cannot be dragged.
    f.CheckRefChar->setChecked(false);
    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(label, QPoint(2, 2));
    QCOMPARE(label->size(), QSize(25, 25));
}

QTEST_MAIN(TestForm1Reference)
#include "tst_form1reference.moc"
