#include "chartable/TableHistory.h"

#include "chartable/GlyphStore.h"

#include <algorithm>
#include <iterator>

namespace {

// One step on the stack, of one page or several.  It is made before it is pushed, so the
// push's redo does nothing.
class TableStep : public QUndoCommand
{
public:
    TableStep(GlyphStore& store, const QList<TableChange>& changes)
        : QUndoCommand(changes.first().text())
        , m_store(store)
        , m_changes(changes)
    {}

    void undo() override
    {
        for (const TableChange& change : m_changes)
            change.undo(m_store.pageForWrite(change.page()));
    }
    void redo() override
    {
        if (m_made) {
            m_made = false;
            return;
        }
        for (const TableChange& change : m_changes)
            change.redo(m_store.pageForWrite(change.page()));
    }

    const QList<TableChange>& changes() const { return m_changes; }

private:
    GlyphStore& m_store;
    QList<TableChange> m_changes;
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
    record(QList<TableChange>{change});
}

void TableHistory::record(const QList<TableChange>& changes)
{
    QList<TableChange> made;
    std::copy_if(changes.begin(), changes.end(), std::back_inserter(made),
                 [](const TableChange& change) { return !change.isEmpty(); });
    if (made.isEmpty())
        return;
    push(new TableStep(m_store, made));
    keepWithinBudget();
}

const QList<TableChange>* TableHistory::stepAt(int i) const
{
    const auto* step = dynamic_cast<const TableStep*>(command(i));
    return step ? &step->changes() : nullptr;
}

const TableChange* TableHistory::changeAt(int i) const
{
    const QList<TableChange>* step = stepAt(i);
    return step ? &step->first() : nullptr;
}

QList<TableChange> TableHistory::nextUndoStep() const
{
    return canUndo() ? *stepAt(index() - 1) : QList<TableChange>();
}

QList<TableChange> TableHistory::nextRedoStep() const
{
    return canRedo() ? *stepAt(index()) : QList<TableChange>();
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
    for (int i = 0; i < count(); ++i) {
        total += StepOverhead;
        for (const TableChange& change : *stepAt(i))
            total += change.bytes();
    }
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
    QList<QList<TableChange>> kept;
    qsizetype total = 0;
    for (int i = count() - 1; i >= 0; --i) {
        const QList<TableChange>& step = *stepAt(i);
        total += StepOverhead;
        for (const TableChange& change : step)
            total += change.bytes();
        if (!kept.isEmpty() && total > ByteBudget / 4 * 3)
            break;
        kept.prepend(step);
    }
    clear();
    for (const QList<TableChange>& step : kept)
        push(new TableStep(m_store, step));
}
