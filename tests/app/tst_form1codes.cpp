// The code and character boxes and the stepping through the font's codes, against a scripted
// font server.

#include "chartable/CharTable.h"
#include "chartable/GlyphStore.h"
#include "chartable/PreviewView.h"
#include "chartable/PreviewWindow.h"
#include "codes/Cp932.h"
#include "common/Form1Fixture.h"
#include "editor/DotCanvas.h"

#include <QAction>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Kind = FakeTTEdit::Kind;

const QString noServer = QStringLiteral("TTEditが起動できませんでした");

std::vector<int> westernCodes(std::initializer_list<int> extra = {})
{
    std::vector<int> codes(extra);
    for (int c = 32; c <= 255; ++c)
        codes.push_back(c);
    return codes;
}

std::vector<int> japaneseCodes(std::initializer_list<int> extra = {},
                               std::initializer_list<int> missing = {})
{
    std::vector<int> codes(extra);
    for (int c : Cp932::definedCodes())
        if (c >= 0x20 && std::find(missing.begin(), missing.end(), c) == missing.end())
            codes.push_back(c);
    return codes;
}

// The cell of code in its page of the glyph store; a code without one lies below the table.
QPoint cellOf(int code)
{
    return CharTable::cellOrigin(GlyphStore::pageOf(code) > 0 ? code & 0xFF : code);
}
} // namespace

class TestForm1Codes : public QObject, private Form1Fixture
{
    Q_OBJECT

private slots:
    void cleanup();

    void codeKeyFilter_data();
    void codeKeyFilter();
    void editingKeysPass();
    void fifthDigitIsRefused();
    void typedDigitsReachTheFont();
    void codeBox_data();
    void codeBox();
    void refusedCodePutsTheFontBack();
    void loadingMakesNoCall();
    void unreachableServer();
    void lostFocusRunsTheChangeHandling();
    void focusTakenByAnotherWindowIsNoLostFocus();
    void fontsOwnCharacters_data();
    void fontsOwnCharacters();

    void singleByteKey_data();
    void singleByteKey();
    void controlKeyAfterALetter_data();
    void controlKeyAfterALetter();
    void keyWithoutCodeDoesNotGoIn();
    void shortcutsInTheCharacterBoxSetNoCode();
    void caretRule_data();
    void caretRule();
    void doubleByteInputMethod();
    void doubleByteKeyPressSendsNothing();
    void doubleByteBackspace();
    void doubleByteCharacterWithoutCode();
    void doubleByteCharacterTheFontLacks();

    void step_data();
    void step();
    void stepMenuItemsAndShortcuts();
    void stepWithoutServer();
    void stepWhenGetcodeFails();

private:
    // A window on a font of kind with the given codes (all of its kind when empty), drawn once
    // so that its boxes show char_ 33 and the font stands there; calls and texts cleared.
    Form1& start(Kind kind, std::vector<int> codes = {});
    // The code arguments of the setcode calls so far.
    QList<int> setcodes() const;
    bool anyCall() const { return !m_ttedit->calls().isEmpty(); }
};

Form1& TestForm1Codes::start(Kind kind, std::vector<int> codes)
{
    Form1& f = createForm(kind, std::move(codes));
    showAtOrigin(f);
    f.drawGrid();
    m_ttedit->clearCalls();
    m_prompt.clear();
    return f;
}

void TestForm1Codes::cleanup()
{
    destroyForm();
}

QList<int> TestForm1Codes::setcodes() const
{
    QList<int> codes;
    for (const FakeTTEdit::Call& c : m_ttedit->calls())
        if (c.member == u"setcode")
            codes << (c.args[1].toInt() < 0 ? c.args[1].toInt() + 65536 : c.args[1].toInt());
    return codes;
}

