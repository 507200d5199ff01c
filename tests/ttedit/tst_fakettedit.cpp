#include "common/FakeTTEdit.h"

#include "ttedit/DotsBitmap.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

QVariant i16(int v)
{
    return QVariant::fromValue(qint16(v));
}

} // namespace

// The fake stands in for the font server in the editor's tests: its answers must be those of
// the D-Bus contract, or those tests prove nothing.
class TestFakeTTEdit : public QObject
{
    Q_OBJECT

private slots:
    void setcodeAndGetcode_data();
    void setcodeAndGetcode();
    void wrongArgumentTypesFail_data();
    void wrongArgumentTypesFail();
    void stepping();
    void selectAllThenDeleteEmpties();
    void importReadsTheFile();
    void importOfUnreadableFileFails();
    void sideBearingsAndSaving();
    void newFile_data();
    void newFile();
    void notRunningAndNotStartable();
    void documentDisappears();
    void failingMember();
    void documentOpenedWhileAsking();
    void recordsCallsWithTypes();
};

void TestFakeTTEdit::setcodeAndGetcode_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVariant>("code");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("getcode");
    const int w = int(FakeTTEdit::Kind::Western);
    const int j = int(FakeTTEdit::Kind::Japanese);
    QTest::newRow("Western, int32 65") << w << QVariant(65) << 65 << 65;
    QTest::newRow("Western, int16 65") << w << i16(65) << 65 << 65;
    QTest::newRow("Western refuses 0x82A0") << w << QVariant(0x82A0) << 32 << 32;
    QTest::newRow("Western refuses int16 -32096") << w << i16(-32096) << 32 << 32;
    QTest::newRow("Western refuses 31") << w << QVariant(31) << 32 << 32;
    QTest::newRow("Western refuses 256") << w << QVariant(256) << 32 << 32;
    QTest::newRow("Japanese, int16 -32096 is 0x82A0") << j << i16(-32096) << 0x82A0 << -32096;
    QTest::newRow("Japanese, int32 0x82A0") << j << QVariant(0x82A0) << 0x82A0 << -32096;
    QTest::newRow("Japanese refuses a lone lead byte") << j << QVariant(0x81) << 32 << 32;
    QTest::newRow("Japanese, half-width katakana") << j << QVariant(0xB1) << 0xB1 << 0xB1;
    QTest::newRow("Japanese refuses int32 -32096") << j << QVariant(-32096) << 32 << 32;
}

void TestFakeTTEdit::setcodeAndGetcode()
{
    QFETCH(int, kind);
    QFETCH(QVariant, code);
    QFETCH(int, current);
    QFETCH(int, getcode);
    FakeTTEdit fake;
    fake.openDocument(FakeTTEdit::Kind(kind));
    const AutomationPtr doc =
        AutomationObject::toObject(fake.getObject("TTEdit.Application")->call("ActiveDocument"));
    QVERIFY(doc);
    QCOMPARE(fake.currentCode(), 32);
    QVERIFY(doc->call("setcode", {i16(0), code, false}));
    QCOMPARE(fake.currentCode(), current);
    const std::optional<QVariant> r = doc->call("getcode", {i16(0), false});
    QVERIFY(r);
    QCOMPARE(r->typeId(), int(QMetaType::Short));
    QCOMPARE(r->toInt(), getcode);
}

void TestFakeTTEdit::wrongArgumentTypesFail_data()
{
    QTest::addColumn<QString>("member");
    QTest::addColumn<QVariantList>("args");
    QTest::newRow("setcode with int32 selector") << "setcode" << QVariantList{0, 65, false};
    QTest::newRow("setcode with int flag") << "setcode" << QVariantList{i16(0), 65, 0};
    QTest::newRow("setcode short of one") << "setcode" << QVariantList{i16(0), 65};
    QTest::newRow("getcode with int32") << "getcode" << QVariantList{0, false};
    QTest::newRow("sidebearing int32") << "SetLeftRightSidebearing" << QVariantList{1, 2, false};
    QTest::newRow("import with a number") << "ImportBmpfile" << QVariantList{1};
    QTest::newRow("selectall with an argument") << "selectall" << QVariantList{true};
    QTest::newRow("unknown member") << "Nonsense" << QVariantList{};
}

