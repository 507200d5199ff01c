// The main window's life: loading before it is first shown, its activations, coming forward
// for a later copy of the program, and the exit.

#include "app/Form1.h"

#include "app/Form2.h"
#include "app/ProgramInfo.h"
#include "app/Prompt.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QScopedValueRollback>
#include <QWindow>

namespace {

QString fontNotSavedQuestion()
{
    return Form1::tr("TTEditでフォントがセーブされていません。セーブしますか？");
}

// A window of the program in its own right, as the about box and the batch dialogs are; not a
// message box or a file dialog, which only ask, nor a menu or a tool tip.
bool isForm(const QWidget* w)
{
    const Qt::WindowType type = w->windowType();
    if (type != Qt::Window && type != Qt::Dialog && type != Qt::Tool)
        return false;
    for (const char* asking : {"QMessageBox", "QFileDialog", "QInputDialog", "QColorDialog",
                               "QFontDialog", "QErrorMessage"}) {
        if (w->inherits(asking))
            return false;
    }
    return true;
}

} // namespace

void Form1::Form_Load()
{
    LabelInfo->setText(ProgramInfo::infoLine());
    LoadSettings();
}

void Form1::Form_Activate()
{
    // An activation started from inside one (its redraw lets events run) has nothing to add.
    if (m_activating)
        return;
    const QScopedValueRollback activating(m_activating, true);
    if (bFirstActivate)
        loadTableAtStart();
    // The load and the redraw let events run: a close among them ends the start.
    if (m_closed)
        return;
    drawGrid();
    if (m_closed)
        return;
    SetupTTEdit(bFirstActivate);
    bFirstActivate = false;
}

Form1::WindowRole Form1::roleOf(QWindow* window) const
{
    if (!window)
        return WindowRole::None;
    if (window == windowHandle())
        return WindowRole::Main;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->windowHandle() == window)
            return isForm(w) ? WindowRole::Form : WindowRole::Other;
    }
    return WindowRole::Other;
}

void Form1::focusWindowChanged(QWindow* window)
{
    // Another application took the focus: coming back from it is no activation, so the window
    // active before it still decides.  The role is taken now, while the window still exists.
    const WindowRole role = roleOf(window);
    if (role == WindowRole::None)
        return;
    const bool fromForm = m_lastActive == WindowRole::Form;
    m_lastActive = role;
    // A message box that an activation shows hands the focus back without another one, so a
    // server that cannot be reached is told once, not again and again.
    if (role != WindowRole::Main || !fromForm || bFirstActivate || m_activationQueued)
        return;
    // After the focus change has settled, not inside it: the activation may ask questions.
    m_activationQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_activationQueued = false;
            Form_Activate();
        },
        Qt::QueuedConnection);
}

void Form1::comeForward()
{
    // What the user must answer first stays in front.
    QWidget* front = QApplication::activeModalWidget();
    if (!front)
        front = this;
    front->raise();
    front->activateWindow();
}

void Form1::mnuexit_Click()
{
    close();
}

void Form1::closeEvent(QCloseEvent* event)
{
    // The exit's question lets events run; a second close meanwhile has nothing to add.
    if (m_closing) {
        event->ignore();
        return;
    }
    const QScopedValueRollback closing(m_closing, true);
    SaveSettings();
    // A failed save of the table may keep the window open: the one way to hold the exit back,
    // so that the glyphs since the last save are not lost unasked.
    if (!autoSaveTable()) {
        event->ignore();
        return;
    }
    // A font that could not be saved would be lost with the session: the window stays.
    if (!offerFontSave()) {
        event->ignore();
        return;
    }
    closeOtherWindows();
    m_closed = true;
    QMainWindow::closeEvent(event);
}

bool Form1::offerFontSave()
{
    if (!bAskSave)
        return true;
    // Only a server still running: none is started to be asked about its font.
    const AutomationPtr app = m_automation->getObject(QStringLiteral("TTEdit.Application"));
    if (!app)
        return true;
    const AutomationPtr doc =
        AutomationObject::toObject(app->call(QStringLiteral("ActiveDocument")));
    if (!doc)
        return true;
    // A font whose state cannot be read is asked about, as an unsaved one.
    const std::optional<QVariant> saved = doc->call(QStringLiteral("saved"));
    if (saved && saved->typeId() == QMetaType::Bool && saved->toBool())
        return true;
    if (!m_prompt->ask(fontNotSavedQuestion(), true) || doc->call(QStringLiteral("save")))
        return true;
    QString message = tr("TTEditでフォントをセーブできませんでした");
    if (const QString reason = doc->lastError(); !reason.isEmpty())
        message += u'\n' + reason;
    m_prompt->inform(message);
    return false;
}

void Form1::closeOtherWindows()
{
    // Hidden ones included: none may keep the program running.
    form2->close();
    for (QWidget* w : findChildren<QWidget*>()) {
        // The progress window stays while a run goes on: closing it cancels the run, which
        // ends after its glyph, and the window goes.
        if (w->isWindow() && isForm(w) && !w->close())
            w->hide();
    }
}
