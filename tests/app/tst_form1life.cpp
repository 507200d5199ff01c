// The window's life: loading before it is shown, the exit by the close box and by File > exit,
// the activations after another window of the program, and coming forward for a later copy.

#include "app/DialogAutoScanning.h"
#include "app/DialogScanAll.h"
#include "app/SettingsTable.h"
#include "app/SingleCopy.h"
#include "app/frmAbout.h"
#include "chartable/PreviewWindow.h"
#include "common/Form1Fixture.h"
#include "editor/DotCanvas.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QSettings>
#include <QSlider>
#include <QTest>
#include <QTimer>

namespace {

// Makes w the active window and waits until the program has been told.
bool activate(QWidget* w)
{
    w->activateWindow();
    return QTest::qWaitFor([w] { return QGuiApplication::focusWindow() == w->windowHandle(); });
}

const QString notSaved = QStringLiteral("TTEditでフォントがセーブされていません。セーブしますか？");
const QString noServer = QStringLiteral("TTEditが起動できませんでした");
} // namespace

class TestForm1Life : public QObject, private Form1Fixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void loadedBeforeShown();
    void exit_data();
    void exit();
    void laterActivation_data();
    void laterActivation();
    void unreachableServerIsToldOnce();
    void laterCopyBringsTheWindowForward();

private:
    QString ini() const { return m_form->iniFileName; }
};

void TestForm1Life::init()
{
    clearUserStore();
    createForm(FakeTTEdit::Kind::Western);
}

void TestForm1Life::cleanup()
{
    destroyForm();
}

void TestForm1Life::loadedBeforeShown()
{
    Form1& f = *m_form;
    QFile file(ini());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[POINTILLO]\nX=16\n");
    file.close();
    f.Form_Load();
    QCOMPARE(f.LabelInfo->text(),
             QStringLiteral("\"Pointillo\" version 1.08 for TTEdit  (C) marrowby"));
    QCOMPARE(f.LabelChar->width(), f.LabelChar->height());
    QCOMPARE(QSizeF(f.labelMaxW, f.labelMaxH), QSizeF(f.LabelChar->size()));
    QCOMPARE(f.SliderDotX->value(), 16);
    QVERIFY(f.bFirstActivate && !f.bAskSave && f.fontKind == 0 && f.bInteractive);
    QVERIFY(!f.isVisible());
    QVERIFY(m_ttedit->calls().isEmpty());
}

void TestForm1Life::exit_data()
{
    QTest::addColumn<bool>("byMenu");
    QTest::addColumn<bool>("askSave"); // this run created or took the font
    QTest::addColumn<QString>("font");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<int>("saves");

    QTest::newRow("close box, font not made here")
        << false << false << "unsaved" << true << false << 0;
    QTest::newRow("exit, unsaved, Yes") << true << true << "unsaved" << true << true << 1;
    QTest::newRow("close box, unsaved, No") << false << true << "unsaved" << false << true << 0;
    QTest::newRow("exit, saved") << true << true << "saved" << true << false << 0;
    QTest::newRow("close box, state unreadable, Yes")
        << false << true << "unreadable" << true << true << 1;
    QTest::newRow("exit, server gone") << true << true << "gone" << true << false << 0;
    QTest::newRow("close box, font closed") << false << true << "closed" << true << false << 0;
}

void TestForm1Life::exit()
{
    QFETCH(bool, byMenu);
    QFETCH(bool, askSave);
    QFETCH(QString, font);
    QFETCH(bool, yes);
    Form1& f = *m_form;
    f.Form_Load();
    showAtOrigin(f);
    f.Form_Activate();
    QCOMPARE(f.refCanvas->image().size(), QSize(514, 514));
    f.bAskSave = askSave;
    m_ttedit->setSaved(font == "saved");
    if (font == "unreadable")
        m_ttedit->setFailing(QStringLiteral("saved"));
    else if (font == "gone")
        m_ttedit->setRunning(false);
    else if (font == "closed")
        m_ttedit->closeDocument();
    // The batch's windows stay after a run, hidden or not; none may keep the program going.
    f.autoScanningDialog().show();
    f.scanAllDialog();
    f.mnupreview->trigger();
    f.SliderDotX->setValue(9);

    // The settings and the table are written before the question.
    bool writtenFirst = false;
    m_prompt.onAsk = [&](const QString&) {
        writtenFirst = QFile::exists(ini()) && QFile::exists(QStringLiteral("ptl_buf.bmp"));
        return yes;
    };
    if (byMenu)
        f.mnuexit->trigger();
    else
        QVERIFY(f.close());
    QVERIFY(!f.isVisible());
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    QTEST(m_prompt.questions() == QStringList{notSaved}, "asked");
    QCOMPARE(writtenFirst, m_prompt.questions().size() == 1);
    QVERIFY(m_prompt.shown().isEmpty() || m_prompt.shown().first().systemModal);
    if (font != "closed")
        QTEST(m_ttedit->saveCount(), "saves");
    QCOMPARE(SettingsTable::openUserStore()->value(QStringLiteral("X")).toString(),
             QStringLiteral("9"));
    QFile file(ini());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith("[POINTILLO]\nX= 9\nY= 20\n"));
    QVERIFY(QFile::exists(QStringLiteral("ptl_buf.bmp")));
}

