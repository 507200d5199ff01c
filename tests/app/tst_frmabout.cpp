// The Help menu: the about box with its version, keys and system-information program, and the
// maker's page, on a desktop that starts and opens nothing.

#include "app/ProgramInfo.h"
#include "app/SystemDesktop.h"
#include "app/frmAbout.h"
#include "common/Form1Fixture.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

class TestFrmAbout : public QObject, private Form1Fixture
{
    Q_OBJECT

private slots:
    void init() { showForm(FakeTTEdit::Kind::Western); }
    void cleanup();

    void aboutBox_data();
    void aboutBox();
    void sysInfo_data();
    void sysInfo();
    void systemDesktopStarts_data();
    void systemDesktopStarts();
    void marrowby();

private:
    // Opens the about box from the Help menu and runs act on it while it is up; act must close
    // it.  Returns the box, which is gone by then.
    QPointer<frmAbout> withAboutBox(const std::function<void(frmAbout&)>& act);
};

void TestFrmAbout::cleanup()
{
    destroyForm();
    qunsetenv("XDG_CURRENT_DESKTOP");
}

QPointer<frmAbout> TestFrmAbout::withAboutBox(const std::function<void(frmAbout&)>& act)
{
    QPointer<frmAbout> box;
    QTimer timer;
    connect(&timer, &QTimer::timeout, this, [&] {
        auto* about = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
        if (!about || !about->isVisible())
            return;
        timer.stop();
        box = about;
        act(*about);
    });
    timer.start(0);
    m_form->mnuabout->trigger();
    return box;
}

void TestFrmAbout::aboutBox_data()
{
    QTest::addColumn<int>("key"); // 0: a click on OK
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Esc") << int(Qt::Key_Escape);
    QTest::newRow("OK") << 0;
}

void TestFrmAbout::aboutBox()
{
    QFETCH(int, key);
    QString seen;
    const QPointer<frmAbout> box = withAboutBox([&](frmAbout& about) {
        QCOMPARE(about.parentWidget(), m_form.get());
        QVERIFY(about.isModal());
        QVERIFY(about.cmdOK->isDefault());
        QVERIFY(!about.picIcon->pixmap().isNull());
        seen = QStringList{about.windowTitle(),      about.lblTitle->text(),
                           about.lblVersion->text(), about.lblDescription->text(),
                           about.Label1->text(),     about.cmdSysInfo->text(),
                           about.Command1->text()}
                   .join(u'|');
        if (key)
            QTest::keyClick(&about, Qt::Key(key));
        else
            QTest::mouseClick(about.cmdOK, Qt::LeftButton);
    });
    QCOMPARE(seen, QStringLiteral("Pointillo|Pointillo|version 1.08|* You need to have TTEdit 3.20 "
                                  "or later installed.|") +
                       ProgramInfo::notice() + QStringLiteral("|&System Info|marrowby..."));
    QVERIFY(!box); // closed and gone: the menu's handler has returned
    // The minor number has at least two digits, whatever the version.
    QCOMPARE(ProgramInfo::versionText(2, 10), QStringLiteral("version 2.10"));
    QCOMPARE(ProgramInfo::versionText(3, 123), QStringLiteral("version 3.123"));
    QCOMPARE(ProgramInfo::infoLine(),
             QStringLiteral("\"Pointillo\" version 1.08 for TTEdit  ") + ProgramInfo::notice());
}

void TestFrmAbout::sysInfo_data()
{
    QTest::addColumn<QString>("desktop");
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<bool>("starts");
    QTest::addColumn<QStringList>("started");
    QTest::addColumn<bool>("told");
    QTest::newRow("none found") << "" << QStringList{} << true << QStringList{} << true;
    QTest::newRow("found") << "" << QStringList{"cpu-x"} << true << QStringList{"/opt/cpu-x"}
                           << false;
    QTest::newRow("the desktop's own first")
        << "ubuntu:GNOME" << QStringList{"hardinfo", "gnome-control-center"} << true
        << QStringList{"/opt/gnome-control-center info-overview"} << false;
    QTest::newRow("KDE's") << "KDE" << QStringList{"kinfocenter", "hardinfo2"} << true
                           << QStringList{"/opt/kinfocenter"} << false;
    QTest::newRow("found, fails to start")
        << "" << QStringList{"hardinfo", "cpu-x"} << false << QStringList{"/opt/hardinfo"} << true;
}

void TestFrmAbout::sysInfo()
{
    QFETCH(QString, desktop);
    QFETCH(QStringList, installed);
    QFETCH(bool, starts);
    QFETCH(QStringList, started);
    QFETCH(bool, told);
    qputenv("XDG_CURRENT_DESKTOP", desktop.toUtf8());
    for (const QString& name : installed)
        m_desktop.installed[name] = QStringLiteral("/opt/") + name;
    m_desktop.starts = starts;
    bool stillOpen = false;
    withAboutBox([&](frmAbout& about) {
        QTest::mouseClick(about.cmdSysInfo, Qt::LeftButton);
        stillOpen = about.isVisible();
        about.cmdOK->click();
    });
    QCOMPARE(m_desktop.started, started);
    QCOMPARE(m_prompt.messages(),
             told ? QStringList{QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません")}
                  : QStringList{});
    QVERIFY(stillOpen);
}

void TestFrmAbout::systemDesktopStarts_data()
{
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<bool>("started");
    QTest::newRow("ends at once with a failure") << QStringList{"/bin/sh", "-c", "exit 3"} << false;
    QTest::newRow("hands over and ends") << QStringList{"/bin/sh", "-c", "exit 0"} << true;
    QTest::newRow("runs on") << QStringList{"/bin/sh", "-c", "sleep 2"} << true;
}

void TestFrmAbout::systemDesktopStarts()
{
    // The real desktop: what started and failed at once did not start for the user.
    QFETCH(QStringList, command);
    SystemDesktop desktop;
    QTEST(desktop.startDetached(command.first(), command.mid(1)), "started");
}

void TestFrmAbout::marrowby()
{
    const QUrl page(QStringLiteral("http://www.marrowby.com/"));
    QCOMPARE(m_form->mnuhelp->actions(), (QList<QAction*>{m_form->mnuabout, m_form->mnumarrowby}));
    // Each choice is one request to the browser; a desktop without one is silent.
    m_desktop.opens = false;
    m_form->mnumarrowby->trigger();
    QCOMPARE(m_desktop.opened, QList<QUrl>{page});
    m_form->mnumarrowby->trigger();
    withAboutBox([](frmAbout& about) {
        QTest::mouseClick(about.Command1, Qt::LeftButton);
        about.cmdOK->click();
    });
    QCOMPARE(m_desktop.opened, (QList<QUrl>{page, page, page}));
    QVERIFY(m_prompt.shown().isEmpty() && m_desktop.started.isEmpty());
}

QTEST_MAIN(TestFrmAbout)
#include "tst_frmabout.moc"
