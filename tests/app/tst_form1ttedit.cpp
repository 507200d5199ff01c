// SetupTTEdit and the glyph export of the main window, against a scripted font server.

#include "chartable/CharTable.h"
#include "common/Form1Fixture.h"
#include "editor/DotCanvas.h"
#include "ttedit/DotsBitmap.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Kind = FakeTTEdit::Kind;
using Call = FakeTTEdit::Call;
using Status = Form1::ExportStatus;

// The program's texts, written out here as the user reads them.
const QString noServer = QStringLiteral("TTEditが起動できませんでした");
const QString noFont =
    QStringLiteral("フォントファイルが開かれていません。新規作成しますか？\r\r新規作成する場合は "
                   "Yes(はい)、既存のファイルを開く場合は、自分で開いた後に No(いいえ)を押してく"
                   "ださい。");
const QString whichKind =
    QStringLiteral("欧文フォントなら Yes(はい)、和文フォントなら No(いいえ)を押してください。");
const QString cannotCreate = QStringLiteral("フォントファイルを新規作成できませんでした");
const QString noCell =
    QStringLiteral("この文字コードはキャラクタテーブルにありません。TTEditの文字は"
                   "空のグリフで置き換えられます。よろしいですか？");
const QString cannotWrite = QStringLiteral("ドットファイルを書き込めませんでした");

constexpr QRgb Grey = 0xffc8c8c8;

QList<int> types(std::initializer_list<QMetaType::Type> list)
{
    QList<int> out;
    for (QMetaType::Type t : list)
        out << int(t);
    return out;
}

// The glyph calls of an export, as names without their object.
QStringList members(const QList<Call>& calls, qsizetype from = 0)
{
    QStringList out;
    for (qsizetype i = from; i < calls.size(); ++i)
        out << calls[i].member;
    return out;
}

} // namespace

class TestForm1TTEdit : public QObject, private Form1Fixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // SetupTTEdit
    void alreadyOpen_data();
    void alreadyOpen();
    void noFontThenOpenedByTheUser();
    void noFontAskedUntilYes();
    void westernFontLowersTheCode();
    void japaneseFontKeepsTheCode();
    void creationRefused();
    void unreachableServer();
    void serverStartedWhenNotRunning();
    void failedProbeMeansSingleByte();
    void showBringsTheWindowForward();
    void questionShowsTheWindow();

    // The export
    void exportCalls();
    void exportImage_data();
    void exportImage();
    void sideBearing_data();
    void sideBearing();
    void sideBearingsOff();
    void emptyGlyph();
    void exportWithoutServer();
    void unwritableDotsFile_data();
    void unwritableDotsFile();
    void codeWithoutCell_data();
    void codeWithoutCell();
    void codeTheFontLacks();
    void refusedCallsChangeNothingUntold();
    void batchMakesNoSetupAndNoRedraw();
    void buttonMenuAndShortcut();
    void sliderSizeLabel();
    void sideBearingBoxesFollowSetSB();

private:
    Form1& form() { return *m_form; }
    // Index of the first call after the set-up of an export (the one after hwnd).
    qsizetype afterSetup() const;
    void paint(std::initializer_list<QPoint> dots);
    // The boxes show char_ and the font stands there, as after start-up; calls and texts
    // cleared.
    void settle();

    QTemporaryDir m_dir;
};

void TestForm1TTEdit::init()
{
    QVERIFY(m_dir.isValid());
    Form1& f = createForm();
    f.dotsFileName = m_dir.filePath(QStringLiteral("ptl_dots.bmp"));
    QFile::remove(f.dotsFileName);
    showAtOrigin(f);
}

void TestForm1TTEdit::cleanup()
{
    destroyForm();
}

qsizetype TestForm1TTEdit::afterSetup() const
{
    const QList<Call>& calls = m_ttedit->calls();
    for (qsizetype i = calls.size() - 1; i >= 0; --i)
        if (calls[i].member == u"hwnd")
            return i + 1;
    return 0;
}

void TestForm1TTEdit::settle()
{
    form().drawGrid();
    m_ttedit->clearCalls();
    m_prompt.clear();
}

void TestForm1TTEdit::paint(std::initializer_list<QPoint> dots)
{
    Form1& f = form();
    for (QPoint p : dots)
        CharTable::setPixel(f.store().pageForWrite(f.currentPage()), QPoint(f.bufX, f.bufY) + p,
                            CharTable::SetColour);
}

