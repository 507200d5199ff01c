// The window's life: loading before it is shown, the exit by the close box and by File > exit,
// the activations after another window of the program, coming forward for a later copy, and
// the real program started again while it runs, and twice at once after a crash.

#include "app/DialogAutoScanning.h"
#include "app/DialogScanAll.h"
#include "app/SingleCopy.h"
#include "app/frmAbout.h"
#include "chartable/PreviewWindow.h"
#include "common/Form1Fixture.h"
#include "editor/DotCanvas.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QSettings>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include <pwd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// Makes w the active window and waits until the program has been told.
bool activate(QWidget* w)
{
    w->activateWindow();
    return QTest::qWaitFor([w] { return QGuiApplication::focusWindow() == w->windowHandle(); });
}

// A socket file with nobody behind it, as a copy that crashed leaves it.
bool leaveStaleSocket(const QString& name)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, QFile::encodeName(name).constData(), sizeof address.sun_path);
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound = bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return bound;
}

// The files' bytes and times, to tell that nobody wrote them.
QStringList stamps(const QStringList& files)
{
    QStringList all;
    for (const QString& name : files) {
        QFile file(name);
        all << (file.open(QIODevice::ReadOnly) ? file.readAll().toHex() : "(none)") +
                   QFileInfo(file).lastModified().toString(Qt::ISODateWithMs);
    }
    return all;
}

} // namespace

class TestForm1Life : public QObject, private Form1Fixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void exit_data();
    void exit();
    void laterActivation_data();
    void laterActivation();
    void unreachableServerIsToldOnce();
    void laterCopyBringsTheWindowForward();
    void secondProgramTouchesNothing();
    void twoProgramsAtOnceLeaveOne();
    void socketWithoutRuntimeFolder();

private:
    // The program, copied beside a settings file of its own, started in the work folder with
    // a home of its own; without a session bus it stays at its first message.
    QProcess* start();
    QString home() const { return m_workDir->filePath("home"); }
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

void TestForm1Life::init()
{
    clearUserStore();
    createForm(FakeTTEdit::Kind::Western);
}

void TestForm1Life::cleanup()
{
    destroyForm();
    for (const auto& p : m_processes) {
        p->kill();
        p->waitForFinished(5000);
    }
    m_processes.clear();
}

QProcess* TestForm1Life::start()
{
    const QString program = m_workDir->filePath("bin/pointillo");
    if (!QFile::exists(program)) {
        QDir().mkpath(m_workDir->filePath("bin"));
        QDir().mkpath(home() + "/.config/marrowby");
        QFile::copy(qEnvironmentVariable("POINTILLO_BIN_DIR") + "/pointillo", program);
    }
    auto* p = m_processes.emplace_back(std::make_unique<QProcess>()).get();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home());
    env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=/none");
    p->setProcessEnvironment(env);
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->start(program, {});
    return p;
}

void TestForm1Life::exit_data()
{
    QTest::addColumn<bool>("byMenu");
    QTest::addColumn<bool>("askSave"); // this run created or took the font
    QTest::addColumn<QString>("font");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<int>("saves");
    QTest::newRow("close box, font not made here") << false << false << "" << true << false << 0;
    QTest::newRow("exit, unsaved, Yes") << true << true << "" << true << true << 1;
    QTest::newRow("close box, unsaved, No") << false << true << "" << false << true << 0;
    QTest::newRow("exit, saved") << true << true << "saved" << true << false << 0;
    QTest::newRow("close box, state unreadable")
        << false << true << "unreadable" << true << true << 1;
    QTest::newRow("exit, server gone") << true << true << "gone" << true << false << 0;
    QTest::newRow("close box, font closed") << false << true << "closed" << true << false << -1;
    QTest::newRow("exit, unsaved, Yes, save fails")
        << true << true << "save fails" << true << true << 0;
}

