// Several clients on one font: through the real pointillo-fontd each has a current code of its
// own, so that none puts a glyph on another's code, and a script of one-shot calls still works
// as one client; in-process, a client's code goes when it leaves the bus.

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
    void initTestCase();
    void eachClientHasItsOwnCode();
    void oneShotCallsWorkAsOneClient();
    void codesGoWithTheirClients();

private:
    // Side bearings in the saved font: left, and the advance; {-1, -1} without a glyph.
    std::pair<int, int> metrics(const QString& document, int code);

    FontdClient m_editor;
    QTemporaryDir m_dir;
    QString m_bitmap;
};

void TestFontdClients::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_bitmap = m_dir.filePath(QStringLiteral("dots.bmp"));
    QVERIFY(DotBitmap({"#.#", ".#."}, 40).write(m_bitmap));
}

std::pair<int, int> TestFontdClients::metrics(const QString& document, int code)
{
    static int saves = 0;
    const QString font = m_dir.filePath(QStringLiteral("font%1.ttf").arg(++saves));
    if (FontdClient::isError(m_editor.callDocument(document, QStringLiteral("SaveAs"), {font})))
        return {-2, -2};
    int advance = -1, lsb = -1;
    if (FontCheck::glyphIndex(font, code) <= 0 ||
        !FontCheck::horizontalMetrics(font, code, &advance, &lsb))
        return {-1, -1};
    return {lsb, advance};
}

void TestFontdClients::eachClientHasItsOwnCode()
{
    // The editor exports at 0x41 while a script steps between 0x42 and 0x43.
    const FontdClient script(
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("script")));
    const QString document = m_editor.newFile(1);
    QCOMPARE(m_editor.setCode(document, 0x41), 0x41);
    QCOMPARE(script.currentCode(document), 0x41); // a new client starts at the last move
    QCOMPARE(script.setCode(document, 0x42), 0x42);
    QCOMPARE(m_editor.currentCode(document), 0x41);

    const auto call = [&](const FontdClient& client, const char* member,
                          const QVariantList& args = {}) {
        const QDBusMessage reply = client.callDocument(document, QString::fromLatin1(member), args);
        QVERIFY2(!FontdClient::isError(reply), qPrintable(reply.errorMessage()));
    };
    const QVariantList sideBearings = {FontdClient::int16(10), FontdClient::int16(20), false};
    call(m_editor, "selectall");
    call(script, "viewnextcode");
    call(m_editor, "Delete");
    call(script, "viewpreviouscode");
    call(m_editor, "ImportBmpfile", {m_bitmap});
    call(script, "viewnextcode");
    call(script, "ImportBmpfile", {m_bitmap});
    call(m_editor, "SetLeftRightSidebearing", sideBearings);
    QCOMPARE(m_editor.currentCode(document), 0x41);
    QCOMPARE(script.currentCode(document), 0x43);

    // A selection is the client's own too: the script's does not let the editor's Delete act.
    call(script, "selectall");
    call(m_editor, "Delete");
    QCOMPARE(m_editor.glyphCodes(document), (QList<int>{0x41, 0x43}));
    // Three dots of 40 pixels, 2 units each, between the side bearings.
    QCOMPARE(metrics(document, 0x41), std::pair(10, 10 + 3 * 40 * 2 + 20));
    QCOMPARE(metrics(document, 0x42), std::pair(-1, -1));
    QCOMPARE(metrics(document, 0x43).first, 2); // the image's first ink column, untouched
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
        return reply;
    };
    const QString document = m_editor.newFile(1);
    QVERIFY(!FontdClient::isError(
        oneShot(document, "setcode", {FontdClient::int16(0), FontdClient::int32(0x50), false})));
    QVERIFY(!FontdClient::isError(oneShot(document, "ImportBmpfile", {m_bitmap})));
    QCOMPARE(metrics(document, 0x50).first, 2);
    QVERIFY(!FontdClient::isError(oneShot(document, "selectall")));
    QVERIFY(!FontdClient::isError(oneShot(document, "Delete")));
    QCOMPARE(oneShot(document, "saved").arguments().value(0), QVariant(false));
    QCOMPARE(metrics(document, 0x50).first, 0); // emptied
    QCOMPARE(FontdClient::value(oneShot(document, "getcode", {FontdClient::int16(0), false})),
             QVariant::fromValue<qint16>(0x50));
}

void TestFontdClients::codesGoWithTheirClients()
{
    QDBusConnection bus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("in-process"));
    FontServer server(bus);
    QString error;
    QVERIFY2(server.registerObjects(&error), qPrintable(error));
    DocumentObject* document = server.newDocument(FontDocument::Western);
    QVERIFY(document->selectCode(0x60));
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
