// The current code's two boxes, the code in hexadecimal and the character, and the stepping
// through the codes of the font open in the font server.

#include "app/Form1.h"

#include "codes/CodeText.h"
#include "codes/Cp1252.h"
#include "codes/Cp932.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace {

constexpr int KeyBackspace = 8;
constexpr int KeyEnter = 13;

// The character code a key press types, as a text box's key press handler receives it:
// Backspace 8, Enter 13, otherwise the code of the key's text in page (-1 when the character
// has none).  Nothing for keys that type no character (arrows, Delete, function
// keys), for Tab, which moves the focus, and for shortcuts and editing commands held with
// Ctrl, Alt or Meta, which the box and the menus keep.
std::optional<int> typedCode(const QKeyEvent& key, CodePage page)
{
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return std::nullopt;
    switch (key.key()) {
    case Qt::Key_Backspace:
        return KeyBackspace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return KeyEnter;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete: // types 0x7F on X11, yet only edits
        return std::nullopt;
    default:
        break;
    }
    if (key.text().isEmpty())
        return std::nullopt;
    return page == CodePage::Cp1252 ? Cp1252::toCode(key.text()) : Cp932::toCode(key.text());
}

bool isHexDigit(int c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

} // namespace

bool Form1::codeBoxEvent(QObject* watched, QEvent* event)
{
    if (watched == TextCode) {
        if (event->type() == QEvent::KeyPress) {
            const std::optional<int> code = typedCode(*static_cast<QKeyEvent*>(event), m_codePage);
            return code && !TextCode_KeyPress(*code);
        }
        if (event->type() == QEvent::FocusOut) {
            // Only a move of the focus to another control of this program: a message box, a
            // menu or another application taking the focus is no end of the typing.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                QMetaObject::invokeMethod(this, &Form1::TextCode_LostFocus, Qt::QueuedConnection);
        }
        return false;
    }
    if (watched == TextChar && event->type() == QEvent::KeyPress && fontKind != 2) {
        const std::optional<int> code = typedCode(*static_cast<QKeyEvent*>(event), m_codePage);
        if (!code)
            return false;
        // A character without a code in the code page names no glyph: it does not go in.
        if (*code < 0)
            return true;
        TextChar_KeyPress(*code);
        // The key goes on into the box, which the handler has emptied for it.
        return false;
    }
    return false;
}

bool Form1::TextCode_KeyPress(int KeyAscii)
{
    return KeyAscii == KeyBackspace || isHexDigit(KeyAscii);
}

void Form1::TextCode_Change()
{
    bEditCode = true;
    const qint32 requested = CodeText::fromHex(TextCode->text());
    // While the settings load, char_ is already set: only the limits below apply.
    if (!bLoading) {
        SetupTTEdit(false);
        // Read, request and read back go out together.
        const QList<std::optional<QVariant>> answers =
            ttCallAll({getcodeCall(), setcodeCall(requested), getcodeCall()});
        const qint32 previous = codeOf(answers[0]).value_or(0);
        const qint32 confirmed = codeOf(answers[2]).value_or(0);
        if (confirmed == requested)
            char_ = requested;
        else
            ttSetCode(previous); // the font lacks the code: the server goes back
    }
    if (fontKind != 2 && char_ > 255) {
        char_ = 255;
        TextCode->setText(QStringLiteral("FF"));
    }
    // Control codes have no glyph; the box keeps showing what was typed.
    if (char_ >= 0 && char_ <= 31)
        char_ = 32;
    drawGrid();
    bEditCode = false;
}

void Form1::TextCode_LostFocus()
{
    QCoreApplication::processEvents();
    TextCode_Change();
    TextChar_Change();
    bEditCode = true;
    drawGrid();
    bEditCode = false;
}

void Form1::beginCharacterEdit(qint32 code)
{
    bEditChar = true;
    char_ = code;
    // While the settings load, the redraws echo the loaded code: the font server is left
    // alone, as the code box's handling leaves it.
    if (bLoading)
        return;
    SetupTTEdit(false);
    ttSetCode(char_);
}

void Form1::endCharacterEdit()
{
    if (char_ == KeyBackspace) {
        char_ = 32;
        LabelChar->setText(QStringLiteral(" "));
    } else {
        LabelChar->setText(CodeText::toCharacter(char_, m_codePage));
    }
    drawGrid();
    bEditChar = false;
}

void Form1::TextChar_KeyPress(int KeyAscii)
{
    // A control character (Enter, Escape, Ctrl with a letter) names no glyph: taken, it would
    // be lifted to the blank and send the next export there.  It changes nothing, as Tab
    // does; Backspace goes to the blank on purpose.
    if (KeyAscii >= 0 && KeyAscii < 32 && KeyAscii != KeyBackspace)
        return;
    beginCharacterEdit(KeyAscii);
    TextChar->clear();
    // The redraw writes the code box, whose change handling checks the code with the font and
    // applies the limits.
    endCharacterEdit();
}

void Form1::TextChar_Change()
{
    if (bTrimChar)
        return;

    // One character stays: the one just typed, after or before the old one.
    const QString text = TextChar->text();
    const QList<uint> characters = text.toUcs4();
    if (characters.size() > 1) {
        const qsizetype caret = QStringView(text).left(TextChar->cursorPosition()).toUcs4().size();
        const char32_t kept = char32_t(caret > 1 ? characters.last() : characters.first());
        bTrimChar = true;
        TextChar->setText(QString::fromUcs4(&kept, 1));
        bTrimChar = false;
    }

    const QString character = TextChar->text();
    if (character.isEmpty() || fontKind != 2)
        return;
    const std::optional<qint32> code = CodeText::fromCharacter(character, m_codePage);
    if (!code) {
        refuseCharacter();
        return;
    }

    beginCharacterEdit(*code);
    // Its change handling checks the code with the font and may put char_ back.
    TextCode->setText(CodeText::toHex(char_));
    endCharacterEdit();
}

void Form1::refuseCharacter()
{
    // A character the code page cannot encode names no code: the box shows the current one
    // again, and nothing reaches the font.
    bTrimChar = true;
    TextChar->setText(CodeText::boxCharacter(char_, m_codePage));
    bTrimChar = false;
}

void Form1::stepCode(const QString& member)
{
    // Which code comes next, and what happens at either end, is the font server's to say.
    SetupTTEdit(false);
    // The step and its read-back go out with the attach of the set-up that the code box's own
    // check runs in the redraw: none of them waits on another's answer, and the server takes
    // them in this order all the same.
    AutomationReplyPtr code;
    if (ttDoc) {
        ttDoc->post(member);
        const AutomationCall getcode = getcodeCall();
        code = ttDoc->send(getcode.member, getcode.args);
    }
    m_attachedAhead = attachServer();
    if (code) {
        if (const std::optional<qint32> c = codeOf(code->result()))
            char_ = *c;
    }
    drawGrid();
    m_attachedAhead.reset();
}

void Form1::CommandNext_Click()
{
    stepCode(QStringLiteral("viewnextcode"));
}

void Form1::CommandPrev_Click()
{
    stepCode(QStringLiteral("viewpreviouscode"));
}

void Form1::mnunextchar_Click()
{
    CommandNext_Click();
}

void Form1::mnuprevchar_Click()
{
    CommandPrev_Click();
}