void TestForm1Codes::codeKeyFilter_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("box");

    QTest::newRow("0") << int(Qt::Key_0) << "0"
                       << "210";
    QTest::newRow("9") << int(Qt::Key_9) << "9"
                       << "219";
    QTest::newRow("A") << int(Qt::Key_A) << "A"
                       << "21A";
    QTest::newRow("F") << int(Qt::Key_F) << "F"
                       << "21F";
    QTest::newRow("a") << int(Qt::Key_A) << "a"
                       << "21a";
    QTest::newRow("f") << int(Qt::Key_F) << "f"
                       << "21f";
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << "\b"
                               << "2";
    QTest::newRow("g") << int(Qt::Key_G) << "g"
                       << "21";
    QTest::newRow("G") << int(Qt::Key_G) << "G"
                       << "21";
    QTest::newRow("plus") << int(Qt::Key_Plus) << "+"
                          << "21";
    QTest::newRow("blank") << int(Qt::Key_Space) << " "
                           << "21";
    QTest::newRow("full-width 1") << int(Qt::Key_unknown) << "１"
                                  << "21";
    QTest::newRow("Enter") << int(Qt::Key_Return) << "\r"
                           << "21";
}

void TestForm1Codes::codeKeyFilter()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(QString, box);
    // A double-byte font with every code the digits make, so that nothing typed is refused.
    std::vector<int> codes{0x21, 0x82A0};
    for (int c = 0x210; c <= 0x21F; ++c)
        codes.push_back(c);
    Form1& f = start(Kind::Japanese, codes);
    f.TextCode->setCursorPosition(2);
    QTest::sendKeyEvent(QTest::Click, f.TextCode, Qt::Key(key), text, Qt::NoModifier);
    QCOMPARE(f.TextCode->text(), box);
    // A swallowed key reaches no change handling and no font.
    QCOMPARE(anyCall(), box != u"21");
}