void TestForm1Life::exit()
{
    QFETCH(QString, font);
    QFETCH(bool, yes);
    Form1& f = *m_form;
    f.Form_Load();
    QCOMPARE(f.LabelInfo->text(), "\"Pointillo\" version 1.08 for TTEdit  (C) marrowby");
    QCOMPARE(QSizeF(f.labelMaxW, f.labelMaxH),
             QSizeF(f.LabelChar->height(), f.LabelChar->height()));
    QVERIFY(f.bFirstActivate && m_ttedit->calls().isEmpty());
    showAtOrigin(f);
    f.Form_Activate();
    QCOMPARE(f.refCanvas->image().size(), QSize(514, 514));
    QFETCH(bool, askSave);
    f.bAskSave = askSave;
    m_ttedit->setSaved(font == "saved");
    if (font == "unreadable")
        m_ttedit->setFailing(QStringLiteral("saved"));
    m_ttedit->setRunning(font != "gone");
    if (font == "closed")
        m_ttedit->closeDocument();
    m_ttedit->setFailing(QStringLiteral("save"), font == "save fails");
    // The batch's windows stay after a run, hidden or shown; none may keep the program going.
    f.autoScanningDialog().show();
    f.scanAllDialog();
    f.mnupreview->trigger();
    f.SliderDotX->setValue(9);

    // The settings and the table are written before the question.
    bool writtenFirst = false;
    m_prompt.onAsk = [&](const QString&) {
        writtenFirst = QFile::exists(f.iniFileName) && QFile::exists("ptl_buf.bmp");
        return yes;
    };
    QFETCH(bool, byMenu);
    if (byMenu)
        f.mnuexit->trigger();
    else
        QVERIFY(f.close());
    if (font == "save fails") {
        // Told, and the window stays: the font would be lost with the session.
        QVERIFY(f.isVisible());
        QCOMPARE(m_prompt.messages(), QStringList{"TTEditでフォントをセーブできませんでした"});
        m_prompt.clear();
        m_prompt.answer({false});
        f.mnuexit->trigger();
    }
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    const QStringList question{"TTEditでフォントがセーブされていません。セーブしますか？"};
    QTEST(m_prompt.questions() == question, "asked");
    QCOMPARE(writtenFirst, m_prompt.questions() == question);
    QVERIFY(m_prompt.shown().isEmpty() || m_prompt.shown().first().systemModal);
    if (font != "closed")
        QTEST(m_ttedit->saveCount(), "saves");
    QCOMPARE(SettingsTable::openUserStore()->value("X"), QVariant("9"));
    QFile file(f.iniFileName);
    QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll().startsWith("[POINTILLO]\nX= 9\n"));
}

void TestForm1Life::laterActivation_data()
{
    // The windows active one after another before the main window is again.
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<bool>("runs");
    QTest::newRow("the about box") << QStringList{"about"} << true;
    QTest::newRow("the range dialog") << QStringList{"range"} << true;
    QTest::newRow("the progress window") << QStringList{"progress"} << true;
    QTest::newRow("the preview") << QStringList{"preview"} << true;
    QTest::newRow("a message box") << QStringList{"box"} << false;
    QTest::newRow("a file dialog") << QStringList{"file"} << false;
    QTest::newRow("another application") << QStringList{"elsewhere"} << false;
    QTest::newRow("the about box, then another application")
        << QStringList{"about", "elsewhere"} << true;
    QTest::newRow("the progress window's message box") << QStringList{"progress", "box"} << false;
    QTest::newRow("a message box, then the range dialog") << QStringList{"box", "range"} << true;
}

void TestForm1Life::laterActivation()
{
    QFETCH(QStringList, before);
    Form1& f = *m_form;
    showAtOrigin(f);
    f.Form_Activate();
    m_ttedit->clearCalls();
    frmAbout about(f);
    QMessageBox box(QMessageBox::NoIcon, f.windowTitle(), "?", QMessageBox::Ok, &f);
    QFileDialog files(&f);
    f.mnupreview->trigger();
    const QMap<QString, QWidget*> windows{{"about", &about},
                                          {"range", &f.scanAllDialog()},
                                          {"progress", &f.autoScanningDialog()},
                                          {"preview", f.preview()},
                                          {"box", &box},
                                          {"file", &files}};
    for (const QString& window : before) {
        // What the window system reports when another application takes the focus.
        if (window == "elsewhere") {
            emit qApp->focusWindowChanged(nullptr);
            continue;
        }
        windows[window]->show();
        QVERIFY(activate(windows[window]));
        windows[window]->hide();
    }
    QVERIFY(activate(&f));
    QCoreApplication::processEvents();
    // A later activation attaches afresh and does not show the server.
    QTEST(m_ttedit->callNames().contains("Host.getObject"), "runs");
    QVERIFY(!m_ttedit->callNames().contains("Application.hwnd"));
}

