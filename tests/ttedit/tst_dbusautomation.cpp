#include "common/TestFontServer.h"
#include "ttedit/DBusAutomationHost.h"
#include "ttedit/DBusAutomationObject.h"
#include "ttedit/DotsBitmap.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>

namespace {

const QString progId = QStringLiteral("TTEdit.Application");

QVariant i16(int v)
{
    return QVariant::fromValue(qint16(v));
}

// A server that takes a name and never answers until released: a hung font server.
class SleepyServer : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "TTEdit.Application")

public:
    QSemaphore release;

public slots:
    int hwnd()
    {
        release.tryAcquire(1, 60000);
        return 7;
    }
};

} // namespace

class TestDBusAutomation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void notRunningIsNull();
    void unknownProgIdIsNull();
    void createByActivation();
    void argumentTypesReachTheServer();
    void objectPathsBecomeObjects();
    void slashIsNothing();
    void arraysAreLists();
    void errorReplyIsNullopt_data();
    void errorReplyIsNullopt();
    void unsendableArgumentIsNullopt();
    void hungServerTimesOut();
    void stoppedServerTimesOut();
    void killedServerIsStartedAgain();
    void documentOfAnEndedServerFails();

private:
    AutomationPtr startServer();
    bool m_haveServer = false;
};

void TestDBusAutomation::initTestCase()
{
    QVERIFY2(QDBusConnection::sessionBus().isConnected(), "run under dbus-run-session");
    m_haveServer = QFileInfo(TestFontServer::program()).isExecutable();
    if (!m_haveServer)
        qWarning("%s is not built: the tests that need the font server are skipped",
                 qPrintable(TestFontServer::program()));
}

// Every test starts with no font server on the bus.
void TestDBusAutomation::init()
{
    QVERIFY(TestFontServer::stop());
}

void TestDBusAutomation::cleanupTestCase()
{
    init();
}

AutomationPtr TestDBusAutomation::startServer()
{
    DBusAutomationHost host;
    const AutomationPtr app = host.createObject(progId);
    if (!app)
        qWarning("createObject: %s", qPrintable(host.lastError()));
    return app;
}

void TestDBusAutomation::notRunningIsNull()
{
    DBusAutomationHost host;
    QVERIFY(!host.getObject(progId));
    QVERIFY(!host.lastError().isEmpty());
}

void TestDBusAutomation::unknownProgIdIsNull()
{
    DBusAutomationHost host;
    QVERIFY(!host.getObject("No.Such.Application"));
    QVERIFY(!host.createObject("No.Such.Application"));
    QVERIFY(host.lastError().contains("No.Such.Application"));
}

void TestDBusAutomation::createByActivation()
{
    if (!m_haveServer)
        QSKIP("no font server");
    DBusAutomationHost host;
    QVERIFY(!host.getObject(progId));
    const AutomationPtr created = host.createObject(progId);
    QVERIFY2(created, qPrintable(host.lastError()));
    const auto* createdObject = static_cast<DBusAutomationObject*>(created.get());
    QVERIFY2(createdObject->service().startsWith(u':'), "bound to the server instance");
    QCOMPARE(createdObject->path(), QStringLiteral("/Application"));

    const AutomationPtr attached = host.getObject(progId);
    QVERIFY(attached);
    QCOMPARE(static_cast<DBusAutomationObject*>(attached.get())->service(),
             createdObject->service());
    // A second createObject attaches to the running server rather than starting another.
    const AutomationPtr again = host.createObject(progId);
    QVERIFY(again);
    QCOMPARE(static_cast<DBusAutomationObject*>(again.get())->service(), createdObject->service());
    QVERIFY(attached->call("hwnd"));
}