void TestForm1Codes::editingKeysPass()
{
    Form1& f = start(Kind::Western);
    f.TextCode->setCursorPosition(0);
    // Delete types 0x7F on X11; it edits the box like the arrows and Ctrl shortcuts.
    QTest::sendKeyEvent(QTest::Click, f.TextCode, Qt::Key_Delete, QStringLiteral("\x7f"),
                        Qt::NoModifier);
    QCOMPARE(f.TextCode->text(), QStringLiteral("1"));
    QTest::keyClick(f.TextCode, Qt::Key_End);
    QTest::keyClick(f.TextCode, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(f.TextCode->selectedText(), QStringLiteral("1"));
    // The same keys in the character box set no code.
    m_ttedit->clearCalls();
    f.TextChar->setCursorPosition(0);
    QTest::sendKeyEvent(QTest::Click, f.TextChar, Qt::Key_Delete, QStringLiteral("\x7f"),
                        Qt::NoModifier);
    QCOMPARE(f.TextChar->text(), QString());
    QVERIFY(!setcodes().contains(0x7F));
}

void TestForm1Codes::fifthDigitIsRefused()
{
    Form1& f = start(Kind::Japanese);
    f.TextCode->clear();
    QTest::keyClicks(f.TextCode, QStringLiteral("82a0f"));
    // The character box's handling writes the accepted code back, upper case.
    QCOMPARE(f.TextCode->text(), QStringLiteral("82A0"));
    QCOMPARE(f.char_, 0x82A0);
}

void TestForm1Codes::typedDigitsReachTheFont()
{
    Form1& f = start(Kind::Western);
    f.TextCode->selectAll();
    QTest::keyClicks(f.TextCode, QStringLiteral("41"));
    QCOMPARE(f.char_, 65);
    QCOMPARE(m_ttedit->currentCode(), 65);
    QCOMPARE(f.TextChar->text(), QStringLiteral("A"));
    QCOMPARE(f.LabelChar->text(), QStringLiteral("A"));
    QCOMPARE(QPoint(f.bufX, f.bufY), QPoint(32, 128)); // the grid shows the new code's cell
}

void TestForm1Codes::codeBox_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QList<int>>("extraCodes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("char_");
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("fontCode");

    const int western = int(Kind::Western);
    const int japanese = int(Kind::Japanese);
    QTest::newRow("8140 in a double-byte font")
        << japanese << QList<int>{} << "8140" << 0x8140 << "8140" << 0x8140;
    QTest::newRow("ffff in a font that has it")
        << japanese << QList<int>{0xFFFF} << "ffff" << 65535 << "ffff" << 0xFFFF;
    QTest::newRow("lower-case digits") << western << QList<int>{} << "4a" << 0x4A << "4a" << 0x4A;
    QTest::newRow("empty box, the font takes 0") << western << QList<int>{0} << "" << 32 << "" << 0;
    QTest::newRow("empty box, the font lacks 0") << western << QList<int>{} << "" << 33 << "" << 33;
    QTest::newRow("1F lifted to 32, the box keeps 1F")
        << western << QList<int>{31} << "1F" << 32 << "1F" << 31;
    QTest::newRow("refused: char_ and the font stay")
        << western << QList<int>{} << "8140" << 33 << "8140" << 33;
    QTest::newRow("above FF in single-byte mode")
        << western << QList<int>{300} << "12C" << 255 << "FF" << 255;
    QTest::newRow("hiragana a refused by a Western font")
        << western << QList<int>{} << "82A0" << 33 << "82A0" << 33;
}

void TestForm1Codes::codeBox()
{
    QFETCH(int, kind);
    QFETCH(QList<int>, extraCodes);
    QFETCH(QString, text);
    QFETCH(int, char_);
    QFETCH(QString, box);
    QFETCH(int, fontCode);
    std::vector<int> codes = Kind(kind) == Kind::Western ? westernCodes() : japaneseCodes();
    codes.insert(codes.end(), extraCodes.begin(), extraCodes.end());
    Form1& f = start(Kind(kind), codes);

    f.TextCode->setText(text);
    QCOMPARE(f.char_, char_);
    QCOMPARE(f.TextCode->text(), box);
    QCOMPARE(m_ttedit->currentCode(), fontCode);
    QVERIFY(m_prompt.shown().isEmpty());
    // The grid shows char_'s cell, whatever the box says.
    QCOMPARE(QPoint(f.bufX, f.bufY), cellOf(char_));
}

void TestForm1Codes::refusedCodePutsTheFontBack()
{
    Form1& f = start(Kind::Western);
    m_ttedit->setCurrentCode(70); // the user moved in the server meanwhile
    f.TextCode->setText(QStringLiteral("8140"));
    QCOMPARE(f.char_, 33);
    // The probe of the set-up, then the request and the way back to where the font stood.
    QCOMPARE(setcodes(), (QList<int>{0x82A0, 70, 0x8140, 70}));
    QCOMPARE(m_ttedit->currentCode(), 70);
    for (const FakeTTEdit::Call& c : m_ttedit->calls())
        if (c.member == u"setcode" && c.args[1].toInt() != -32096)
            QCOMPARE(c.types, (QList<int>{QMetaType::Short, QMetaType::Int, QMetaType::Bool}));
}

void TestForm1Codes::loadingMakesNoCall()
{
    Form1& f = start(Kind::Western);
    f.bLoading = true;
    f.char_ = 65;
    f.TextCode->setText(QStringLiteral("41"));
    QCOMPARE(f.char_, 65);
    // The loader's char_ stands; only the limits apply.
    f.char_ = 300;
    f.TextCode->setText(QStringLiteral("12C"));
    QCOMPARE(f.char_, 255);
    QCOMPARE(f.TextCode->text(), QStringLiteral("FF"));
    f.char_ = 5;
    f.TextCode->setText(QStringLiteral("5"));
    QCOMPARE(f.char_, 32);
    QVERIFY(!anyCall());
    QVERIFY(m_prompt.shown().isEmpty());
}

void TestForm1Codes::unreachableServer()
{
    Form1& f = start(Kind::Western);
    m_ttedit->setRunning(false);
    m_ttedit->setStartable(false);

    f.TextCode->setText(QStringLiteral("41"));
    QCOMPARE(f.char_, 33);
    QCOMPARE(m_prompt.messages(), QStringList{noServer});
    QCOMPARE(f.fontKind, 0);

    // A request of 0 reads back as the 0 of a failed read: taken, and lifted to 32.
    m_prompt.clear();
    f.TextCode->setText(QStringLiteral("0"));
    QCOMPARE(f.char_, 32);

    // A key in the character box still sets the code, within 32..255.
    m_prompt.clear();
    QTest::keyClick(f.TextChar, Qt::Key_B, Qt::NoModifier);
    QCOMPARE(f.char_, int('b'));
    QCOMPARE(f.TextCode->text(), QStringLiteral("62"));
    QVERIFY(m_prompt.messages().contains(noServer));
}

void TestForm1Codes::lostFocusRunsTheChangeHandling()
{
    Form1& f = start(Kind::Western);
    f.activateWindow();
    f.TextCode->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(f.TextCode->hasFocus());
    f.TextCode->selectAll();
    QTest::keyClicks(f.TextCode, QStringLiteral("41"));
    QCOMPARE(f.char_, 65);
    m_ttedit->setCurrentCode(90); // the user moved in the server meanwhile
    m_ttedit->clearCalls();

    f.CommandNext->setFocus(Qt::TabFocusReason);
    // The code goes to the font again and the boxes agree.
    QTRY_COMPARE(m_ttedit->currentCode(), 65);
    QCOMPARE(f.char_, 65);
    QCOMPARE(f.TextCode->text(), QStringLiteral("41"));
    QCOMPARE(f.TextChar->text(), QStringLiteral("A"));
}

void TestForm1Codes::focusTakenByAnotherWindowIsNoLostFocus()
{
    Form1& f = start(Kind::Western);
    // A message box or another program taking the focus ends no typing: the handling would
    // run again at every question it asks.
    for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
        QFocusEvent out(QEvent::FocusOut, reason);
        QCoreApplication::sendEvent(f.TextCode, &out);
        QCoreApplication::processEvents();
        QVERIFY(!anyCall());
    }
    QFocusEvent out(QEvent::FocusOut, Qt::BacktabFocusReason);
    QCoreApplication::sendEvent(f.TextCode, &out);
    QTRY_VERIFY(anyCall());
}

