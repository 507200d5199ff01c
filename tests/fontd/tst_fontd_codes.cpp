// Character codes through the real D-Bus interface of pointillo-fontd, activated on this
// test's private bus from the build tree's service file.

#include "FontdClient.h"
#include "codes/Cp932.h"

#include <QDBusObjectPath>
#include <QTest>

class TestFontdCodes : public QObject
{
    Q_OBJECT

private slots:
    void startsWithoutDocument();
    void newFile_data();
    void newFile();
    void westernCodes_data();
    void westernCodes();
    void japaneseCodes_data();
    void japaneseCodes();
    void int16Codes_data();
    void int16Codes();
    void getcodeAnswersInt16();
    void stepping_data();
    void stepping();
    void wrongArgumentTypes_data();
    void wrongArgumentTypes();
    void closeWithdrawsTheObject();

private:
    FontdClient m_client;
};

void TestFontdCodes::startsWithoutDocument()
{
    const QDBusMessage active = m_client.callApplication(QStringLiteral("ActiveDocument"));
    QVERIFY2(!FontdClient::isError(active), qPrintable(active.errorMessage()));
    QCOMPARE(FontdClient::value(active).value<QDBusObjectPath>().path(), QStringLiteral("/"));
    const QDBusMessage documents = m_client.callApplication(QStringLiteral("Documents"));
    QVERIFY(!FontdClient::isError(documents));
    QCOMPARE(documents.signature(), QStringLiteral("ao"));
    // Tests run with QT_QPA_PLATFORM=offscreen: no window.
    const QDBusMessage window = m_client.callApplication(QStringLiteral("hwnd"));
    QCOMPARE(window.signature(), QStringLiteral("i"));
    QCOMPARE(FontdClient::value(window).toInt(), 0);
}

void TestFontdCodes::newFile_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("created");
    QTest::newRow("Japanese") << 0 << true;
    QTest::newRow("Western") << 1 << true;
    QTest::newRow("kind 2") << 2 << false;
    QTest::newRow("kind -1") << -1 << false;
    QTest::newRow("kind 32767") << 32767 << false;
}

void TestFontdCodes::newFile()
{
    QFETCH(int, kind);
    QFETCH(bool, created);
    const QString before = m_client.activeDocument();
    const QDBusMessage reply =
        m_client.callApplication(QStringLiteral("NewFile"), {FontdClient::int16(kind), true});
    QVERIFY2(!FontdClient::isError(reply), qPrintable(reply.errorMessage()));
    const QString path = FontdClient::value(reply).value<QDBusObjectPath>().path();
    const QString active = m_client.activeDocument();
    if (!created) {
        QCOMPARE(path, QStringLiteral("/"));
        QCOMPARE(active, before);
        return;
    }
    QVERIFY(path.startsWith(QStringLiteral("/Document/")));
    QCOMPARE(active, path);
    QVERIFY(m_client.documents().contains(path));
    // A new font is untitled, holds no glyph and starts at the space.
    QCOMPARE(FontdClient::value(m_client.callDocument(path, QStringLiteral("FileName"))).toString(),
             QString());
    QCOMPARE(m_client.currentCode(path), 32);
    const QDBusMessage codes = m_client.callDocument(path, QStringLiteral("GlyphCodes"));
    QCOMPARE(codes.signature(), QStringLiteral("ai"));
    QCOMPARE(m_client.glyphCodes(path), QList<int>());
}

void TestFontdCodes::westernCodes_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("held");
    QTest::newRow("space") << 32 << true;
    QTest::newRow("A") << 0x41 << true;
    QTest::newRow("DEL") << 0x7F << true;
    QTest::newRow("0x80") << 0x80 << true;
    QTest::newRow("255") << 255 << true;
    QTest::newRow("31") << 31 << false;
    QTest::newRow("0") << 0 << false;
    QTest::newRow("256") << 256 << false;
    QTest::newRow("hiragana a 0x82A0") << 0x82A0 << false;
    QTest::newRow("0x8140") << 0x8140 << false;
    QTest::newRow("negative") << -5 << false;
    QTest::newRow("beyond 16 bits") << 0x10041 << false;
}

void TestFontdCodes::westernCodes()
{
    QFETCH(int, code);
    QFETCH(bool, held);
    const QString document = m_client.newFile(1);
    QVERIFY(!document.isEmpty());
    QCOMPARE(m_client.setCode(document, 0x42), 0x42);
    // A refused code leaves the current one where it was.
    QCOMPARE(m_client.setCode(document, code), held ? code : 0x42);
}

