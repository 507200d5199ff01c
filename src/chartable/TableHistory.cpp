#include "chartable/TableHistory.h"

#include "chartable/GlyphStore.h"

namespace {

// One step on the stack.  It is made before it is pushed, so the push's redo does nothing.
class TableStep : public QUndoCommand
{
public:
    TableStep(GlyphStore& store, const TableChange& change)
        : QUndoCommand(change.text())
        , m_store(store)
        , m_change(change)
    {}

    void undo() override { m_change.undo(m_store.pageForWrite(m_change.page())); }
    void redo() override
    {
        if (m_made)
            m_made = false;
        else
            m_change.redo(m_store.pageForWrite(m_change.page()));
    }

    const TableChange& change() const { return m_change; }

private:
    GlyphStore& m_store;
    TableChange m_change;
    bool m_made = true;
};

} // namespace

TableHistory::TableHistory(GlyphStore& store, QObject* parent)
    : QUndoStack(parent)
    , m_store(store)
{
    setUndoLimit(StepLimit);
}

void TableHistory::record(const TableChange& change)
{
    if (change.isEmpty())
        return;
    push(new TableStep(m_store, change));
    keepWithinBudget();
}

const TableChange* TableHistory::changeAt(int i) const
{
    const auto* step = dynamic_cast<const TableStep*>(command(i));
    return step ? &step->change() : nullptr;
}

const TableChange* TableHistory::nextUndo() const
{
    return canUndo() ? changeAt(index() - 1) : nullptr;
}

const TableChange* TableHistory::nextRedo() const
{
    return canRedo() ? changeAt(index()) : nullptr;
}

qsizetype TableHistory::bytes() const
{
    qsizetype total = 0;
    for (int i = 0; i < count(); ++i)
        total += StepOverhead + changeAt(i)->bytes();
    return total;
}

void TableHistory::keepWithinBudget()
{
    if (bytes() <= ByteBudget)
        return;
    // The stack drops steps from its bottom only by count, so it is filled again with the
    // newest steps that take up to three quarters of the budget: the rest of it leaves room
    // for the steps to come before this happens again.  A push has just cut the redo steps,
    // so every step kept is made, and pushing it again does not make it twice.
    QList<TableChange> kept;
    qsizetype total = 0;
    for (int i = count() - 1; i >= 0; --i) {
        const TableChange& change = *changeAt(i);
        total += StepOverhead + change.bytes();
        if (!kept.isEmpty() && total > ByteBudget / 4 * 3)
            break;
        kept.prepend(change);
    }
    clear();
    for (const TableChange& change : kept)
        push(new TableStep(m_store, change));
}