void TestDBusAutomation::argumentTypesReachTheServer()
{
    if (!m_haveServer)
        QSKIP("no font server");
    const AutomationPtr app = startServer();
    QVERIFY(app);
    const AutomationPtr doc = AutomationObject::toObject(app->call("NewFile", {i16(0), true}));
    QVERIFY(doc);

    // int16, int32 and bool arguments; an int16 answer.
    QVERIFY(doc->call("setcode", {i16(0), i16(-32096), false}));
    std::optional<QVariant> code = doc->call("getcode", {i16(0), false});
    QVERIFY(code);
    QCOMPARE(code->typeId(), int(QMetaType::Short));
    QCOMPARE(code->toInt(), -32096);
    QVERIFY(doc->call("setcode", {i16(0), 0x8140, false}));
    code = doc->call("getcode", {i16(0), false});
    QVERIFY(code);
    QCOMPARE(code->toInt(), qint16(quint16(0x8140)));

    // A string argument, and the Boolean answer that follows the change.
    QTemporaryDir dir;
    const QString bmp = dir.filePath("ptl_dots.bmp");
    QImage canvas(480, 480, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    for (int y = 100; y < 300; ++y)
        for (int x = 100; x < 200; ++x)
            canvas.setPixel(x, y, qRgb(0, 0, 0));
    QVERIFY(DotsBitmap::saveDotsBmp(bmp, canvas));
    QVERIFY(doc->call("ImportBmpfile", {bmp}));
    const std::optional<QVariant> saved = doc->call("saved");
    QVERIFY(saved);
    QCOMPARE(saved->typeId(), int(QMetaType::Bool));
    QCOMPARE(saved->toBool(), false);
    QVERIFY(doc->call("SetLeftRightSidebearing", {i16(10), i16(20), false}));
    const std::optional<QVariant> codes = doc->call("GlyphCodes");
    QVERIFY(codes);
    QVERIFY(codes->toList().contains(QVariant(0x8140)));

    const QString ttf = dir.filePath("saved.ttf");
    QVERIFY(doc->call("SaveAs", {ttf}));
    QCOMPARE(doc->call("FileName"), std::optional<QVariant>(ttf));
    QVERIFY(QFileInfo(ttf).size() > 0);
    QCOMPARE(doc->call("saved"), std::optional<QVariant>(true));

    const std::optional<QVariant> hwnd = app->call("hwnd");
    QVERIFY(hwnd);
    QCOMPARE(hwnd->typeId(), int(QMetaType::Int));
}

void TestDBusAutomation::objectPathsBecomeObjects()
{
    if (!m_haveServer)
        QSKIP("no font server");
    const AutomationPtr app = startServer();
    QVERIFY(app);
    const AutomationPtr created = AutomationObject::toObject(app->call("NewFile", {i16(1), true}));
    QVERIFY(created);
    const auto* doc = static_cast<DBusAutomationObject*>(created.get());
    QVERIFY(doc->path().startsWith(u"/Document/"));
    QCOMPARE(doc->interface(), QStringLiteral("TTEdit.Document"));
    QCOMPARE(doc->service(), static_cast<DBusAutomationObject*>(app.get())->service());

    const AutomationPtr active = AutomationObject::toObject(app->call("ActiveDocument"));
    QVERIFY(active);
    QCOMPARE(static_cast<DBusAutomationObject*>(active.get())->path(), doc->path());
    // Western: 65 is held, 0x82A0 is refused.
    QVERIFY(active->call("setcode", {i16(0), 65, false}));
    QCOMPARE(created->call("getcode", {i16(0), false})->toInt(), 65);
    QVERIFY(active->call("setcode", {i16(0), i16(-32096), false}));
    QCOMPARE(created->call("getcode", {i16(0), false})->toInt(), 65);
}

void TestDBusAutomation::slashIsNothing()
{
    if (!m_haveServer)
        QSKIP("no font server");
    const AutomationPtr app = startServer();
    QVERIFY(app);
    const std::optional<QVariant> none = app->call("ActiveDocument");
    QVERIFY2(none, "nothing is an answer, not a failure");
    QVERIFY(none->canConvert<AutomationPtr>());
    QVERIFY(!AutomationObject::toObject(none));
    const std::optional<QVariant> refused = app->call("NewFile", {i16(2), true});
    QVERIFY(refused);
    QVERIFY(!AutomationObject::toObject(refused));
}

void TestDBusAutomation::arraysAreLists()
{
    if (!m_haveServer)
        QSKIP("no font server");
    const AutomationPtr app = startServer();
    QVERIFY(app);
    QVERIFY(AutomationObject::toObject(app->call("NewFile", {i16(1), true})));
    QVERIFY(AutomationObject::toObject(app->call("NewFile", {i16(0), true})));
    const std::optional<QVariant> docs = app->call("Documents");
    QVERIFY(docs);
    const QVariantList list = docs->toList();
    QCOMPARE(list.size(), 2);
    for (const QVariant& v : list) {
        const AutomationPtr doc = v.value<AutomationPtr>();
        QVERIFY(doc);
        QVERIFY(doc->call("getcode", {i16(0), false}));
    }
}

void TestDBusAutomation::errorReplyIsNullopt_data()
{
    QTest::addColumn<QString>("member");
    QTest::addColumn<QVariantList>("args");
    QTest::newRow("unreadable bitmap")
        << "ImportBmpfile" << QVariantList{QStringLiteral("/no/such/file.bmp")};
    QTest::newRow("unknown member") << "NoSuchMember" << QVariantList{};
    QTest::newRow("int32 where int16 is declared") << "getcode" << QVariantList{0, false};
    QTest::newRow("missing argument") << "setcode" << QVariantList{i16(0), 65};
}

void TestDBusAutomation::errorReplyIsNullopt()
{
    if (!m_haveServer)
        QSKIP("no font server");
    QFETCH(QString, member);
    QFETCH(QVariantList, args);
    const AutomationPtr app = startServer();
    QVERIFY(app);
    const AutomationPtr doc = AutomationObject::toObject(app->call("NewFile", {i16(1), true}));
    QVERIFY(doc);
    QCOMPARE(doc->call(member, args), std::nullopt);
    QVERIFY(!static_cast<DBusAutomationObject*>(doc.get())->lastError().isEmpty());
    QVERIFY(doc->call("getcode", {i16(0), false}));
    QVERIFY(static_cast<DBusAutomationObject*>(doc.get())->lastError().isEmpty());
}

void TestDBusAutomation::unsendableArgumentIsNullopt()
{
    DBusAutomationObject object(QDBusConnection::sessionBus(), "org.freedesktop.DBus",
                                "/org/freedesktop/DBus", "org.freedesktop.DBus", QString());
    QCOMPARE(object.call("GetNameOwner", {3.5}), std::nullopt);
    QVERIFY(object.lastError().contains("double"));
    // The same object answers a well-typed call: the refusal came from the argument.
    const std::optional<QVariant> owner = object.call("GetNameOwner", {"org.freedesktop.DBus"});
    QVERIFY(owner);
    QCOMPARE(owner->toString(), QStringLiteral("org.freedesktop.DBus"));
}

void TestDBusAutomation::hungServerTimesOut()
{
    SleepyServer server;
    QThread thread;
    server.moveToThread(&thread);
    thread.start();
    QDBusConnection connection =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, "sleepy");
    QVERIFY(connection.registerObject("/Application", &server, QDBusConnection::ExportAllSlots));
    QVERIFY(connection.registerService("Test.Sleepy"));

    DBusAutomationHost host;
    host.addServer("Test.Sleepy", {"Test.Sleepy", "/Application", "TTEdit.Application",
                                   "TTEdit.Document", "no-such-program"});
    const AutomationPtr app = host.getObject("Test.Sleepy");
    QVERIFY(app);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(app->call("hwnd"), std::nullopt);
    // Not the 25 s of the D-Bus default.
    QVERIFY2(clock.elapsed() < DBusAutomationObject::CallTimeoutMs + 5000,
             qPrintable(QString::number(clock.elapsed())));
    QVERIFY(static_cast<DBusAutomationObject*>(app.get())->lastError().contains("NoReply"));

    server.release.release(2);
    // Once it answers again, so do the calls.
    QCOMPARE(app->call("hwnd"), std::optional<QVariant>(7));
    connection.unregisterService("Test.Sleepy");
    QDBusConnection::disconnectFromBus("sleepy");
    thread.quit();
    thread.wait();
}