void TestForm1TTEdit::alreadyOpen_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("fontKind");
    QTest::addColumn<QString>("face");
    QTest::addColumn<bool>("inputMethod");
    QTest::newRow("Western") << int(Kind::Western) << 1 << "Arial" << false;
    QTest::newRow("Japanese") << int(Kind::Japanese) << 2 << "ＭＳ Ｐゴシック" << true;
}

void TestForm1TTEdit::alreadyOpen()
{
    QFETCH(int, kind);
    QFETCH(int, fontKind);
    QFETCH(QString, face);
    QFETCH(bool, inputMethod);
    Form1& f = form();
    m_ttedit->openDocument(Kind(kind));
    m_ttedit->setCurrentCode(70);
    // The Western box starts with its input method available: the set-up disables it.
    f.TextChar->setAttribute(Qt::WA_InputMethodEnabled, !inputMethod);

    QVERIFY(f.SetupTTEdit(false));
    QVERIFY(m_prompt.shown().isEmpty());
    QVERIFY(!f.bAskSave);
    QCOMPARE(f.fontKind, fontKind);
    QVERIFY(f.ttDoc);
    // The probe asks for 0x82A0 as a 16-bit number and puts the font back where it stood.
    QCOMPARE(m_ttedit->callNames(),
             (QStringList{"Host.getObject", "Application.ActiveDocument", "Document/1.getcode",
                          "Document/1.setcode", "Document/1.getcode", "Document/1.saved",
                          "Document/1.FamilyName", "Document/1.setcode"}));
    const QList<Call>& calls = m_ttedit->calls();
    QCOMPARE(calls[2].types, types({QMetaType::Short, QMetaType::Bool}));
    QCOMPARE(calls[3].types, types({QMetaType::Short, QMetaType::Short, QMetaType::Bool}));
    QCOMPARE(calls[3].args[1].toInt(), -32096);
    QCOMPARE(calls[7].types, types({QMetaType::Short, QMetaType::Int, QMetaType::Bool}));
    QCOMPARE(calls[7].args[1].toInt(), 70);
    QCOMPARE(m_ttedit->currentCode(), 70);

    QCOMPARE(f.TextChar->font().family(), face);
    QCOMPARE(f.TextChar->font().pointSize(), 9);
    QCOMPARE(f.TextChar->testAttribute(Qt::WA_InputMethodEnabled), inputMethod);

    // A font taken without a question leaves bAskSave as it was.
    f.bAskSave = true;
    QVERIFY(f.SetupTTEdit(false));
    QVERIFY(f.bAskSave);
}

void TestForm1TTEdit::noFontThenOpenedByTheUser()
{
    Form1& f = form();
    m_prompt.onAsk = [this](const QString&) {
        // The user opens a font in the server while the question is up, then answers No.
        m_ttedit->openDocument(Kind::Japanese);
        return false;
    };
    QVERIFY(f.SetupTTEdit(false));
    QCOMPARE(m_prompt.questions(), QStringList{noFont});
    QVERIFY(m_prompt.shown().first().systemModal);
    QVERIFY(f.bAskSave);
    QCOMPARE(f.fontKind, 2);
    QVERIFY(!m_ttedit->callNames().contains("Application.NewFile"));
}

void TestForm1TTEdit::noFontAskedUntilYes()
{
    Form1& f = form();
    m_prompt.answer({false, false, true, true});
    QVERIFY(f.SetupTTEdit(false));
    QCOMPARE(m_prompt.questions(), (QStringList{noFont, noFont, noFont, whichKind}));
    for (const ScriptedPrompt::Shown& s : m_prompt.shown())
        QVERIFY(s.systemModal);
    QVERIFY(m_prompt.messages().isEmpty());
    QVERIFY(f.bAskSave);
    QCOMPARE(f.fontKind, 1);

    // Each No looks for a font again; Yes then Western creates one.
    const QStringList names = m_ttedit->callNames();
    QCOMPARE(names.count("Application.ActiveDocument"), 3);
    const qsizetype newFile = names.indexOf("Application.NewFile");
    QVERIFY(newFile > 0);
    const Call& call = m_ttedit->calls()[newFile];
    QCOMPARE(call.types, types({QMetaType::Short, QMetaType::Bool}));
    QCOMPARE(call.args[0].toInt(), 1);
    QCOMPARE(call.args[1].toBool(), true);
    // The new font is moved to the editor's code, as a 32-bit number.
    const Call& setcode = m_ttedit->calls()[newFile + 1];
    QCOMPARE(setcode.member, QStringLiteral("setcode"));
    QCOMPARE(setcode.types, types({QMetaType::Short, QMetaType::Int, QMetaType::Bool}));
    QCOMPARE(setcode.args[1].toInt(), 33);
    QCOMPARE(m_ttedit->currentCode(), 33);
}