void TestForm1Codes::fontsOwnCharacters_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("character"); // of code C9
    QTest::newRow("Western: code page 1252") << int(Kind::Western) << QStringLiteral("É");
    QTest::newRow("Japanese: code page 932") << int(Kind::Japanese) << QStringLiteral("ﾉ");
}

void TestForm1Codes::fontsOwnCharacters()
{
    // The boxes, the sample, the table's read-out and the preview read the font's own
    // character (typed, it names the code again: singleByteKey, doubleByteInputMethod).
    QFETCH(int, kind);
    QFETCH(QString, character);
    Form1& f = start(Kind(kind));
    f.TextCode->setText(QStringLiteral("C9"));
    QCOMPARE(f.TextChar->text() + f.LabelChar->text(), character + character);
    QTest::mouseMove(f.PictureBuf, QPoint(1, 1));
    QTest::mouseMove(f.PictureBuf, CharTable::cellOrigin(0xC9) + QPoint(5, 5));
    QCOMPARE(f.LabelCurChar->text(), QStringLiteral("C9 ") + character);
    f.mnupreview->trigger();
    f.preview()->TextSample->setText(character);
    QCOMPARE(f.preview()->PictureLine->line().pixel(0, 0), qRgb(255, 255, 255)); // no empty box
}

void TestForm1Codes::singleByteKey_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("sent");
    QTest::addColumn<int>("char_");
    QTest::addColumn<QString>("charBox");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("codeBox");

    QTest::newRow("A") << int(Qt::Key_A) << "A" << 65 << 65 << "A"
                       << "A"
                       << "41";
    QTest::newRow("blank") << int(Qt::Key_Space) << " " << 32 << 32 << " "
                           << " "
                           << "20";
    QTest::newRow("e acute") << int(Qt::Key_unknown) << QStringLiteral("é") << 0xE9 << 0xE9
                             << QStringLiteral("é") << QStringLiteral("é") << "E9";
    QTest::newRow("euro sign") << int(Qt::Key_unknown) << QStringLiteral("€") << 0x80 << 0x80
                               << QStringLiteral("€") << QStringLiteral("€") << "80";
    // Backspace is code 8, shown as a blank, and leaves the box empty.
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << "\b" << 8 << 32 << ""
                               << " "
                               << "20";
}

void TestForm1Codes::singleByteKey()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(int, sent);
    QFETCH(int, char_);
    QFETCH(QString, charBox);
    QFETCH(QString, label);
    QFETCH(QString, codeBox);
    Form1& f = start(Kind::Western);
    QCOMPARE(f.TextChar->text(), QStringLiteral("!"));

    QTest::sendKeyEvent(QTest::Click, f.TextChar, Qt::Key(key), text, Qt::NoModifier);
    QCOMPARE(f.char_, char_);
    QCOMPARE(f.TextChar->text(), charBox);
    QCOMPARE(f.LabelChar->text(), label);
    QCOMPARE(f.TextCode->text(), codeBox);
    // The key's code goes to the font as typed, before any limit.
    QVERIFY(!setcodes().isEmpty());
    const QList<int> codes = setcodes();
    QVERIFY2(codes.contains(sent), qPrintable(QString::number(sent)));
    QVERIFY(m_prompt.shown().isEmpty());
}

