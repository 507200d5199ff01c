// Calls sent together (callAll) and calls not waited for (post) on the real font server: the
// server must take them in the order they were made, exactly as one call after the other.

#include "common/TestFontServer.h"
#include "ttedit/DBusAutomationHost.h"
#include "ttedit/DBusAutomationObject.h"

#include <QFileInfo>
#include <QPoint>
#include <QTest>

namespace {

const QString progId = QStringLiteral("TTEdit.Application");

QVariant i16(int v)
{
    return QVariant::fromValue(qint16(v));
}

AutomationCall getcode()
{
    return {QStringLiteral("getcode"), {i16(0), false}};
}

AutomationCall setcode(int code)
{
    return {QStringLiteral("setcode"), {i16(0), code, false}};
}

int codeOf(const std::optional<QVariant>& answer)
{
    return answer ? int(quint16(answer->toInt())) : -1;
}

} // namespace

class TestDBusCallAll : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void answersInOrder();
    void aFailureStopsNothingElse();
    void unsendableArgumentFailsAlone();
    void objectsInAnswers();
    void postedCallIsTakenBeforeLaterOnes();
    void goneServerFailsEveryCall();

private:
    DBusAutomationHost m_host;
    AutomationPtr m_app;
    AutomationPtr m_doc;
};

void TestDBusCallAll::initTestCase()
{
    QVERIFY2(QDBusConnection::sessionBus().isConnected(), "run under dbus-run-session");
    QVERIFY2(QFileInfo(TestFontServer::program()).isExecutable(),
             qPrintable(TestFontServer::program() + " is not built"));
}

void TestDBusCallAll::init()
{
    m_app = m_host.createObject(progId);
    QVERIFY2(m_app, qPrintable(m_host.lastError()));
    m_doc = AutomationObject::toObject(m_app->call(QStringLiteral("NewFile"), {i16(1), true}));
    QVERIFY(m_doc);
}

void TestDBusCallAll::cleanupTestCase()
{
    TestFontServer::stop();
}

void TestDBusCallAll::answersInOrder()
{
    const QList<std::optional<QVariant>> answers = m_doc->callAll(
        {setcode(0x41), getcode(), setcode(0x42), getcode(), setcode(0x100), getcode()});
    QCOMPARE(answers.size(), 6);
    QCOMPARE(codeOf(answers[1]), 0x41);
    QCOMPARE(codeOf(answers[3]), 0x42);
    QCOMPARE(codeOf(answers[5]), 0x42); // 0x100 is no code of a Western font
    QVERIFY(answers[0] && !answers[0]->isValid());
    QCOMPARE(answers[1]->typeId(), int(QMetaType::Short));
    QVERIFY(m_doc->callAll({}).isEmpty());
}

void TestDBusCallAll::aFailureStopsNothingElse()
{
    auto* doc = static_cast<DBusAutomationObject*>(m_doc.get());
    const QList<std::optional<QVariant>> answers =
        m_doc->callAll({setcode(0x50),
                        {QStringLiteral("NoSuchMember"), {}},
                        getcode(),
                        {QStringLiteral("ImportBmpfile"), {QStringLiteral("/no/such.bmp")}},
                        getcode()});
    QVERIFY(answers[0]);
    QVERIFY(!answers[1]);
    QCOMPARE(codeOf(answers[2]), 0x50);
    QVERIFY(!answers[3]);
    QCOMPARE(codeOf(answers[4]), 0x50);
    // The first failure is the one told.
    QVERIFY2(doc->lastError().contains(QStringLiteral("NoSuchMember")),
             qPrintable(doc->lastError()));

    QVERIFY(m_doc->callAll({getcode()})[0]);
    QVERIFY(doc->lastError().isEmpty());
}

void TestDBusCallAll::unsendableArgumentFailsAlone()
{
    const QList<std::optional<QVariant>> answers = m_doc->callAll(
        {setcode(0x60), {QStringLiteral("setcode"), {i16(0), QPoint(1, 2), false}}, getcode()});
    QVERIFY(answers[0]);
    QVERIFY(!answers[1]);
    QCOMPARE(codeOf(answers[2]), 0x60);
}

void TestDBusCallAll::objectsInAnswers()
{
    const QList<std::optional<QVariant>> answers =
        m_app->callAll({{QStringLiteral("ActiveDocument"), {}}, {QStringLiteral("hwnd"), {}}});
    const AutomationPtr doc = AutomationObject::toObject(answers[0]);
    QVERIFY(doc);
    QCOMPARE(static_cast<DBusAutomationObject*>(doc.get())->path(),
             static_cast<DBusAutomationObject*>(m_doc.get())->path());
    QVERIFY(answers[1]);
}

void TestDBusCallAll::postedCallIsTakenBeforeLaterOnes()
{
    for (int code = 0x61; code < 0x71; ++code) {
        m_doc->post(QStringLiteral("setcode"), {i16(0), code, false});
        QCOMPARE(codeOf(m_doc->call(QStringLiteral("getcode"), {i16(0), false})), code);
    }
    // Also across objects of the same server.
    m_doc->post(QStringLiteral("setcode"), {i16(0), 0x7A, false});
    const AutomationPtr active =
        AutomationObject::toObject(m_app->call(QStringLiteral("ActiveDocument")));
    QVERIFY(active);
    QCOMPARE(codeOf(active->callAll({getcode()})[0]), 0x7A);
}

void TestDBusCallAll::goneServerFailsEveryCall()
{
    m_app->call(QStringLiteral("Quit"));
    QVERIFY(TestFontServer::waitForNoServer());

    const QList<std::optional<QVariant>> answers = m_doc->callAll({getcode(), setcode(0x41)});
    QVERIFY(!answers[0]);
    QVERIFY(!answers[1]);
    // A call posted to a server that is gone is lost without a trace.
    m_doc->post(QStringLiteral("setcode"), {i16(0), 0x41, false});
    QVERIFY(!m_doc->call(QStringLiteral("getcode"), {i16(0), false}));
}

QTEST_MAIN(TestDBusCallAll)
#include "tst_dbuscallall.moc"