void TestForm1TTEdit::westernFontLowersTheCode()
{
    Form1& f = form();
    f.char_ = 300;
    m_prompt.answer({true, true});
    QVERIFY(f.SetupTTEdit(false));
    QCOMPARE(f.char_, 255);
    QCOMPARE(m_ttedit->currentCode(), 255);
    QCOMPARE(m_ttedit->kind(), Kind::Western);
}

void TestForm1TTEdit::japaneseFontKeepsTheCode()
{
    Form1& f = form();
    f.char_ = 0x8140;
    m_prompt.answer({true, false});
    QVERIFY(f.SetupTTEdit(false));
    const qsizetype newFile = m_ttedit->callNames().indexOf("Application.NewFile");
    QCOMPARE(m_ttedit->calls()[newFile].args[0].toInt(), 0);
    QCOMPARE(f.char_, 0x8140);
    QCOMPARE(m_ttedit->currentCode(), 0x8140);
    QCOMPARE(f.fontKind, 2);
    QVERIFY(f.bAskSave);
    QCOMPARE(f.TextChar->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    QVERIFY(f.TextChar->testAttribute(Qt::WA_InputMethodEnabled));
}

void TestForm1TTEdit::creationRefused()
{
    Form1& f = form();
    m_ttedit->setNewFileRefused(true);
    m_prompt.answer({true, true});
    QVERIFY(!f.SetupTTEdit(false));
    QCOMPARE(m_prompt.messages(), QStringList{cannotCreate});
    QVERIFY(!f.ttDoc);
    QCOMPARE(f.fontKind, 0);
    QVERIFY(!f.bAskSave);
    QVERIFY(!m_ttedit->callNames().contains("Document/1.setcode"));
}

void TestForm1TTEdit::unreachableServer()
{
    Form1& f = form();
    m_ttedit->openDocument(Kind::Japanese);
    QVERIFY(f.SetupTTEdit(false));
    const AutomationPtr before = f.ttDoc;
    QVERIFY(before);

    m_ttedit->setRunning(false);
    m_ttedit->setStartable(false);
    QVERIFY(!f.SetupTTEdit(true));
    QCOMPARE(m_prompt.messages(), QStringList{noServer});
    QVERIFY(m_prompt.questions().isEmpty());
    QCOMPARE(f.ttDoc, before);
    QVERIFY(!f.ttApp);
    QCOMPARE(f.fontKind, 0);
}

void TestForm1TTEdit::serverStartedWhenNotRunning()
{
    Form1& f = form();
    m_ttedit->openDocument(Kind::Western);
    m_ttedit->setRunning(false);
    QVERIFY(f.SetupTTEdit(false));
    QCOMPARE(m_ttedit->callNames().mid(0, 3),
             (QStringList{"Host.getObject", "Host.createObject", "Application.ActiveDocument"}));
    QVERIFY(m_prompt.shown().isEmpty());
}

void TestForm1TTEdit::failedProbeMeansSingleByte()
{
    Form1& f = form();
    m_ttedit->openDocument(Kind::Japanese);
    m_ttedit->setFailing(QStringLiteral("getcode"));
    QVERIFY(f.SetupTTEdit(false));
    QCOMPARE(f.fontKind, 1);
}

void TestForm1TTEdit::showBringsTheWindowForward()
{
    Form1& f = form();
    m_ttedit->openDocument(Kind::Western);
    f.hide();
    QVERIFY(f.SetupTTEdit(false));
    QVERIFY(!f.isVisible());
    QVERIFY(!m_ttedit->callNames().contains("Application.hwnd"));

    QVERIFY(f.SetupTTEdit(true));
    QVERIFY(f.isVisible());
    QCOMPARE(m_ttedit->callNames().last(), QStringLiteral("Application.hwnd"));
}

void TestForm1TTEdit::questionShowsTheWindow()
{
    Form1& f = form();
    f.hide();
    bool visibleAtTheQuestion = false;
    m_prompt.onAsk = [&](const QString&) {
        visibleAtTheQuestion = f.isVisible();
        return true;
    };
    QVERIFY(f.SetupTTEdit(false));
    QVERIFY(visibleAtTheQuestion);
}

void TestForm1TTEdit::exportCalls()
{
    Form1& f = form();
    // A user's folder for the file that is not there yet is made on the way.
    f.dotsFileName = m_dir.filePath(QStringLiteral("user/pointillo/ptl_dots.bmp"));
    m_ttedit->openDocument(Kind::Western);
    f.char_ = 65;
    settle();
    paint({{0, 0}, {11, 19}});
    f.CheckSB->setChecked(true);
    f.TextLSB->setText(QStringLiteral("12.5"));
    f.TextRSB->setText(QStringLiteral("13.5"));
    m_ttedit->clearCalls();

    // The file is complete before the server hears anything.
    QByteArray fileAtFirstCall;
    m_ttedit->beforeCall = [&](const Call&) {
        if (fileAtFirstCall.isNull()) {
            QFile file(f.dotsFileName);
            fileAtFirstCall = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("");
        }
    };
    QVERIFY(f.exportGlyph());
    m_ttedit->beforeCall = nullptr;

    QVERIFY(m_prompt.shown().isEmpty());
    QCOMPARE(m_ttedit->callNames().first(), QStringLiteral("Host.getObject"));
    const qsizetype start = afterSetup();
    QVERIFY(start > 0);
    const QList<Call> calls = m_ttedit->calls().mid(start);
    // The dot grid goes beyond the specified calls; a server that does not know it fails it.
    // The import replaces the glyph: nothing is deleted before it.
    QCOMPARE(members(calls), (QStringList{"setcode", "getcode", "SetDotGrid", "ImportBmpfile",
                                          "SetLeftRightSidebearing"}));
    QCOMPARE(calls[0].types, types({QMetaType::Short, QMetaType::Int, QMetaType::Bool}));
    QCOMPARE(calls[0].args, (QVariantList{QVariant::fromValue(qint16(0)), 65, false}));
    QCOMPARE(calls[2].types, types({QMetaType::Short, QMetaType::Short, QMetaType::Bool}));
    QCOMPARE(calls[2].args, (QVariantList{QVariant::fromValue(qint16(f.SliderDotX->value())),
                                          QVariant::fromValue(qint16(f.SliderDotY->value())),
                                          f.CheckSquare->isChecked()}));
    QCOMPARE(calls[3].types, types({QMetaType::QString}));
    QCOMPARE(calls[3].args[0].toString(), f.dotsFileName);
    QCOMPARE(calls[4].types, types({QMetaType::Short, QMetaType::Short, QMetaType::Bool}));
    QCOMPARE(calls[4].args, (QVariantList{QVariant::fromValue(qint16(12)),
                                          QVariant::fromValue(qint16(14)), false}));
    for (const Call& c : calls)
        QVERIFY(c.ok || c.member == u"SetDotGrid");

    const FakeTTEdit::Glyph* glyph = m_ttedit->glyph(65);
    QVERIFY(glyph);
    QCOMPARE(glyph->bitmap, fileAtFirstCall);
    QCOMPARE(*glyph->lsb, qint16(12));
    QCOMPARE(*glyph->rsb, qint16(14));
    // The export changes neither the code nor the table, and the grid is back.
    QCOMPARE(f.char_, 65);
    QVERIFY(CharTable::isSet(f.PictureBuf->image(), QPoint(f.bufX, f.bufY)));
    QCOMPARE(*f.PictureDOT->pixel(QPoint(f.ofsX - 1, 5)), Grey);
}

void TestForm1TTEdit::exportImage_data()
{
    QTest::addColumn<int>("dotsX");
    QTest::addColumn<int>("dotsY");
    QTest::addColumn<bool>("square");
    QTest::addColumn<int>("size");
    QTest::addColumn<QRect>("firstBox"); // dot (0, 0) as exported
    QTest::addColumn<QPoint>("pitch");

    QTest::newRow("12 x 20 square, 100 %")
        << 12 << 20 << true << 100 << QRect(96, 0, 24, 24) << QPoint(24, 24);
    QTest::newRow("12 x 20 oblong, 100 %")
        << 12 << 20 << false << 100 << QRect(0, 0, 40, 24) << QPoint(40, 24);
    QTest::newRow("12 x 20 oblong, 50 %")
        << 12 << 20 << false << 50 << QRect(0, 0, 20, 12) << QPoint(40, 24);
    // 7.5 and 26.5 round to the even neighbour.
    QTest::newRow("32 x 32, 50 %") << 32 << 32 << true << 50 << QRect(0, 0, 8, 8) << QPoint(15, 15);
    QTest::newRow("9 x 9, 50 %") << 9 << 9 << true << 50 << QRect(2, 2, 26, 26) << QPoint(53, 53);
    QTest::newRow("7 x 3 oblong, 25 %")
        << 7 << 3 << false << 25 << QRect(2, 0, 17, 40) << QPoint(68, 160);
    // A box never vanishes: 1 % of 15 pixels is one pixel, not none.
    QTest::newRow("32 x 32, 1 %") << 32 << 32 << true << 1 << QRect(0, 0, 1, 1) << QPoint(15, 15);
}

void TestForm1TTEdit::exportImage()
{
    QFETCH(int, dotsX);
    QFETCH(int, dotsY);
    QFETCH(bool, square);
    QFETCH(int, size);
    QFETCH(QRect, firstBox);
    QFETCH(QPoint, pitch);
    Form1& f = form();
    m_ttedit->openDocument(Kind::Western);
    f.SliderDotX->setValue(dotsX);
    f.SliderDotY->setValue(dotsY);
    f.CheckSquare->setChecked(square);
    f.SliderSize->setValue(size);
    f.char_ = 66;
    f.bRedraw = true;
    settle();

    // A diagonal, the four corners and a pair of neighbours.
    QList<QPoint> dots{{0, 0}, {dotsX - 1, 0}, {0, dotsY - 1}, {dotsX - 1, dotsY - 1}, {1, 0}};
    for (int i = 0; i < std::min(dotsX, dotsY); ++i)
        dots << QPoint(i, i);
    QImage expected(482, 482, QImage::Format_RGB32);
    expected.fill(Qt::white);
    for (QPoint d : dots) {
        CharTable::setPixel(f.store().pageForWrite(0), QPoint(f.bufX, f.bufY) + d,
                            CharTable::SetColour);
        const QRect box =
            firstBox.translated(d.x() * pitch.x(), d.y() * pitch.y()).intersected(expected.rect());
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                expected.setPixel(x, y, qRgb(0, 0, 0));
    }
    // A dot beyond the glyph's size is not part of it.
    CharTable::setPixel(f.store().pageForWrite(0), QPoint(f.bufX + dotsX, f.bufY),
                        CharTable::SetColour);

    QVERIFY(f.exportGlyph());
    QFile file(f.dotsFileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    QCOMPARE(written.size(), DotsBitmap::encode(expected).size());
    if (written != DotsBitmap::encode(expected)) {
        const QImage got = QImage::fromData(written, "BMP").convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < 482; ++y)
            for (int x = 0; x < 482; ++x)
                if (got.pixel(x, y) != expected.pixel(x, y))
                    QFAIL(qPrintable(QStringLiteral("first difference at (%1, %2)").arg(x).arg(y)));
    }
    QCOMPARE(m_ttedit->glyph(66)->bitmap, written);
}

void TestForm1TTEdit::sideBearing_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("sent");
    QTest::newRow("12.5") << "12.5" << 12;
    QTest::newRow("13.5") << "13.5" << 14;
    QTest::newRow("-12.5") << "-12.5" << -12;
    QTest::newRow("leading number") << " 7 px" << 7;
    QTest::newRow("hexadecimal") << "&H10" << 16;
    QTest::newRow("exponent") << "1e3" << 1000;
    QTest::newRow("not a number") << "abc" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("largest") << "32767" << 32767;
    QTest::newRow("smallest") << "-32768" << -32768;
    QTest::newRow("too large") << "32768" << 0;
    QTest::newRow("too small") << "-32769" << 0;
    QTest::newRow("rounds past the end") << "32767.5" << 0;
}

