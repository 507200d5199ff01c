#pragma once

#include "chartable/TableChange.h"

#include <QUndoStack>

class GlyphStore;

// The undo history of the glyph store, all its pages in one: Qt's undo stack of TableChange
// steps, each on its own page.  Each change
// is made first and recorded after, so taking a step on does not make it again.  The stack
// keeps at most StepLimit steps, and its oldest steps go as soon as the history would hold
// more than ByteBudget: a table of many colours makes whole-table steps of a megabyte each.
class TableHistory : public QUndoStack
{
    Q_OBJECT

public:
    static constexpr int StepLimit = 1000;
    static constexpr qsizetype ByteBudget = 8 * 1024 * 1024;
    // What a step costs beyond its change: the command object, its text, the allocator's share.
    static constexpr qsizetype StepOverhead = 512;

    // store holds the pages the steps change; it must outlive the history.
    explicit TableHistory(GlyphStore& store, QObject* parent = nullptr);

    // Records a change already made to its page; an empty change is not recorded.  Steps
    // come on the stack only through here.
    void record(const TableChange& change);
    // Records changes of several pages as one step, named after the first; the empty ones are
    // left out, and with them all nothing is recorded.
    void record(const QList<TableChange>& changes);

    // The change the next undo takes back, and the one the next redo makes again (of a step of
    // several pages, the first); null when there is none.
    const TableChange* nextUndo() const;
    const TableChange* nextRedo() const;
    // Every change of those steps; empty when there is none.
    QList<TableChange> nextUndoStep() const;
    QList<TableChange> nextRedoStep() const;

    // The memory the steps on the stack hold.
    qsizetype bytes() const;

private:
    const QList<TableChange>* stepAt(int index) const;
    const TableChange* changeAt(int index) const;
    void keepWithinBudget();

    GlyphStore& m_store;
};