void TestFakeTTEdit::wrongArgumentTypesFail()
{
    QFETCH(QString, member);
    QFETCH(QVariantList, args);
    FakeTTEdit fake;
    fake.openDocument(FakeTTEdit::Kind::Western);
    const AutomationPtr doc =
        AutomationObject::toObject(fake.getObject("TTEdit.Application")->call("ActiveDocument"));
    QCOMPARE(doc->call(member, args), std::nullopt);
    QVERIFY(!fake.calls().last().ok);
    QCOMPARE(fake.currentCode(), 32);
}

void TestFakeTTEdit::stepping()
{
    FakeTTEdit fake;
    fake.openDocument(FakeTTEdit::Kind::Japanese, {0x20, 0x41, 0x82A0});
    const AutomationPtr doc =
        AutomationObject::toObject(fake.getObject("TTEdit.Application")->call("ActiveDocument"));
    QVERIFY(doc->call("viewpreviouscode"));
    QCOMPARE(fake.currentCode(), 0x20); // stays at the first
    QVERIFY(doc->call("viewnextcode"));
    QCOMPARE(fake.currentCode(), 0x41);
    QVERIFY(doc->call("viewnextcode"));
    QCOMPARE(fake.currentCode(), 0x82A0);
    QVERIFY(doc->call("viewnextcode"));
    QCOMPARE(fake.currentCode(), 0x82A0); // stays at the last
    QVERIFY(doc->call("viewpreviouscode"));
    QCOMPARE(fake.currentCode(), 0x41);
}