void TestForm1TTEdit::sideBearing()
{
    QFETCH(QString, text);
    QFETCH(int, sent);
    Form1& f = form();
    m_ttedit->openDocument(Kind::Western);
    settle();
    // Oblong dots: the empty glyph advances by its bearings (one of square dots by its box).
    f.CheckSquare->setChecked(false);
    f.CheckSB->setChecked(true);
    f.TextLSB->setText(text);
    f.TextRSB->setText(text);
    if (2 * sent < 0) { // a negative advance of the empty glyph: refused before any call
        QVERIFY(f.exportGlyph().status == Status::Refused && m_ttedit->calls().isEmpty());
        return;
    }
    QVERIFY(f.exportGlyph());
    const Call& call = m_ttedit->calls().last();
    QCOMPARE(call.member, QStringLiteral("SetLeftRightSidebearing"));
    QCOMPARE(call.types, types({QMetaType::Short, QMetaType::Short, QMetaType::Bool}));
    QCOMPARE(call.args[0].toInt(), sent);
    QCOMPARE(call.args[1].toInt(), sent);
}

void TestForm1TTEdit::sideBearingsOff()
{
    Form1& f = form();
    m_ttedit->openDocument(Kind::Western);
    settle();
    f.CheckSB->setChecked(false);
    f.TextLSB->setText(QStringLiteral("50"));
    QVERIFY(f.exportGlyph());
    QCOMPARE(m_ttedit->callNames().last(), QStringLiteral("Document/1.ImportBmpfile"));
    QVERIFY(!m_ttedit->callNames().contains("Document/1.SetLeftRightSidebearing"));
    QVERIFY(!m_ttedit->glyph(33)->lsb);
}

