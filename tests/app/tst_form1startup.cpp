// The window's start-up with a font server: the glyph file's place and the first activation.

#include "common/Form1Fixture.h"
#include "editor/DotCanvas.h"

#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QTest>

namespace {
constexpr QRgb Grey = 0xffc8c8c8;
const QString noServer = QStringLiteral("TTEditが起動できませんでした");
} // namespace

class TestForm1Startup : public QObject, private Form1Fixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void dotsFileBesideTheProgram();
    void firstActivationShowsAndAttaches();
    void laterActivationsDoNotShow();
    void firstActivationAsksForAFont();
    void firstActivationWithoutServerGoesOn();
};

void TestForm1Startup::init()
{
    createForm();
}

void TestForm1Startup::cleanup()
{
    destroyForm();
}

void TestForm1Startup::dotsFileBesideTheProgram()
{
    QCOMPARE(m_form->dotsFileName,
             QCoreApplication::applicationDirPath() + QStringLiteral("/ptl_dots.bmp"));
    QVERIFY(m_form->bInteractive);
    QVERIFY(!m_form->bAskSave);
    QCOMPARE(m_form->fontKind, 0);
    // Nothing reaches the server before the window is activated.
    QVERIFY(m_ttedit->calls().isEmpty());
}

void TestForm1Startup::firstActivationShowsAndAttaches()
{
    Form1& f = *m_form;
    m_ttedit->openDocument(FakeTTEdit::Kind::Western);
    QVERIFY(f.bFirstActivate);
    f.Form_Activate();
    QVERIFY(!f.bFirstActivate);
    // The grid is drawn, the boxes show the code, and the font stands at it.
    QCOMPARE(*f.PictureDOT->pixel(QPoint(95, 10)), Grey);
    QCOMPARE(f.TextCode->text(), QStringLiteral("21"));
    QCOMPARE(m_ttedit->currentCode(), 33);
    QCOMPARE(f.fontKind, 1);
    // Shown: the window comes up with the server's.
    QVERIFY(f.isVisible());
    QVERIFY(m_ttedit->callNames().contains(QStringLiteral("Application.hwnd")));
    QVERIFY(m_prompt.shown().isEmpty());
}

void TestForm1Startup::laterActivationsDoNotShow()
{
    Form1& f = *m_form;
    m_ttedit->openDocument(FakeTTEdit::Kind::Western);
    f.Form_Activate();
    f.hide();
    m_ttedit->clearCalls();
    f.Form_Activate();
    QVERIFY(!f.isVisible());
    QVERIFY(!m_ttedit->callNames().contains(QStringLiteral("Application.hwnd")));
    QCOMPARE(m_ttedit->callNames().first(), QStringLiteral("Host.getObject"));
}

void TestForm1Startup::firstActivationAsksForAFont()
{
    Form1& f = *m_form;
    m_prompt.answer({true, false});
    f.Form_Activate();
    QCOMPARE(m_prompt.questions().size(), 2);
    QVERIFY(f.bAskSave);
    QCOMPARE(f.fontKind, 2);
    QCOMPARE(m_ttedit->kind(), FakeTTEdit::Kind::Japanese);
    QCOMPARE(m_ttedit->currentCode(), 33);
    QVERIFY(f.isVisible());
}

void TestForm1Startup::firstActivationWithoutServerGoesOn()
{
    Form1& f = *m_form;
    m_ttedit->setRunning(false);
    m_ttedit->setStartable(false);
    f.Form_Activate();
    // Told once by the code box's handling and once by the activation itself.
    QCOMPARE(m_prompt.messages(), (QStringList{noServer, noServer}));
    QVERIFY(!f.bFirstActivate);
    QCOMPARE(f.fontKind, 0);
    QCOMPARE(*f.PictureDOT->pixel(QPoint(95, 10)), Grey);
    QCOMPARE(f.char_, 33);
}

QTEST_MAIN(TestForm1Startup)
#include "tst_form1startup.moc"
