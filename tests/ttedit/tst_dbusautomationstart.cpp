#include "common/TestFontServer.h"
#include "ttedit/DBusAutomationHost.h"
#include "ttedit/DBusAutomationObject.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString progId = QStringLiteral("TTEdit.Application");

QVariant i16(int v)
{
    return QVariant::fromValue(qint16(v));
}

// A session bus that knows no service files at all, so that the bus cannot activate the font
// server and the host has to start it from the program's folder.
const char* busConfig =
    "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
    " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
    "<busconfig>\n"
    "  <type>session</type>\n"
    "  <listen>unix:dir=%1</listen>\n"
    "  <auth>EXTERNAL</auth>\n"
    "  <policy context=\"default\">\n"
    "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
    "    <allow eavesdrop=\"true\"/>\n"
    "    <allow own=\"*\"/>\n"
    "  </policy>\n"
    "</busconfig>\n";

// An executable shell script at path.
bool writeScript(const QString& path, const QByteArray& body)
{
    QFile script(path);
    return script.open(QIODevice::WriteOnly) && script.write("#!/bin/sh\n" + body + "\n") > 0 &&
           script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

class TestDBusAutomationStart : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void missingProgramIsNull_data();
    void missingProgramIsNull();
    void programThatEndsAtOnceIsNull();
    void startsFromTheProgramFolder();

private:
    QTemporaryDir m_dir;
    QProcess m_bus;
    QDBusConnection m_connection{QString()};
};

void TestDBusAutomationStart::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QFile config(m_dir.filePath("bus.conf"));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write(QString::fromLatin1(busConfig).arg(m_dir.path()).toUtf8());
    config.close();

    m_bus.start("dbus-daemon",
                {"--config-file=" + config.fileName(), "--nofork", "--print-address=1"});
    QVERIFY2(m_bus.waitForStarted(), "dbus-daemon is needed");
    QVERIFY(m_bus.waitForReadyRead(10000));
    const QString address = QString::fromUtf8(m_bus.readLine()).trimmed();
    QVERIFY(!address.isEmpty());
    // Programs started from here find this bus as their session bus.
    qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
    m_connection = QDBusConnection::connectToBus(address, "private");
    QVERIFY2(m_connection.isConnected(), qPrintable(m_connection.lastError().message()));
}

void TestDBusAutomationStart::cleanupTestCase()
{
    TestFontServer::stop(m_connection);
    QDBusConnection::disconnectFromBus("private");
    m_bus.terminate();
    m_bus.waitForFinished(5000);
}

void TestDBusAutomationStart::missingProgramIsNull_data()
{
    QTest::addColumn<bool>("unnamed");
    QTest::addColumn<QString>("reason");
    QTest::newRow("empty folder") << false << "pointillo-fontd";
    // A program folder Qt could not name: the current folder's program is not run.
    QTest::newRow("unnamed folder") << true << "no name";
}

void TestDBusAutomationStart::missingProgramIsNull()
{
    QFETCH(bool, unnamed);
    QFETCH(QString, reason);
    QTemporaryDir empty;
    QTemporaryDir folder;
    QVERIFY(writeScript(folder.filePath("pointillo-fontd"), "touch ran\nexit 1"));
    const QString current = QDir::currentPath();
    QDir::setCurrent(folder.path());
    DBusAutomationHost host(m_connection, unnamed ? QStringLiteral(".") : empty.path());
    QVERIFY(!host.getObject(progId));
    QVERIFY(!host.createObject(progId));
    QDir::setCurrent(current);
    QVERIFY2(host.lastError().contains(reason), qPrintable(host.lastError()));
    QVERIFY(!QFile::exists(folder.filePath("ran")));
}

void TestDBusAutomationStart::programThatEndsAtOnceIsNull()
{
    QTemporaryDir folder;
    QVERIFY(writeScript(folder.filePath("pointillo-fontd"), "exit 1"));
    DBusAutomationHost host(m_connection, folder.path());
    QVERIFY(!host.createObject(progId));
    // Noticed as ended, not waited for until the bound.
    QVERIFY2(host.lastError().contains("ended"), qPrintable(host.lastError()));
}

void TestDBusAutomationStart::startsFromTheProgramFolder()
{
    if (!QFileInfo(TestFontServer::program()).isExecutable())
        QSKIP("pointillo-fontd is not built");
    DBusAutomationHost host(m_connection, QFileInfo(TestFontServer::program()).path());
    QVERIFY(!host.getObject(progId));
    const AutomationPtr app = host.createObject(progId);
    QVERIFY2(app, qPrintable(host.lastError()));
    QVERIFY(host.getObject(progId));
    const AutomationPtr doc = AutomationObject::toObject(app->call("NewFile", {i16(0), true}));
    QVERIFY(doc);
    QVERIFY(doc->call("setcode", {i16(0), i16(-32096), false}));
    QCOMPARE(doc->call("getcode", {i16(0), false})->toInt(), -32096);
}

QTEST_GUILESS_MAIN(TestDBusAutomationStart)
#include "tst_dbusautomationstart.moc"