void TestForm1Codes::controlKeyAfterALetter_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("char_");
    QTest::addColumn<QString>("charBox");

    // A control character names no glyph: the code stays at E, as after Tab.
    QTest::newRow("Enter") << int(Qt::Key_Return) << "\r" << 0 << 0x45 << "E";
    QTest::newRow("Escape") << int(Qt::Key_Escape) << "\x1b" << 0 << 0x45 << "E";
    QTest::newRow("Ctrl+M") << int(Qt::Key_M) << "\r" << int(Qt::ControlModifier) << 0x45 << "E";
    // Ctrl+A as a keyboard that sends no modifier with it delivers it.
    QTest::newRow("Ctrl+A as \\x01") << int(Qt::Key_A) << "\x01" << 0 << 0x45 << "E";
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << "\b" << 0 << 0x20 << "";
}

void TestForm1Codes::controlKeyAfterALetter()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(int, modifiers);
    QFETCH(int, char_);
    QFETCH(QString, charBox);
    Form1& f = start(Kind::Western);
    QTemporaryDir dir;
    f.dotsFileName = dir.filePath(QStringLiteral("ptl_dots.bmp"));
    QTest::keyClicks(f.TextChar, QStringLiteral("E"));
    QCOMPARE(f.char_, 0x45);

    QTest::sendKeyEvent(QTest::Click, f.TextChar, Qt::Key(key), text,
                        Qt::KeyboardModifiers(modifiers));
    QCOMPARE(f.char_, char_);
    QCOMPARE(f.TextChar->text(), charBox);
    QCOMPARE(f.TextCode->text(), QString::number(char_, 16).toUpper());
    QCOMPARE(m_ttedit->currentCode(), char_);
    // Only Backspace sends the next export to the blank.
    QTest::mouseClick(f.CommandTTEdit, Qt::LeftButton);
    QVERIFY(m_ttedit->glyph(char_));
    QCOMPARE(bool(m_ttedit->glyph(0x20)), char_ == 0x20);
}

void TestForm1Codes::keyWithoutCodeDoesNotGoIn()
{
    Form1& f = start(Kind::Western);
    // Half-width katakana are a Japanese font's; code page 1252 has none.
    QTest::sendKeyEvent(QTest::Click, f.TextChar, Qt::Key_unknown, QStringLiteral("ｱ"),
                        Qt::NoModifier);
    QCOMPARE(f.TextChar->text(), QStringLiteral("!"));
    QCOMPARE(f.char_, 33);
    QVERIFY(!anyCall());
}

void TestForm1Codes::shortcutsInTheCharacterBoxSetNoCode()
{
    Form1& f = start(Kind::Western);
    f.TextChar->setCursorPosition(1);
    QTest::keyClick(f.TextChar, Qt::Key_A, Qt::ControlModifier); // select all
    QTest::keyClick(f.TextChar, Qt::Key_Left, Qt::NoModifier);
    QCOMPARE(f.char_, 33);
    QCOMPARE(f.TextChar->text(), QStringLiteral("!"));
    QVERIFY(!anyCall());
}

void TestForm1Codes::caretRule_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<int>("char_");

    // The box keeps the character just typed, before or after the old one.
    const int japanese = int(Kind::Japanese);
    QTest::newRow("typed after") << japanese << "b" << 1 << "a"
                                 << "a" << int('a');
    QTest::newRow("typed before") << japanese << "b" << 0 << "a"
                                  << "a" << int('a');
    QTest::newRow("kana typed after") << japanese << "あ" << 1 << "い"
                                      << "い" << 0x82A2;
    QTest::newRow("kana typed before") << japanese << "あ" << 0 << "い"
                                       << "い" << 0x82A2;
    // Two characters with the caret at the end (2) keep the last, at 1 the first.
    QTest::newRow("ab, caret 2") << japanese << "" << -2 << "ab"
                                 << "b" << int('b');
    QTest::newRow("ab, caret 1") << japanese << "" << -1 << "ab"
                                 << "a" << int('a');
    // The cut applies in single-byte mode too, where a paste sets no code.
    QTest::newRow("single-byte paste") << int(Kind::Western) << "" << -2 << "xy"
                                       << "y" << 33;
}

