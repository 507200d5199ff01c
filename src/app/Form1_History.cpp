// The undo history of the main window: a step for every painting stroke, glyph operation,
// whole-table operation and table load, taken back and made again from the Edit menu.

#include "app/Form1.h"

#include "chartable/CharTable.h"
#include "chartable/TableHistory.h"
#include "editor/DotCanvas.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>

void Form1::openStroke()
{
    const QPoint cell(bufX, bufY);
    const int page = currentPage();
    if (m_stroking && m_strokeAt == cell && m_strokePage == page)
        return;
    // A stroke that goes on after the code changed is a step of the new code.
    closeStroke();
    m_stroking = true;
    m_strokeCode = char_;
    m_strokePage = page;
    m_strokeAt = cell;
    m_strokeBefore = PixelBlock::capture(
        m_store.page(page), QRect(cell, QSize(CharTable::CellSize, CharTable::CellSize)));
}

void Form1::closeStroke()
{
    if (!m_stroking)
        return;
    m_stroking = false;
    endStep(tr("paint"), m_strokeCode, m_strokeBefore, m_strokePage);
    m_strokeBefore = PixelBlock();
}

PixelBlock Form1::beginStep(int page, const QRect& rect)
{
    closeStroke();
    return PixelBlock::capture(m_store.page(page), rect);
}

void Form1::endStep(const QString& text, qint32 code, const PixelBlock& before, int page)
{
    m_history->record(TableChange::replaced(text, code, before, m_store.page(page), page));
}

void Form1::endStep(const QString& text, const QMap<int, PixelBlock>& before)
{
    QList<TableChange> changes;
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        changes.append(
            TableChange::replaced(text, -1, it.value(), m_store.page(it.key()), it.key()));
    m_history->record(changes);
}

void Form1::recordInverted(const QString& text, qint32 code, const QRect& rect, int page)
{
    m_history->record(TableChange::inverted(text, code, rect, m_store.page(page), page));
}

void Form1::PictureDOT_MouseUp(qint16, qint16, float, float)
{
    m_dragDot.reset();
    closeStroke();
}

void Form1::walkHistory(bool back)
{
    closeStroke();
    const QList<TableChange> step = back ? m_history->nextUndoStep() : m_history->nextRedoStep();
    if (step.isEmpty())
        return;
    if (back)
        m_history->undo();
    else
        m_history->redo();
    bool onShownPage = false;
    for (const TableChange& change : step) {
        mirror(change.page(), change.rect());
        onShownPage |= change.page() == currentPage();
    }
    // The step is shown at its glyph, a step of whole pages on the page shown when it changed
    // that one, else on its first page.
    const qint32 code = step.first().code();
    if (code >= 0 && code != char_)
        goToCode(code);
    else if (code < 0 && !onShownPage)
        goToCode(codeOnPage(step.first().page()));
    else
        drawGrid();
}

void Form1::mnuundo_Click()
{
    walkHistory(true);
}

void Form1::mnuredo_Click()
{
    walkHistory(false);
}

void Form1::updateHistoryItems()
{
    mnuundo->setEnabled(m_history->canUndo());
    mnuundo->setText(m_history->canUndo() ? tr("undo %1").arg(m_history->undoText()) : tr("undo"));
    mnuredo->setEnabled(m_history->canRedo());
    mnuredo->setText(m_history->canRedo() ? tr("redo %1").arg(m_history->redoText()) : tr("redo"));
}

bool Form1::textBoxKeepsKeys(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ShortcutOverride || !qobject_cast<QLineEdit*>(watched))
        return false;
    // Taking the override makes the key a key press of the box, whatever the desktop's own
    // undo and redo keys are: the box undoes its text, types the letter or ignores the key,
    // and no glyph changes.
    const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
    QList<QAction*> items = toolItems();
    items << mnuundo << mnuredo;
    for (const QAction* item : std::as_const(items)) {
        if (item->shortcuts().contains(pressed)) {
            event->accept();
            return true;
        }
    }
    return false;
}