void TestForm1TTEdit::emptyGlyph()
{
    Form1& f = form();
    m_ttedit->openDocument(Kind::Western);
    settle();
    QVERIFY(f.exportGlyph());
    const QByteArray bitmap = m_ttedit->glyph(33)->bitmap;
    QCOMPARE(bitmap.size(), DotsBitmap::HeaderBytes + 482 * 64);
    QCOMPARE(bitmap.mid(DotsBitmap::HeaderBytes), QByteArray(482 * 64, '\0'));
    QVERIFY(!members(m_ttedit->calls()).contains("Delete"));
}

void TestForm1TTEdit::exportWithoutServer()
{
    Form1& f = form();
    m_ttedit->setRunning(false);
    m_ttedit->setStartable(false);
    settle();
    paint({{3, 4}});
    QVERIFY(!f.exportGlyph());
    QCOMPARE(m_prompt.messages(), QStringList{noServer});
    QVERIFY(!m_ttedit->callNames().join(' ').contains("Document"));
    // The file holds the glyph anyway, and the grid is back.
    const QImage written(f.dotsFileName, "BMP");
    QCOMPARE(written.size(), QSize(482, 482));
    QCOMPARE(written.pixelColor(96 + 3 * 24 + 5, 4 * 24 + 5), QColor(Qt::black));
    QCOMPARE(written.pixelColor(96 + 2 * 24 + 5, 4 * 24 + 5), QColor(Qt::white));
    QCOMPARE(*f.PictureDOT->pixel(QPoint(95, 10)), Grey);
    QCOMPARE(*f.PictureDOT->pixel(QPoint(96 + 3 * 24 + 5, 4 * 24 + 5)), CharTable::SetColour);
}