void TestForm1Codes::caretRule()
{
    QFETCH(int, kind);
    QFETCH(QString, before);
    QFETCH(int, caret);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QFETCH(int, char_);
    Form1& f = start(Kind(kind));

    if (caret >= 0) {
        f.TextChar->setText(before);
        f.TextChar->setCursorPosition(caret);
        // Typed as an input method commits it, at the caret.
        QInputMethodEvent commit;
        commit.setCommitString(typed);
        QCoreApplication::sendEvent(f.TextChar, &commit);
    } else {
        // Two characters arrive at once; the caret stands where the paste left it.
        QSignalBlocker quiet(f.TextChar);
        f.TextChar->setText(typed);
        f.TextChar->setCursorPosition(-caret);
        quiet.unblock();
        emit f.TextChar->textChanged(f.TextChar->text());
    }
    QCOMPARE(f.TextChar->text(), kept);
    QCOMPARE(f.char_, char_);
    if (Kind(kind) == Kind::Japanese) {
        QCOMPARE(m_ttedit->currentCode(), char_);
        QCOMPARE(f.LabelChar->text(), kept);
    }
}

void TestForm1Codes::doubleByteInputMethod()
{
    Form1& f = start(Kind::Japanese);
    QVERIFY(f.TextChar->testAttribute(Qt::WA_InputMethodEnabled));
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("亜"));
    QCoreApplication::sendEvent(f.TextChar, &commit);
    QCOMPARE(f.TextChar->text(), QStringLiteral("亜"));
    QCOMPARE(f.char_, 0x889F);
    QCOMPARE(f.TextCode->text(), QStringLiteral("889F"));
    QCOMPARE(f.LabelChar->text(), QStringLiteral("亜"));
    QCOMPARE(m_ttedit->currentCode(), 0x889F);
    QCOMPARE(QPoint(f.bufX, f.bufY), QPoint(15 * 32, 9 * 32));
}

void TestForm1Codes::doubleByteKeyPressSendsNothing()
{
    Form1& f = start(Kind::Japanese);
    // The key press handling is single-byte only: Enter, which types nothing, sets no code.
    QTest::keyClick(f.TextChar, Qt::Key_Return, Qt::NoModifier);
    QCOMPARE(f.char_, 33);
    QCOMPARE(f.TextChar->text(), QStringLiteral("!"));
    QVERIFY(!anyCall());
    // A typed character is taken by the change handling.
    f.TextChar->setCursorPosition(1);
    QTest::keyClick(f.TextChar, Qt::Key_A, Qt::NoModifier);
    QCOMPARE(f.TextChar->text(), QStringLiteral("a"));
    QCOMPARE(f.char_, int('a'));
    QCOMPARE(m_ttedit->currentCode(), int('a'));
}

void TestForm1Codes::doubleByteBackspace()
{
    Form1& f = start(Kind::Japanese);
    f.TextChar->setCursorPosition(1);
    QTest::keyClick(f.TextChar, Qt::Key_Backspace, Qt::NoModifier);
    QCOMPARE(f.TextChar->text(), QString());
    QCOMPARE(f.char_, 33);
    QCOMPARE(f.TextCode->text(), QStringLiteral("21"));
    QVERIFY(!anyCall());
}

void TestForm1Codes::doubleByteCharacterWithoutCode()
{
    Form1& f = start(Kind::Japanese);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("😀"));
    QCoreApplication::sendEvent(f.TextChar, &commit);
    // No code names it: the box shows the current character again and the font hears nothing.
    QCOMPARE(f.TextChar->text(), QStringLiteral("!"));
    QCOMPARE(f.char_, 33);
    QVERIFY(!anyCall());
}