void TestFakeTTEdit::selectAllThenDeleteEmpties()
{
    QTemporaryDir dir;
    const QString file = dir.filePath("ptl_dots.bmp");
    QImage canvas(16, 16, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    QVERIFY(DotsBitmap::saveDotsBmp(file, canvas));

    FakeTTEdit fake;
    fake.openDocument(FakeTTEdit::Kind::Western);
    const AutomationPtr doc =
        AutomationObject::toObject(fake.getObject("TTEdit.Application")->call("ActiveDocument"));
    QVERIFY(doc->call("setcode", {i16(0), 65, false}));
    QVERIFY(doc->call("ImportBmpfile", {file}));
    QVERIFY(!fake.glyph(65)->bitmap.isEmpty());
    QVERIFY(doc->call("Delete"));
    QVERIFY2(!fake.glyph(65)->bitmap.isEmpty(), "Delete without selectall keeps the glyph");
    QVERIFY(doc->call("selectall"));
    QVERIFY(doc->call("setcode", {i16(0), 66, false}));
    QVERIFY(doc->call("setcode", {i16(0), 65, false}));
    QVERIFY(doc->call("Delete"));
    QVERIFY2(!fake.glyph(65)->bitmap.isEmpty(), "moving drops the selection");
    QVERIFY(doc->call("selectall"));
    QVERIFY(doc->call("Delete"));
    QVERIFY(fake.glyph(65)->present);
    QVERIFY(fake.glyph(65)->bitmap.isEmpty());
}

void TestFakeTTEdit::importReadsTheFile()
{
    QTemporaryDir dir;
    const QString file = dir.filePath("ptl_dots.bmp");
    QImage canvas(480, 480, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    canvas.setPixel(0, 0, qRgb(0, 0, 0));
    QVERIFY(DotsBitmap::saveDotsBmp(file, canvas));

    FakeTTEdit fake;
    fake.openDocument(FakeTTEdit::Kind::Western);
    const AutomationPtr doc =
        AutomationObject::toObject(fake.getObject("TTEdit.Application")->call("ActiveDocument"));
    QVERIFY(fake.isSaved());
    QVERIFY(doc->call("ImportBmpfile", {file}));
    // The bytes as they were at the import, not as the file is later.
    canvas.fill(Qt::white);
    QVERIFY(DotsBitmap::saveDotsBmp(file, canvas));
    QCOMPARE(fake.glyph(32)->bitmap.size(), 28862);
    QCOMPARE(uchar(fake.glyph(32)->bitmap[62 + 479 * 60]), uchar(0x80));
    QCOMPARE(fake.glyph(32)->bitmapFile, file);
    QVERIFY(!fake.isSaved());
}

void TestFakeTTEdit::importOfUnreadableFileFails()
{
    FakeTTEdit fake;
    fake.openDocument(FakeTTEdit::Kind::Western);
    const AutomationPtr doc =
        AutomationObject::toObject(fake.getObject("TTEdit.Application")->call("ActiveDocument"));
    QCOMPARE(doc->call("ImportBmpfile", {QStringLiteral("/no/such/file.bmp")}), std::nullopt);
    QCOMPARE(fake.glyph(32), nullptr);
    QVERIFY(fake.isSaved());
}

void TestFakeTTEdit::sideBearingsAndSaving()
{
    FakeTTEdit fake;
    fake.openDocument(FakeTTEdit::Kind::Western);
    const AutomationPtr doc =
        AutomationObject::toObject(fake.getObject("TTEdit.Application")->call("ActiveDocument"));
    QCOMPARE(doc->call("saved"), std::optional<QVariant>(true));
    QVERIFY(doc->call("SetLeftRightSidebearing", {i16(12), i16(-3), false}));
    QCOMPARE(fake.glyph(32)->lsb, std::optional<qint16>(12));
    QCOMPARE(fake.glyph(32)->rsb, std::optional<qint16>(-3));
    QCOMPARE(doc->call("saved"), std::optional<QVariant>(false));
    QVERIFY(doc->call("save"));
    QCOMPARE(doc->call("saved"), std::optional<QVariant>(true));
    QCOMPARE(fake.saveCount(), 1);
}

void TestFakeTTEdit::newFile_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<bool>("created");
    QTest::addColumn<int>("lastCode");
    QTest::newRow("Western") << 1 << false << true << 255;
    QTest::newRow("Japanese") << 0 << false << true << 0xFC4B;
    QTest::newRow("no such kind") << 2 << false << false << 0;
    QTest::newRow("refused") << 1 << true << false << 0;
}

void TestFakeTTEdit::newFile()
{
    QFETCH(int, kind);
    QFETCH(bool, refused);
    QFETCH(bool, created);
    QFETCH(int, lastCode);
    FakeTTEdit fake;
    fake.setNewFileRefused(refused);
    const AutomationPtr app = fake.getObject("TTEdit.Application");
    QVERIFY(!AutomationObject::toObject(app->call("ActiveDocument")));
    const std::optional<QVariant> r = app->call("NewFile", {i16(kind), true});
    QVERIFY2(r, "nothing is an answer, not a failure");
    const AutomationPtr doc = AutomationObject::toObject(r);
    QCOMPARE(bool(doc), created);
    QCOMPARE(fake.hasDocument(), created);
    if (created) {
        QCOMPARE(fake.codes().front(), 32);
        QCOMPARE(fake.codes().back(), lastCode);
        QVERIFY(AutomationObject::toObject(app->call("ActiveDocument")));
    }
    QCOMPARE(app->call("NewFile", {kind, true}), std::nullopt); // int32 kind is no NewFile
}

void TestFakeTTEdit::notRunningAndNotStartable()
{
    FakeTTEdit fake;
    fake.openDocument(FakeTTEdit::Kind::Western);
    const AutomationPtr before = fake.getObject("TTEdit.Application");
    fake.setRunning(false);
    QVERIFY(!fake.getObject("TTEdit.Application"));
    QCOMPARE(before->call("hwnd"), std::nullopt);
    fake.setStartable(false);
    QVERIFY(!fake.createObject("TTEdit.Application"));
    QVERIFY(!fake.isRunning());
    fake.setStartable(true);
    const AutomationPtr app = fake.createObject("TTEdit.Application");
    QVERIFY(app);
    QVERIFY(fake.isRunning());
    QCOMPARE(app->call("hwnd"), std::optional<QVariant>(fake.hwnd()));
    QVERIFY(!fake.getObject("Other.Application"));
    QCOMPARE(fake.callNames(), QStringList({"Host.getObject", "Host.getObject", "Application.hwnd",
                                            "Host.createObject", "Host.createObject",
                                            "Application.hwnd", "Host.getObject"}));
}

void TestFakeTTEdit::documentDisappears()
{
    FakeTTEdit fake;
    fake.openDocument(FakeTTEdit::Kind::Western);
    const AutomationPtr app = fake.getObject("TTEdit.Application");
    const AutomationPtr doc = AutomationObject::toObject(app->call("ActiveDocument"));
    QVERIFY(doc->call("getcode", {i16(0), false}));
    fake.closeDocument();
    QCOMPARE(doc->call("getcode", {i16(0), false}), std::nullopt);
    QCOMPARE(fake.calls().last().object, QStringLiteral("Document/1"));
    QVERIFY(!fake.calls().last().ok);
    QVERIFY(!AutomationObject::toObject(app->call("ActiveDocument")));
}

void TestFakeTTEdit::failingMember()
{
    FakeTTEdit fake;
    fake.openDocument(FakeTTEdit::Kind::Western);
    const AutomationPtr doc =
        AutomationObject::toObject(fake.getObject("TTEdit.Application")->call("ActiveDocument"));
    fake.setFailing("setcode");
    QCOMPARE(doc->call("setcode", {i16(0), 65, false}), std::nullopt);
    QCOMPARE(fake.currentCode(), 32);
    QVERIFY(doc->call("getcode", {i16(0), false}));
    fake.setFailing("setcode", false);
    QVERIFY(doc->call("setcode", {i16(0), 65, false}));
    QCOMPARE(fake.currentCode(), 65);
}

void TestFakeTTEdit::documentOpenedWhileAsking()
{
    FakeTTEdit fake;
    const AutomationPtr app = fake.getObject("TTEdit.Application");
    QVERIFY(!AutomationObject::toObject(app->call("ActiveDocument")));
    int asked = 0;
    fake.beforeCall = [&](const FakeTTEdit::Call& call) {
        if (call.member == u"ActiveDocument" && ++asked == 2)
            fake.openDocument(FakeTTEdit::Kind::Japanese);
    };
    QVERIFY(!AutomationObject::toObject(app->call("ActiveDocument")));
    const AutomationPtr doc = AutomationObject::toObject(app->call("ActiveDocument"));
    QVERIFY(doc);
    QCOMPARE(fake.kind(), FakeTTEdit::Kind::Japanese);
}

void TestFakeTTEdit::recordsCallsWithTypes()
{
    FakeTTEdit fake;
    fake.openDocument(FakeTTEdit::Kind::Western);
    const AutomationPtr doc =
        AutomationObject::toObject(fake.getObject("TTEdit.Application")->call("ActiveDocument"));
    fake.clearCalls();
    doc->call("setcode", {i16(0), 65, false});
    doc->call("ImportBmpfile", {QStringLiteral("/x.bmp")});
    QCOMPARE(fake.calls().size(), 2);
    const FakeTTEdit::Call& c = fake.calls()[0];
    QCOMPARE(c.object, QStringLiteral("Document/1"));
    QCOMPARE(c.member, QStringLiteral("setcode"));
    QCOMPARE(c.args, (QVariantList{i16(0), 65, false}));
    QCOMPARE(c.types, (QList<int>{QMetaType::Short, QMetaType::Int, QMetaType::Bool}));
    QVERIFY(c.ok);
    QCOMPARE(fake.calls()[1].types, QList<int>{QMetaType::QString});
    QVERIFY(!fake.calls()[1].ok);
}

QTEST_GUILESS_MAIN(TestFakeTTEdit)
#include "tst_fakettedit.moc"
