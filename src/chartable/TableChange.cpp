#include "chartable/TableChange.h"

#include "chartable/CharTable.h"

TableChange TableChange::replaced(const QString& text, int code, const PixelBlock& before,
                                  const QImage& table, int page)
{
    TableChange change;
    const PixelBlock after = PixelBlock::capture(table, before.rect());
    if (before.isEmpty() || after == before)
        return change;
    change.m_text = text;
    change.m_code = code;
    change.m_page = page;
    change.m_rect = before.rect();
    change.m_before = before;
    change.m_after = after;
    return change;
}

TableChange TableChange::inverted(const QString& text, int code, const QRect& rect,
                                  const QImage& table, int page)
{
    TableChange change;
    change.m_rect = rect & table.rect();
    if (change.m_rect.isEmpty())
        return change;
    change.m_text = text;
    change.m_code = code;
    change.m_page = page;
    change.m_invert = true;
    return change;
}

qsizetype TableChange::bytes() const
{
    return qsizetype(sizeof(TableChange)) + m_text.size() * qsizetype(sizeof(QChar)) +
           m_before.bytes() + m_after.bytes();
}

void TableChange::undo(QImage& table) const
{
    if (m_invert)
        CharTable::invertRect(table, m_rect);
    else
        m_before.paint(table);
}

void TableChange::redo(QImage& table) const
{
    if (m_invert)
        CharTable::invertRect(table, m_rect);
    else
        m_after.paint(table);
}