void TestFontdCodes::japaneseCodes_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("held");
    QTest::newRow("hiragana a 0x82A0") << 0x82A0 << true;
    QTest::newRow("ideographic space 0x8140") << 0x8140 << true;
    QTest::newRow("A") << 0x41 << true;
    QTest::newRow("half-width katakana 0xA1") << 0xA1 << true;
    QTest::newRow("kanji 0x889F") << 0x889F << true;
    QTest::newRow("last IBM extension 0xFC4B") << 0xFC4B << true;
    QTest::newRow("lead byte alone 0x82") << 0x82 << false;
    QTest::newRow("lead byte alone 0x81") << 0x81 << false;
    QTest::newRow("0x80") << 0x80 << false;
    QTest::newRow("0xA0") << 0xA0 << false;
    QTest::newRow("0xFD") << 0xFD << false;
    QTest::newRow("bad trail byte 0x8130") << 0x8130 << false;
    QTest::newRow("unassigned 0x85A0") << 0x85A0 << false;
    QTest::newRow("below the space") << 0x1F << false;
    QTest::newRow("beyond 16 bits") << 0x182A0 << false;
}

void TestFontdCodes::japaneseCodes()
{
    QFETCH(int, code);
    QFETCH(bool, held);
    const QString document = m_client.newFile(0);
    QVERIFY(!document.isEmpty());
    QCOMPARE(m_client.setCode(document, 0x8260), 0x8260);
    QCOMPARE(m_client.setCode(document, code), held ? code : 0x8260);
}

void TestFontdCodes::int16Codes_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("sent");
    QTest::addColumn<int>("expected");
    QTest::newRow("Japanese -32096 is 0x82A0") << 0 << -32096 << 0x82A0;
    QTest::newRow("Japanese -32448 is 0x8140") << 0 << -32448 << 0x8140;
    QTest::newRow("Japanese 65") << 0 << 65 << 65;
    QTest::newRow("Japanese -32767 is 0x8001, not held") << 0 << -32767 << 0x8260;
    QTest::newRow("Western 200") << 1 << 200 << 200;
    QTest::newRow("Western -32096 is refused") << 1 << -32096 << 0x42;
    QTest::newRow("Western -56 is 0xFFC8, refused") << 1 << -56 << 0x42;
}

void TestFontdCodes::int16Codes()
{
    QFETCH(int, kind);
    QFETCH(int, sent);
    QFETCH(int, expected);
    const QString document = m_client.newFile(kind);
    QVERIFY(!document.isEmpty());
    const int start = kind == 0 ? 0x8260 : 0x42;
    QCOMPARE(m_client.setCode(document, start), start);
    const QDBusMessage reply =
        m_client.callDocument(document, QStringLiteral("setcode"),
                              {FontdClient::int16(0), FontdClient::int16(sent), false});
    QVERIFY2(!FontdClient::isError(reply), qPrintable(reply.errorMessage()));
    QCOMPARE(m_client.currentCode(document), expected);
}

void TestFontdCodes::getcodeAnswersInt16()
{
    const QString document = m_client.newFile(0);
    QCOMPARE(m_client.setCode(document, 0x82A0), 0x82A0);
    const QDBusMessage reply =
        m_client.callDocument(document, QStringLiteral("getcode"), {FontdClient::int16(0), false});
    QVERIFY2(!FontdClient::isError(reply), qPrintable(reply.errorMessage()));
    QCOMPARE(reply.signature(), QStringLiteral("n"));
    QCOMPARE(FontdClient::value(reply).value<qint16>(), qint16(-32096));

    QCOMPARE(m_client.setCode(document, 0x7E), 0x7E);
    QCOMPARE(FontdClient::value(m_client.callDocument(document, QStringLiteral("getcode"),
                                                      {FontdClient::int16(0), false}))
                 .value<qint16>(),
             qint16(0x7E));
}

void TestFontdCodes::stepping_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("member");
    QTest::addColumn<int>("expected");

    // The Japanese font's codes come from the code page, so the expected neighbours are
    // looked up there rather than written down.
    std::vector<int> japanese;
    for (int code : Cp932::definedCodes())
        if (code >= 0x20)
            japanese.push_back(code);
    std::sort(japanese.begin(), japanese.end());
    const auto after = [&](int code) {
        return *std::upper_bound(japanese.begin(), japanese.end(), code);
    };
    const auto before = [&](int code) {
        return *(std::lower_bound(japanese.begin(), japanese.end(), code) - 1);
    };
    const QString next = QStringLiteral("viewnextcode");
    const QString previous = QStringLiteral("viewpreviouscode");

    QTest::newRow("Western next from 65") << 1 << 65 << next << 66;
    QTest::newRow("Western previous from 65") << 1 << 65 << previous << 64;
    QTest::newRow("Western previous stays at 32") << 1 << 32 << previous << 32;
    QTest::newRow("Western next stays at 255") << 1 << 255 << next << 255;
    QTest::newRow("Western previous from 255") << 1 << 255 << previous << 254;
    QTest::newRow("Western next from 32") << 1 << 32 << next << 33;
    QTest::newRow("Japanese previous stays at the first code")
        << 0 << japanese.front() << previous << japanese.front();
    QTest::newRow("Japanese next stays at the last code")
        << 0 << japanese.back() << next << japanese.back();
    QTest::newRow("Japanese previous from the last code")
        << 0 << japanese.back() << previous << before(japanese.back());
    QTest::newRow("Japanese next skips the gap after 0x7F") << 0 << 0x7F << next << after(0x7F);
    QTest::newRow("Japanese single byte to double byte") << 0 << 0xDF << next << 0x8140;
    QTest::newRow("Japanese double byte to single byte") << 0 << 0x8140 << previous << 0xDF;
    QTest::newRow("Japanese next over unassigned codes") << 0 << 0x84BE << next << after(0x84BE);
    QTest::newRow("Japanese next from 0x829F") << 0 << 0x829F << next << 0x82A0;
}

