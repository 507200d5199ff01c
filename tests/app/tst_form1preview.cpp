#include "chartable/CharTable.h"
#include "chartable/PreviewView.h"
#include "chartable/PreviewWindow.h"
#include "common/Form1Fixture.h"
#include "common/SampleTable.h"
#include "editor/DotCanvas.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QSettings>
#include <QSlider>
#include <QTest>

namespace {
constexpr QRgb White = 0xffffffff;
constexpr QRgb Grey = 0xffc8c8c8;
} // namespace

class TestForm1Preview : public QObject, private Form1Fixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void lineFollowsTheTable();
    void textAndPlacementAreKept();

private:
    // The preview shows its line set from the table's cells at the glyph size, at every
    // scale, pixel for pixel.
    void verifyPicture(const QList<int>& codes);
};

void TestForm1Preview::init()
{
    QSettings(QStringLiteral("marrowby"), QStringLiteral("marrowby")).clear();
    showForm(FakeTTEdit::Kind::Japanese);
    m_form->store().setPage(0, SampleTable::make());
    m_form->drawGrid();
}

void TestForm1Preview::cleanup()
{
    destroyForm();
}

void TestForm1Preview::verifyPicture(const QList<int>& codes)
{
    // Each character is its code's glyph, or an empty box for code -1, the boxes side by side
    // as the font without side bearings advances them.
    const Form1& f = *m_form;
    PreviewView& view = *f.preview()->PictureLine;
    const QImage picture = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int w = f.SliderDotX->value();
    const int h = f.SliderDotY->value();
    for (int scale : PreviewView::Scales) {
        const QRect line = view.lineRect(scale);
        QCOMPARE(line.size(), QSize(int(codes.size()) * w * scale, h * scale));
        for (int y = 0; y < line.height(); ++y) {
            for (int x = 0; x < line.width(); ++x) {
                const int code = codes[x / scale / w];
                const QPoint dot(x / scale % w, y / scale);
                QRgb expected = White; // inside an empty box
                if (code >= 0)
                    expected = *f.store().pixel(code, dot);
                else if (dot.x() == 0 || dot.y() == 0 || dot.x() == w - 1 || dot.y() == h - 1)
                    expected = Grey;
                if (picture.pixel(line.topLeft() + QPoint(x, y)) != expected)
                    QFAIL(qPrintable(QStringLiteral("%1x at %2, %3").arg(scale).arg(x).arg(y)));
            }
        }
    }
}

void TestForm1Preview::lineFollowsTheTable()
{
    Form1& f = *m_form;
    QVERIFY(!f.preview());
    f.mnupreview->trigger();
    QVERIFY(f.preview()->isVisible());
    QCOMPARE(f.preview()->TextSample->text(), PreviewWindow::defaultText());
    QCOMPARE(f.preview()->windowTitle(), QStringLiteral("Preview"));

    // The current glyph, code 33, a half-width katakana of one byte, and characters without a
    // glyph: one of two bytes, one without a code.
    f.preview()->TextSample->setText(QStringLiteral("!ｱ!あ\u20AC"));
    const QList<int> codes{33, 0xB1, 33, -1, -1};
    verifyPicture(codes);
    // A dot painted on the grid shows at once.
    const QPoint dot(f.ofsX + f.nX * 3 + 2, f.ofsY + f.nY * 5 + 2);
    QVERIFY(!CharTable::isSet(f.PictureBuf->image(), QPoint(f.bufX + 3, f.bufY + 5)));
    QTest::mouseClick(f.PictureDOT, Qt::LeftButton, {}, dot);
    QVERIFY(CharTable::isSet(f.PictureBuf->image(), QPoint(f.bufX + 3, f.bufY + 5)));
    verifyPicture(codes);
    // So does a new glyph size, and a glyph operation.
    f.SliderDotX->setValue(7);
    f.SliderDotY->setValue(9);
    verifyPicture(codes);
    f.CommandRev_Click();
    verifyPicture(codes);
    // A double-byte character shows its glyph once it has a dot.
    f.goToCode(0x82A0);
    QTest::mouseClick(f.PictureDOT, Qt::LeftButton, {}, dot);
    verifyPicture({33, 0xB1, 33, 0x82A0, -1});

    // With side bearings each glyph's ink stands between them, in whole dots of the font: a
    // glyph of one dot column and 20 units each side at a pitch of 24 (48 units a dot) gives
    // 0 + 1 + 0, and 30 units one dot each side.
    f.preview()->TextSample->setText(QStringLiteral("!!"));
    f.SliderDotX->setValue(12);
    f.SliderDotY->setValue(20);
    f.CheckSquare->setChecked(true);
    f.goToCode(0x21);
    f.CommandClear_Click();
    QTest::mouseClick(f.PictureDOT, Qt::LeftButton, {}, QPoint(f.ofsX + f.nX * 4 + 2, 2));
    f.CheckSB->setChecked(true);
    for (const auto& [bearing, width] : {std::pair{"20", 2}, std::pair{"30", 6}}) {
        f.TextLSB->setText(QLatin1String(bearing));
        f.TextRSB->setText(QLatin1String(bearing));
        QCOMPARE(f.preview()->PictureLine->line().width(), width);
    }
}

void TestForm1Preview::textAndPlacementAreKept()
{
    m_form->mnupreview->trigger();
    PreviewWindow* preview = m_form->preview();
    preview->TextSample->setText(QStringLiteral("Hamburgefonstiv"));
    preview->resize(500, 300);
    preview->close();
    QVERIFY(!preview->isVisible());
    const QSize size = preview->size();

    createForm(FakeTTEdit::Kind::Japanese);
    m_form->mnupreview->trigger();
    QCOMPARE(m_form->preview()->TextSample->text(), QStringLiteral("Hamburgefonstiv"));
    QCOMPARE(m_form->preview()->size(), size);
}

QTEST_MAIN(TestForm1Preview)
#include "tst_form1preview.moc"
