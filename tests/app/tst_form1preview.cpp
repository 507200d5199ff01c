#include "chartable/CharTable.h"
#include "chartable/PreviewView.h"
#include "chartable/PreviewWindow.h"
#include "common/Form1Fixture.h"
#include "common/SampleTable.h"
#include "editor/DotCanvas.h"

#include <QAction>
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
    // The preview shows text set from the table's cells at the glyph size, at every scale.
    void verifyPicture(const QString& text, int codeOfEach);
};

void TestForm1Preview::init()
{
    QSettings(QStringLiteral("marrowby"), QStringLiteral("marrowby")).clear();
    showForm(FakeTTEdit::Kind::Japanese);
    m_form->PictureBuf->image() = SampleTable::make();
    m_form->drawGrid();
}

void TestForm1Preview::cleanup()
{
    destroyForm();
}

void TestForm1Preview::verifyPicture(const QString& text, int code)
{
    // Every character of text is the same one, of code, or one without a cell (code -1).
    const Form1& f = *m_form;
    PreviewView& view = *f.preview()->PictureLine;
    const QImage picture = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage& table = f.PictureBuf->image();
    const int w = f.SliderDotX->value();
    const int h = f.SliderDotY->value();
    const QPoint cell = CharTable::cellOrigin(code);
    for (int scale : PreviewView::Scales) {
        const QRect line = view.lineRect(scale);
        QCOMPARE(line.size(), QSize((int(text.size()) * (w + 1) - 1) * scale, h * scale));
        for (int y = 0; y < line.height(); ++y) {
            for (int x = 0; x < line.width(); ++x) {
                const int dotX = x / scale % (w + 1);
                const int dotY = y / scale;
                QRgb expected = White;
                if (dotX == w)
                    expected = White; // between two characters
                else if (code >= 0)
                    expected = table.pixel(cell + QPoint(dotX, dotY));
                else if (dotX == 0 || dotY == 0 || dotX == w - 1 || dotY == h - 1)
                    expected = Grey; // an empty box
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

    // The current glyph, code 33, again and again.
    f.preview()->TextSample->setText(QStringLiteral("!!!"));
    verifyPicture(QStringLiteral("!!!"), 33);
    // A dot painted on the grid shows at once.
    const QPoint dot(f.ofsX + f.nX * 3 + 2, f.ofsY + f.nY * 5 + 2);
    QVERIFY(!CharTable::isSet(f.PictureBuf->image(), QPoint(f.bufX + 3, f.bufY + 5)));
    QTest::mouseClick(f.PictureDOT, Qt::LeftButton, {}, dot);
    QVERIFY(CharTable::isSet(f.PictureBuf->image(), QPoint(f.bufX + 3, f.bufY + 5)));
    verifyPicture(QStringLiteral("!!!"), 33);
    // So does a new glyph size, and a glyph operation.
    f.SliderDotX->setValue(7);
    f.SliderDotY->setValue(9);
    verifyPicture(QStringLiteral("!!!"), 33);
    f.CommandRev_Click();
    verifyPicture(QStringLiteral("!!!"), 33);
    // Characters without a cell: codes of 256 and above, and none at all.
    f.preview()->TextSample->setText(QStringLiteral("あ\u20AC"));
    verifyPicture(QStringLiteral("あ\u20AC"), -1);
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