void TestFontdCodes::stepping()
{
    QFETCH(int, kind);
    QFETCH(int, start);
    QFETCH(QString, member);
    QFETCH(int, expected);
    const QString document = m_client.newFile(kind);
    QCOMPARE(m_client.setCode(document, start), start);
    const QDBusMessage reply = m_client.callDocument(document, member);
    QVERIFY2(!FontdClient::isError(reply), qPrintable(reply.errorMessage()));
    QCOMPARE(m_client.currentCode(document), expected);
    // Stepping twice more at an end still stays.
    if (start == expected) {
        m_client.callDocument(document, member);
        QCOMPARE(m_client.currentCode(document), expected);
    }
}

void TestFontdCodes::wrongArgumentTypes_data()
{
    QTest::addColumn<QString>("member");
    QTest::addColumn<QVariantList>("args");
    const QVariant i16 = FontdClient::int16(0);
    QTest::newRow("setcode with a string code")
        << QStringLiteral("setcode") << QVariantList{i16, QStringLiteral("65"), false};
    QTest::newRow("setcode with an int32 first argument")
        << QStringLiteral("setcode") << QVariantList{FontdClient::int32(0), 65, false};
    QTest::newRow("setcode with a double code")
        << QStringLiteral("setcode") << QVariantList{i16, 65.0, false};
    QTest::newRow("setcode without its Boolean")
        << QStringLiteral("setcode") << QVariantList{i16, FontdClient::int32(65)};
    QTest::newRow("getcode without arguments") << QStringLiteral("getcode") << QVariantList{};
    QTest::newRow("viewnextcode with an argument")
        << QStringLiteral("viewnextcode") << QVariantList{1};
    QTest::newRow("ImportBmpfile with a number")
        << QStringLiteral("ImportBmpfile") << QVariantList{FontdClient::int32(5)};
    QTest::newRow("SetLeftRightSidebearing with int32")
        << QStringLiteral("SetLeftRightSidebearing")
        << QVariantList{FontdClient::int32(10), FontdClient::int32(10), false};
    QTest::newRow("a member that does not exist") << QStringLiteral("Explode") << QVariantList{};
}

void TestFontdCodes::wrongArgumentTypes()
{
    QFETCH(QString, member);
    QFETCH(QVariantList, args);
    const QString document = m_client.newFile(0);
    QCOMPARE(m_client.setCode(document, 0x82A0), 0x82A0);
    const QDBusMessage reply = m_client.callDocument(document, member, args);
    QVERIFY(FontdClient::isError(reply));
    QVERIFY(!reply.errorName().isEmpty());
    QVERIFY(!reply.errorMessage().isEmpty());
    // The server is still there and the document as it was.
    QCOMPARE(m_client.currentCode(document), 0x82A0);
    QCOMPARE(FontdClient::value(m_client.callDocument(document, QStringLiteral("saved"))),
             QVariant(true));
}

void TestFontdCodes::closeWithdrawsTheObject()
{
    const QString first = m_client.newFile(1);
    const QString second = m_client.newFile(0);
    QVERIFY(!first.isEmpty() && !second.isEmpty() && first != second);
    QVERIFY(!FontdClient::isError(m_client.callDocument(second, QStringLiteral("Close"))));

    const QDBusMessage gone = m_client.callDocument(second, QStringLiteral("saved"));
    QVERIFY(FontdClient::isError(gone));
    const QStringList all = m_client.documents();
    QVERIFY(!all.contains(second));
    QVERIFY(all.contains(first));
    // The active document falls back to one that is still open.
    const QString active = m_client.activeDocument();
    QVERIFY(all.contains(active));

    // Numbers are not reused: a stale path never reaches a newer font.
    const QString third = m_client.newFile(1);
    QVERIFY(third != second && third != first);

    // Closing every document leaves "/".
    for (const QString& path : m_client.documents())
        QVERIFY(!FontdClient::isError(m_client.callDocument(path, QStringLiteral("Close"))));
    QCOMPARE(m_client.documents(), QStringList());
    QCOMPARE(m_client.activeDocument(), QStringLiteral("/"));
}

QTEST_GUILESS_MAIN(TestFontdCodes)
#include "tst_fontd_codes.moc"