void TestForm1Codes::doubleByteCharacterTheFontLacks()
{
    Form1& f = start(Kind::Japanese, japaneseCodes({}, {0x889F}));
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("亜"));
    QCoreApplication::sendEvent(f.TextChar, &commit);
    // The font refuses the code and stays where it was; the code box shows the request.
    QCOMPARE(m_ttedit->currentCode(), 33);
    QCOMPARE(f.TextCode->text(), QStringLiteral("889F"));
    QCOMPARE(f.TextChar->text(), QStringLiteral("亜"));
}

void TestForm1Codes::step_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QList<int>>("codes");
    QTest::addColumn<int>("from");
    QTest::addColumn<bool>("next");
    QTest::addColumn<int>("to");

    const int western = int(Kind::Western);
    const int japanese = int(Kind::Japanese);
    QTest::newRow("next") << western << QList<int>{} << 33 << true << 34;
    QTest::newRow("previous") << western << QList<int>{} << 33 << false << 32;
    QTest::newRow("first code, previous stays") << western << QList<int>{} << 32 << false << 32;
    QTest::newRow("last code, next stays") << western << QList<int>{} << 255 << true << 255;
    QTest::newRow("codes the font lacks are skipped")
        << western << QList<int>{32, 65, 66, 200} << 66 << true << 200;
    QTest::newRow("back over a gap")
        << western << QList<int>{32, 65, 66, 200} << 200 << false << 66;
    // Codes of 0x8000 and above come back negative from getcode.
    QTest::newRow("double-byte next") << japanese << QList<int>{} << 0x82A0 << true << 0x82A1;
    QTest::newRow("double-byte previous over the single bytes")
        << japanese << QList<int>{} << 0x8140 << false << 0xDF;
    QTest::newRow("last double-byte code") << japanese << QList<int>{} << 0xFC4B << true << 0xFC4B;
}

void TestForm1Codes::step()
{
    QFETCH(int, kind);
    QFETCH(QList<int>, codes);
    QFETCH(int, from);
    QFETCH(bool, next);
    QFETCH(int, to);
    Form1& f = start(Kind(kind), std::vector<int>(codes.begin(), codes.end()));
    f.char_ = from;
    f.drawGrid();
    QCOMPARE(m_ttedit->currentCode(), from);

    QTest::mouseClick(next ? f.CommandNext : f.CommandPrev, Qt::LeftButton);
    QCOMPARE(f.char_, to);
    QCOMPARE(m_ttedit->currentCode(), to);
    QCOMPARE(f.TextCode->text(), QString::number(to, 16).toUpper());
    QCOMPARE(f.TextChar->text(),
             CodeText::toCharacter(to, Kind(kind) == Kind::Western ? CodePage::Cp1252
                                                                   : CodePage::Cp932));
    QCOMPARE(QPoint(f.bufX, f.bufY), cellOf(to));
    QVERIFY(m_prompt.shown().isEmpty());
}

void TestForm1Codes::stepMenuItemsAndShortcuts()
{
    Form1& f = start(Kind::Western);
    f.mnunextchar->trigger();
    QCOMPARE(f.char_, 34);
    f.mnuprevchar->trigger();
    QCOMPARE(f.char_, 33);

    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QTest::keyClick(&f, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(f.char_, 34);
    QTest::keyClick(&f, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(f.char_, 35);
    QTest::keyClick(&f, Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(f.char_, 34);
}

void TestForm1Codes::stepWithoutServer()
{
    Form1& f = start(Kind::Western);
    m_ttedit->setRunning(false);
    m_ttedit->setStartable(false);
    QTest::mouseClick(f.CommandNext, Qt::LeftButton);
    QTest::mouseClick(f.CommandPrev, Qt::LeftButton);
    QCOMPARE(f.char_, 33);
    QCOMPARE(m_prompt.messages(), (QStringList{noServer, noServer}));
    QCOMPARE(f.TextCode->text(), QStringLiteral("21"));
}

void TestForm1Codes::stepWhenGetcodeFails()
{
    Form1& f = start(Kind::Western);
    m_ttedit->setFailing(QStringLiteral("getcode"));
    QTest::mouseClick(f.CommandNext, Qt::LeftButton);
    QCOMPARE(m_ttedit->currentCode(), 34); // the font moved
    QCOMPARE(f.char_, 33);                 // the editor could not learn where
    QVERIFY(m_prompt.shown().isEmpty());
}

QTEST_MAIN(TestForm1Codes)
#include "tst_form1codes.moc"