void TestForm1Life::laterActivation_data()
{
    // The windows active one after another before the main window is again.
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<bool>("runs");
    QTest::newRow("a dialog") << QStringList{"dialog"} << true;
    QTest::newRow("a message box") << QStringList{"box"} << false;
    QTest::newRow("another application") << QStringList{"elsewhere"} << false;
    QTest::newRow("a dialog, then another application")
        << QStringList{"dialog", "elsewhere"} << true;
    QTest::newRow("a dialog's message box") << QStringList{"dialog", "box"} << false;
    QTest::newRow("a message box, then a dialog") << QStringList{"box", "dialog"} << true;
    QTest::newRow("the preview") << QStringList{"preview"} << true;
    QTest::newRow("the about box") << QStringList{"about"} << true;
    QTest::newRow("the range dialog") << QStringList{"range"} << true;
    QTest::newRow("the progress window, then a message box")
        << QStringList{"progress", "box"} << false;
    QTest::newRow("the progress window") << QStringList{"progress"} << true;
}

void TestForm1Life::laterActivation()
{
    QFETCH(QStringList, before);
    QFETCH(bool, runs);
    Form1& f = *m_form;
    showAtOrigin(f);
    f.Form_Activate();
    m_ttedit->clearCalls();
    QDialog dialog(&f);
    frmAbout about(f);
    QMessageBox box(QMessageBox::NoIcon, f.windowTitle(), QStringLiteral("?"), QMessageBox::Ok, &f);
    for (const QString& window : before) {
        if (window == "elsewhere") {
            // What the window system reports when another application takes the focus.
            emit qApp->focusWindowChanged(nullptr);
            continue;
        }
        QWidget* w = &box;
        if (window == "dialog") {
            w = &dialog;
        } else if (window == "about") {
            w = &about;
        } else if (window == "range") {
            w = &f.scanAllDialog();
        } else if (window == "progress") {
            w = &f.autoScanningDialog();
        } else if (window == "preview") {
            f.mnupreview->trigger();
            w = f.preview();
        }
        w->show();
        QVERIFY(activate(w));
        w->hide();
    }
    QVERIFY(activate(&f));
    // The activation waits for the event loop.
    QCoreApplication::processEvents();
    // Later activations attach afresh and do not show the server.
    QCOMPARE(m_ttedit->callNames().contains(QStringLiteral("Host.getObject")), runs);
    QVERIFY(!m_ttedit->callNames().contains(QStringLiteral("Application.hwnd")));
}

void TestForm1Life::unreachableServerIsToldOnce()
{
    // Real message boxes: each is answered as it comes, and the main window then gets the
    // focus back, as a window manager gives it.
    m_ttedit->setRunning(false);
    m_ttedit->setStartable(false);
    const QString file = ini();
    m_form = std::make_unique<Form1>(nullptr, m_ttedit.get(), &m_desktop);
    m_form->iniFileName = file;
    Form1& f = *m_form;
    showAtOrigin(f);
    QStringList told;
    QTimer answerer;
    connect(&answerer, &QTimer::timeout, &f, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            told << box->text();
            box->accept();
            QTimer::singleShot(0, &f, [&f] { f.activateWindow(); });
        }
    });
    answerer.start(10);
    // Told by the code box's set-up and by the activation's own.
    f.Form_Activate();
    QCOMPARE(told.size(), 2);
    QTRY_COMPARE(QGuiApplication::focusWindow(), f.windowHandle());

    QDialog dialog(&f);
    dialog.show();
    QVERIFY(activate(&dialog));
    dialog.hide();
    QVERIFY(activate(&f));
    QTRY_COMPARE(told.size(), 3);
    QTest::qWait(300);
    QCOMPARE(told, QStringList(3, noServer));
}

void TestForm1Life::laterCopyBringsTheWindowForward()
{
    Form1& f = *m_form;
    showAtOrigin(f);
    QWidget elsewhere; // another window in front
    elsewhere.show();
    QVERIFY(activate(&elsewhere));
    const QString name = m_workDir->filePath(QStringLiteral("copies"));
    SingleCopy first(name);
    connect(&first, &SingleCopy::comeForward, &f, &Form1::comeForward);
    QVERIFY(first.claim());
    QVERIFY(!SingleCopy(name).claim());
    QTRY_VERIFY(f.isActiveWindow());

    // The question the window has open comes forward, not the window behind it.
    QDialog question(&f);
    question.setModal(true);
    question.show();
    QVERIFY(activate(&elsewhere));
    QVERIFY(!SingleCopy(name).claim());
    QTRY_VERIFY(question.isActiveWindow());
}

QTEST_MAIN(TestForm1Life)
#include "tst_form1life.moc"
