// The Help menu: the about box with its version, keys and system-information program, and the
// maker's page, on a desktop that starts and opens nothing.

#include "app/ProgramInfo.h"
#include "app/SystemInfoPrograms.h"
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

namespace {

const QString noSysInfo = QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません");

using Program = SystemInfoPrograms::Program;

} // namespace

class TestFrmAbout : public QObject, private Form1Fixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void versionText_data();
    void versionText();
    void candidates_data();
    void candidates();
    void aboutBox_data();
    void aboutBox();
    void sysInfo_data();
    void sysInfo();
    void marrowby();

private:
    // Opens the about box from the Help menu and runs act on it while it is up; act must close
    // it.  Returns the box, which is gone by then.
    QPointer<frmAbout> withAboutBox(const std::function<void(frmAbout&)>& act);
};

void TestFrmAbout::init()
{
    showForm(FakeTTEdit::Kind::Western);
}

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

void TestFrmAbout::versionText_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<QString>("text");
    QTest::newRow("1.8") << 1 << 8 << "version 1.08";
    QTest::newRow("2.10") << 2 << 10 << "version 2.10";
    QTest::newRow("1.0") << 1 << 0 << "version 1.00";
    QTest::newRow("3.123") << 3 << 123 << "version 3.123";
}

void TestFrmAbout::versionText()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(QString, text);
    QCOMPARE(ProgramInfo::versionText(major, minor), text);
}

void TestFrmAbout::candidates_data()
{
    QTest::addColumn<QString>("desktop");
    QTest::addColumn<Program>("first");
    QTest::newRow("none") << "" << Program{"hardinfo2", {}};
    QTest::newRow("KDE") << "KDE" << Program{"kinfocenter", {}};
    QTest::newRow("GNOME among others")
        << "ubuntu:GNOME" << Program{"gnome-control-center", {"info-overview"}};
    QTest::newRow("XFCE, lower case") << "xfce" << Program{"xfce4-about", {}};
    QTest::newRow("unknown") << "Sway" << Program{"hardinfo2", {}};
}

void TestFrmAbout::candidates()
{
    QFETCH(QString, desktop);
    QFETCH(Program, first);
    const QList<Program> all = SystemInfoPrograms::candidates(desktop);
    QCOMPARE(all.first(), first);
    // Every candidate once, whatever the desktop.
    QCOMPARE(all.size(), 6);
    QCOMPARE(all.count(first), 1);
}

void TestFrmAbout::aboutBox_data()
{
    QTest::addColumn<int>("key");
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
    QVERIFY(!seen.isEmpty());
    QCOMPARE(seen, QStringLiteral("Pointillo|Pointillo|version 1.08|* You need to have TTEdit 3.20 "
                                  "or later installed.|") +
                       ProgramInfo::notice() + QStringLiteral("|&System Info|marrowby..."));
    QVERIFY(!box); // closed and gone: the menu's handler has returned
    QVERIFY(ProgramInfo::infoLine().startsWith(
        QStringLiteral("\"Pointillo\" version 1.08 for TTEdit")));
    QVERIFY(ProgramInfo::infoLine().endsWith(ProgramInfo::notice()));
    QVERIFY(m_desktop.started.isEmpty() && m_desktop.opened.isEmpty());
}

void TestFrmAbout::sysInfo_data()
{
    QTest::addColumn<QString>("desktop");
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<bool>("starts");
    QTest::addColumn<QStringList>("started");
    QTest::addColumn<bool>("told");
    QTest::newRow("none found") << "" << QStringList{} << true << QStringList{} << true;
    QTest::newRow("found") << "" << QStringList{"cpu-x"} << true << QStringList{"/opt/bin/cpu-x"}
                           << false;
    QTest::newRow("the desktop's own first")
        << "GNOME" << QStringList{"hardinfo", "gnome-control-center"} << true
        << QStringList{"/opt/bin/gnome-control-center info-overview"} << false;
    QTest::newRow("found, fails to start") << "" << QStringList{"hardinfo", "cpu-x"} << false
                                           << QStringList{"/opt/bin/hardinfo"} << true;
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
        m_desktop.installed[name] = QStringLiteral("/opt/bin/") + name;
    m_desktop.starts = starts;
    bool stillOpen = false;
    withAboutBox([&](frmAbout& about) {
        QTest::mouseClick(about.cmdSysInfo, Qt::LeftButton);
        stillOpen = about.isVisible();
        about.cmdOK->click();
    });
    QCOMPARE(m_desktop.started, started);
    QCOMPARE(m_prompt.messages(), told ? QStringList{noSysInfo} : QStringList{});
    QVERIFY(stillOpen);
}

void TestFrmAbout::marrowby()
{
    const QUrl page(QStringLiteral("http://www.marrowby.com/"));
    QCOMPARE(QUrl(ProgramInfo::makerPage()), page);
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
    QVERIFY(m_prompt.shown().isEmpty());
    QVERIFY(m_desktop.started.isEmpty());
}

QTEST_MAIN(TestFrmAbout)
#include "tst_frmabout.moc"