void TestDBusAutomation::stoppedServerTimesOut()
{
    if (!m_haveServer)
        QSKIP("no font server");
    const AutomationPtr app = startServer();
    QVERIFY(app);
    const qint64 pid =
        TestFontServer::pidOf(static_cast<DBusAutomationObject*>(app.get())->service());
    QVERIFY(pid > 0);
    QCOMPARE(::kill(pid_t(pid), SIGSTOP), 0);
    QElapsedTimer clock;
    clock.start();
    const std::optional<QVariant> r = app->call("ActiveDocument");
    const qint64 elapsed = clock.elapsed();
    ::kill(pid_t(pid), SIGCONT);
    QCOMPARE(r, std::nullopt);
    QVERIFY2(elapsed < DBusAutomationObject::CallTimeoutMs + 5000,
             qPrintable(QString::number(elapsed)));
    // A stopped server still owns its name: getObject attaches, the calls fail.
    DBusAutomationHost host;
    QVERIFY(host.getObject(progId));
    QVERIFY(app->call("hwnd"));
}

void TestDBusAutomation::killedServerIsStartedAgain()
{
    if (!m_haveServer)
        QSKIP("no font server");
    DBusAutomationHost host;
    const AutomationPtr first = host.createObject(progId);
    QVERIFY2(first, qPrintable(host.lastError()));
    const QString firstName = static_cast<DBusAutomationObject*>(first.get())->service();
    const qint64 pid = TestFontServer::pidOf(firstName);
    QVERIFY(pid > 0);
    QCOMPARE(::kill(pid_t(pid), SIGKILL), 0);
    QVERIFY(TestFontServer::waitForNoServer());
    QCOMPARE(first->call("hwnd"), std::nullopt);

    const AutomationPtr second = host.createObject(progId);
    QVERIFY2(second, qPrintable(host.lastError()));
    QVERIFY(static_cast<DBusAutomationObject*>(second.get())->service() != firstName);
    QVERIFY(second->call("hwnd"));
    // The object of the killed server stays dead: it must not reach the new one.
    QCOMPARE(first->call("hwnd"), std::nullopt);
}

void TestDBusAutomation::documentOfAnEndedServerFails()
{
    if (!m_haveServer)
        QSKIP("no font server");
    DBusAutomationHost host;
    AutomationPtr app = host.createObject(progId);
    QVERIFY(app);
    const AutomationPtr oldDoc = AutomationObject::toObject(app->call("NewFile", {i16(1), true}));
    QVERIFY(oldDoc);
    app->call("Quit");
    QVERIFY(TestFontServer::waitForNoServer());
    app = host.createObject(progId);
    QVERIFY(app);
    const AutomationPtr newDoc = AutomationObject::toObject(app->call("NewFile", {i16(1), true}));
    QVERIFY(newDoc);
    // Same path on the new server, but the old object belongs to the old one.
    QCOMPARE(static_cast<DBusAutomationObject*>(newDoc.get())->path(),
             static_cast<DBusAutomationObject*>(oldDoc.get())->path());
    QCOMPARE(oldDoc->call("getcode", {i16(0), false}), std::nullopt);
    QVERIFY(newDoc->call("getcode", {i16(0), false}));
}

QTEST_GUILESS_MAIN(TestDBusAutomation)
#include "tst_dbusautomation.moc"
