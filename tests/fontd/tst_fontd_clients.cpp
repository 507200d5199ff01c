// Several clients on one font: through the real pointillo-fontd each has a current code of its
// own and a script of one-shot calls works as one client; in-process, a client's code goes
// when it leaves the bus.

#include "DotBitmap.h"
#include "FontdClient.h"
#include "common/FontCheck.h"
#include "fontd/DocumentObject.h"
#include "fontd/FontServer.h"

#include <QDBusPendingCall>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

class TestFontdClients : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(DotBitmap({"#"}, 40).write(m_bitmap)); }
    void eachClientHasItsOwnCode();
    void oneShotCallsWorkAsOneClient();
    void codesGoWithTheirClients();

private:
    FontdClient m_editor;
    QTemporaryDir m_dir;
    QString m_bitmap = m_dir.filePath(QStringLiteral("dot.bmp"));
};

void TestFontdClients::eachClientHasItsOwnCode()
{
    const FontdClient script(
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("script")));
    const QString document = m_editor.newFile(1);
    const QString font = m_dir.filePath(QStringLiteral("two.ttf"));
    QCOMPARE(m_editor.setCode(document, 0x41), 0x41);
    QCOMPARE(script.currentCode(document), 0x41); // a new client starts at the last move
    QCOMPARE(script.setCode(document, 0x42), 0x42);
    // The editor exports at 0x41 while the script steps between 0x42 and 0x43; then the
    // script's selection must not let the editor's Delete act.
    const auto call = [&](const FontdClient& client, const char* member,
                          const QVariantList& args = {}) {
        return !FontdClient::isError(
            client.callDocument(document, QString::fromLatin1(member), args));
    };
    const QVariantList sideBearings{FontdClient::int16(10), FontdClient::int16(20), false};
    QVERIFY(call(m_editor, "selectall") && call(script, "viewnextcode") &&
            call(m_editor, "Delete") && call(script, "viewpreviouscode"));
    QVERIFY(call(m_editor, "ImportBmpfile", {m_bitmap}) && call(script, "viewnextcode") &&
            call(script, "ImportBmpfile", {m_bitmap}));
    QVERIFY(call(m_editor, "SetLeftRightSidebearing", sideBearings) &&
            call(m_editor, "SaveAs", {font}) && call(script, "selectall") &&
            call(m_editor, "Delete"));
    QCOMPARE(m_editor.currentCode(document), 0x41);
    QCOMPARE(script.currentCode(document), 0x43);
    QCOMPARE(m_editor.glyphCodes(document), (QList<int>{0x41, 0x43}));
    QCOMPARE(FontdClient::value(m_editor.callDocument(document, QStringLiteral("saved"))),
             QVariant(true));
    int advance = 0, lsb = 0;
    QVERIFY(FontCheck::horizontalMetrics(font, 0x41, &advance, &lsb));
    QCOMPARE(std::pair(lsb, advance), std::pair(10, 10 + 40 * 2 + 20));
    QDBusConnection::disconnectFromBus(QStringLiteral("script"));
}

void TestFontdClients::oneShotCallsWorkAsOneClient()
{
    // busctl and gdbus connect anew for every call: each call is a new client, which starts
    // where the last one left the font, selection included.
    int round = 0;
    const auto oneShot = [&round](const QString& document, const char* member,
                                  const QVariantList& args = {}) {
        const QString name = QStringLiteral("one-shot-%1").arg(++round);
        const QDBusMessage reply =
            FontdClient(QDBusConnection::connectToBus(QDBusConnection::SessionBus, name))
                .callDocument(document, QString::fromLatin1(member), args);
        QDBusConnection::disconnectFromBus(name);
        return FontdClient::isError(reply) ? QVariant(reply.errorMessage())
                                           : FontdClient::value(reply);
    };
    const QString document = m_editor.newFile(1);
    oneShot(document, "setcode", {FontdClient::int16(0), FontdClient::int32(0x50), false});
    oneShot(document, "ImportBmpfile", {m_bitmap});
    QCOMPARE(oneShot(document, "SaveAs", {m_dir.filePath(QStringLiteral("one.ttf"))}), QVariant());
    oneShot(document, "selectall");
    oneShot(document, "Delete");
    QCOMPARE(oneShot(document, "saved"), QVariant(false));
    QCOMPARE(oneShot(document, "getcode", {FontdClient::int16(0), false}),
             QVariant::fromValue<qint16>(0x50));
    QCOMPARE(m_editor.glyphCodes(document), QList<int>{0x50});
}

void TestFontdClients::codesGoWithTheirClients()
{
    QDBusConnection bus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("in-process"));
    FontServer server(bus);
    QString error;
    QVERIFY2(server.registerObjects(&error), qPrintable(error));
    DocumentObject* document = server.newDocument(FontDocument::Western);
    // A client calls setcode and leaves, after the answer or before the server even sees the
    // call (the server's thread sleeps meanwhile): either way its code goes.
    const auto visit = [&](const QString& name, int code, bool waitForReply) {
        {
            QDBusConnection visitor =
                QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
            QDBusMessage setcode = QDBusMessage::createMethodCall(
                bus.baseService(), document->objectPath(), QStringLiteral("TTEdit.Document"),
                QStringLiteral("setcode"));
            setcode.setArguments({FontdClient::int16(0), FontdClient::int32(code), false});
            const QDBusPendingCall call = visitor.asyncCall(setcode);
            if (waitForReply)
                QTRY_VERIFY(call.isFinished());
            else
                QThread::msleep(200);
        }
        QDBusConnection::disconnectFromBus(name);
    };
    visit(QStringLiteral("stays a while"), 0x61, true);
    QCOMPARE(document->document().currentCode(), 0x61);
    QTRY_COMPARE(document->clientCount(), 0);
    visit(QStringLiteral("gone at once"), 0x62, false);
    QTRY_COMPARE(document->document().currentCode(), 0x62);
    QTRY_COMPARE(document->clientCount(), 0);
    QDBusConnection::disconnectFromBus(QStringLiteral("in-process"));
}

QTEST_GUILESS_MAIN(TestFontdClients)
#include "tst_fontd_clients.moc"