void TestForm1Life::unreachableServerIsToldOnce()
{
    // Real message boxes, each answered as it comes; the main window then gets the focus
    // back, as a window manager gives it.
    m_ttedit->setRunning(false);
    m_ttedit->setStartable(false);
    m_form = std::make_unique<Form1>(nullptr, m_ttedit.get(), &m_desktop);
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
    frmAbout about(f);
    about.show();
    QVERIFY(activate(&about));
    about.hide();
    QVERIFY(activate(&f));
    QTRY_COMPARE(told.size(), 3);
    QTest::qWait(300);
    QCOMPARE(told, QStringList(3, "TTEditが起動できませんでした"));
}

void TestForm1Life::laterCopyBringsTheWindowForward()
{
    Form1& f = *m_form;
    showAtOrigin(f);
    QWidget elsewhere; // a window in front
    elsewhere.show();
    QVERIFY(activate(&elsewhere));
    const QString name = m_workDir->filePath("copies");
    SingleCopy first(name);
    connect(&first, &SingleCopy::comeForward, &f, &Form1::comeForward);
    QVERIFY(first.claim() && !SingleCopy(name).claim());
    QTRY_VERIFY(f.isActiveWindow());
    // The question the window has open comes forward, not the window behind it.
    QDialog question(&f);
    question.setModal(true);
    question.show();
    QVERIFY(activate(&elsewhere));
    QVERIFY(!SingleCopy(name).claim());
    QTRY_VERIFY(question.isActiveWindow());
}

void TestForm1Life::secondProgramTouchesNothing()
{
    const QStringList files{m_workDir->filePath("bin/ptl_settings.ini"),
                            home() + "/.config/marrowby/marrowby.conf", "ptl_buf.bmp"};
    QProcess* first = start();
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(SingleCopy::defaultName(home())), 20000);
    // The first copy only reads them until it ends: a second could be the only writer.
    for (const QString& name : files) {
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("[POINTILLO]\nX=16\n") > 0);
    }
    const QStringList before = stamps(files);
    QProcess* second = start();
    QVERIFY(second->waitForFinished(20000));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    QCOMPARE(first->state(), QProcess::Running);
    QCOMPARE(stamps(files), before);
}

void TestForm1Life::twoProgramsAtOnceLeaveOne()
{
    const QString name = SingleCopy::defaultName(home());
    QVERIFY(leaveStaleSocket(name));
    QProcess* a = start();
    QProcess* b = start();
    QTRY_VERIFY_WITH_TIMEOUT(
        a->state() == QProcess::NotRunning || b->state() == QProcess::NotRunning, 20000);
    QProcess* ended = a->state() == QProcess::NotRunning ? a : b;
    QCOMPARE(ended->exitCode(), 0);
    // The one left keeps running and answers the next copy.
    QVERIFY(!(ended == a ? b : a)->waitForFinished(1000));
    QVERIFY(!SingleCopy(name).claim());
}

void TestForm1Life::socketWithoutRuntimeFolder()
{
    // No XDG_RUNTIME_DIR, and Qt's own stand-in in the shared folder for temporary files taken
    // by another user: the socket goes to a folder only this user may enter, not the shared one.
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    QTemporaryDir shared;
    QVERIFY(QFile(shared.filePath("runtime-") + getpwuid(geteuid())->pw_name)
                .open(QIODevice::WriteOnly));
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", QFile::encodeName(shared.path()));
    const QString name = SingleCopy::defaultName(home());
    qputenv("XDG_RUNTIME_DIR", runtime);
    qunsetenv("TMPDIR");
    QVERIFY2(!name.isEmpty() && !name.startsWith(shared.path()), qPrintable(name));
    QCOMPARE(QFileInfo(QFileInfo(name).path()).permissions() & ~QFile::Permissions(0x7700),
             QFile::Permissions());
}

QTEST_MAIN(TestForm1Life)
#include "tst_form1life.moc"