void TestForm1TTEdit::unwritableDotsFile_data()
{
    QTest::addColumn<QString>("name");
    // A missing folder is made; a file where it should be is not removed.
    QTest::newRow("file for folder") << "file/ptl_dots.bmp";
    QTest::newRow("a folder") << "folder";
}

void TestForm1TTEdit::unwritableDotsFile()
{
    QFETCH(QString, name);
    Form1& f = form();
    m_ttedit->openDocument(Kind::Western);
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder")));
    QFile file(m_dir.filePath(QStringLiteral("file")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    f.dotsFileName = m_dir.filePath(name);
    settle();
    QVERIFY(!f.exportGlyph());
    QCOMPARE(m_prompt.messages().size(), 1);
    QVERIFY(m_prompt.messages().first().startsWith(cannotWrite));
    QVERIFY(m_prompt.messages().first().contains(QDir::toNativeSeparators(f.dotsFileName)));
    // An older file must not be imported: the server hears nothing.
    QVERIFY(m_ttedit->calls().isEmpty());
    QCOMPARE(*f.PictureDOT->pixel(QPoint(95, 10)), Grey);
}

void TestForm1TTEdit::codeWithoutCell_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("No") << false;
    QTest::newRow("Yes") << true;
}

void TestForm1TTEdit::codeWithoutCell()
{
    QFETCH(bool, yes);
    Form1& f = form();
    m_ttedit->openDocument(Kind::Japanese, {0x8100, 0x82A0}); // 8100 is no character
    f.char_ = 0x8100;
    settle();
    // Dots painted on the canvas of such a code are shown but kept nowhere.
    QTest::mouseClick(f.PictureDOT, Qt::LeftButton, {}, QPoint(96 + 12, 12));
    QCOMPARE(*f.PictureDOT->pixel(QPoint(96 + 12, 12)), CharTable::SetColour);
    m_ttedit->clearCalls();
    m_prompt.clear();

    m_prompt.answer({yes});
    QCOMPARE(f.exportGlyph().status, yes ? Status::Sent : Status::Declined);
    QCOMPARE(m_prompt.questions(), QStringList{noCell});
    QVERIFY(m_prompt.shown().first().systemModal);
    if (!yes) {
        QVERIFY(m_ttedit->calls().isEmpty());
        QVERIFY(!QFileInfo::exists(f.dotsFileName));
    } else {
        // The export goes on: the font's glyph becomes an empty one.
        const FakeTTEdit::Glyph* glyph = m_ttedit->glyph(0x8100);
        QVERIFY(glyph);
        QCOMPARE(glyph->bitmap.mid(DotsBitmap::HeaderBytes), QByteArray(482 * 64, '\0'));
    }
    QCOMPARE(f.char_, 0x8100);
    QCOMPARE(*f.PictureDOT->pixel(QPoint(95, 10)), Grey);
}

void TestForm1TTEdit::codeTheFontLacks()
{
    Form1& f = form();
    std::vector<int> codes;
    for (int c = 32; c <= 255; ++c)
        if (c != 65)
            codes.push_back(c);
    m_ttedit->openDocument(Kind::Western, codes);
    settle();
    m_ttedit->setCurrentCode(64);
    f.char_ = 65; // set without the font's say, as a table click or a batch does
    f.bufX = 32;
    f.bufY = 128;
    paint({{0, 0}});
    QCOMPARE(f.exportGlyph().status, Status::NotInFont);
    // The font stayed at 64: nothing may land there.
    QCOMPARE(m_ttedit->currentCode(), 64);
    QVERIFY(!m_ttedit->glyph(64));
    const QStringList sent = members(m_ttedit->calls(), afterSetup());
    QCOMPARE(sent.mid(0, 2), (QStringList{"setcode", "getcode"}));
    for (const char* member : {"selectall", "Delete", "ImportBmpfile"})
        QVERIFY2(!sent.contains(QLatin1String(member)), member);
    QCOMPARE(m_prompt.messages().size(), 1);
    QVERIFY(m_prompt.messages().first().contains(QStringLiteral("41")));

    // A getcode without an answer says nothing about the font's codes.
    m_prompt.clear();
    m_ttedit->setFailing(QStringLiteral("getcode"));
    QCOMPARE(f.exportGlyph().status, Status::Unreachable);
    QCOMPARE(m_prompt.messages(), QStringList{noServer});
    QVERIFY(!m_ttedit->glyph(64) && !m_ttedit->glyph(65));
}

void TestForm1TTEdit::refusedCallsChangeNothingUntold()
{
    Form1& f = form();
    m_ttedit->openDocument(Kind::Western);
    settle();
    f.CheckSB->setChecked(true);
    // A refused import: the side bearings do not go onto the font's former glyph.
    m_ttedit->setFailing(QStringLiteral("ImportBmpfile"));
    QCOMPARE(f.exportGlyph().status, Status::Refused);
    QCOMPARE(members(m_ttedit->calls(), afterSetup()),
             (QStringList{"setcode", "getcode", "SetDotGrid", "ImportBmpfile"}));
    QVERIFY(!m_ttedit->glyph(33));
    f.mnusendnext->trigger(); // nor does send and next go on
    QCOMPARE(f.char_, 33);
    // Side bearings refused after the import: the glyph is in, and the message says so.
    m_ttedit->setFailing(QStringLiteral("ImportBmpfile"), false);
    m_ttedit->setFailing(QStringLiteral("SetLeftRightSidebearing"));
    m_prompt.clear();
    QCOMPARE(f.exportGlyph().status, Status::Refused);
    QVERIFY(m_ttedit->glyph(33) && !m_ttedit->glyph(33)->bitmap.isEmpty());
    QVERIFY(m_prompt.messages().value(0).contains(QStringLiteral("文字は読み込まれましたが")));
}

void TestForm1TTEdit::batchMakesNoSetupAndNoRedraw()
{
    Form1& f = form();
    m_ttedit->openDocument(Kind::Japanese);
    settle();
    QVERIFY(f.SetupTTEdit(true));
    f.bInteractive = false;
    f.char_ = 0x8140; // the batch never meets such a code; no question either way
    const QPoint cell = CharTable::cellOrigin(f.char_);
    f.bufX = cell.x();
    f.bufY = cell.y();
    m_ttedit->clearCalls();
    QVERIFY(f.exportGlyph());
    QVERIFY(m_prompt.shown().isEmpty());
    QCOMPARE(members(m_ttedit->calls()),
             (QStringList{"setcode", "getcode", "SetDotGrid", "ImportBmpfile"}));
    // The canvas keeps the export rendering: no grid line.
    QCOMPARE(*f.PictureDOT->pixel(QPoint(95, 10)), qRgb(255, 255, 255));
}

void TestForm1TTEdit::buttonMenuAndShortcut()
{
    Form1& f = form();
    m_ttedit->openDocument(Kind::Western);
    settle();
    auto imports = [this] {
        return int(m_ttedit->callNames().count(QStringLiteral("Document/1.ImportBmpfile")));
    };
    QTest::mouseClick(f.CommandTTEdit, Qt::LeftButton);
    QCOMPARE(imports(), 1);
    f.mnuttedit->trigger();
    QCOMPARE(imports(), 2);
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QTest::keyClick(&f, Qt::Key_T, Qt::ControlModifier);
    QCOMPARE(imports(), 3);
    // Send and next: the export, then the next code.
    QTest::keyClick(&f, Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(imports(), 4);
    QCOMPARE(f.char_, 34);
}

void TestForm1TTEdit::sliderSizeLabel()
{
    Form1& f = form();
    QCOMPARE(f.LabelSize->text(), QStringLiteral("100%"));
    // The user's moves show in the label.
    f.SliderSize->triggerAction(QAbstractSlider::SliderPageStepSub);
    QCOMPARE(f.SliderSize->value(), 90);
    QCOMPARE(f.LabelSize->text(), QStringLiteral("90%"));
    f.SliderSize->triggerAction(QAbstractSlider::SliderToMinimum);
    QCOMPARE(f.LabelSize->text(), QStringLiteral("1%"));
    // A value set by the program waits for the handler.
    f.SliderSize->setValue(55);
    QCOMPARE(f.LabelSize->text(), QStringLiteral("1%"));
    f.SliderSize_Scroll();
    QCOMPARE(f.LabelSize->text(), QStringLiteral("55%"));
}

void TestForm1TTEdit::sideBearingBoxesFollowSetSB()
{
    Form1& f = form();
    QVERIFY(!f.CheckSB->isChecked());
    for (QWidget* w : {static_cast<QWidget*>(f.LabelSB), static_cast<QWidget*>(f.TextLSB),
                       static_cast<QWidget*>(f.TextRSB)})
        QVERIFY(!w->isEnabled());
    QTest::mouseClick(f.CheckSB, Qt::LeftButton, {}, QPoint(5, f.CheckSB->height() / 2));
    QVERIFY(f.CheckSB->isChecked());
    for (QWidget* w : {static_cast<QWidget*>(f.LabelSB), static_cast<QWidget*>(f.TextLSB),
                       static_cast<QWidget*>(f.TextRSB)})
        QVERIFY(w->isEnabled());
    // A change by the program (the settings loader) runs the handler too.
    f.CheckSB->setChecked(false);
    QVERIFY(!f.TextLSB->isEnabled());
}

QTEST_MAIN(TestForm1TTEdit)
#include "tst_form1ttedit.moc"
