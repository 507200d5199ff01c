#include "chartable/TableChange.h"

#include "chartable/CharTable.h"

#include <cstring>

namespace {

QImage rgb32(const QImage& image)
{
    return image.format() == QImage::Format_RGB32 ? image
                                                  : image.convertToFormat(QImage::Format_RGB32);
}

// The smallest rectangle, in before's coordinates, that holds every pixel of before that differs
// from the pixel of table at the same place offset by at.  Both are RGB32; the alpha byte does
// not count.
QRect differingRect(const QImage& before, QPoint at, const QImage& table)
{
    const QRect area = QRect(at, before.size()) & table.rect();
    int left = area.width();
    int right = -1;
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < area.height(); ++y) {
        const int by = area.top() - at.y() + y;
        const QRgb* was =
            reinterpret_cast<const QRgb*>(before.constScanLine(by)) + (area.left() - at.x());
        const QRgb* now =
            reinterpret_cast<const QRgb*>(table.constScanLine(area.top() + y)) + area.left();
        if (std::memcmp(was, now, size_t(area.width()) * sizeof(QRgb)) == 0)
            continue;
        int first = 0;
        while (first < area.width() && ((was[first] ^ now[first]) & 0x00ffffff) == 0)
            ++first;
        if (first == area.width())
            continue;
        int last = area.width() - 1;
        while (((was[last] ^ now[last]) & 0x00ffffff) == 0)
            --last;
        left = std::min(left, first);
        right = std::max(right, last);
        if (top < 0)
            top = y;
        bottom = y;
    }
    if (top < 0)
        return QRect();
    return QRect(QPoint(left, top), QPoint(right, bottom)).translated(area.topLeft() - at);
}

// The part of image inside rect, without a copy when that is all of it.
QImage part(const QImage& image, const QRect& rect)
{
    return rect == image.rect() ? image : image.copy(rect);
}

} // namespace

TableChange TableChange::replaced(const QString& text, int code, const QImage& before, QPoint at,
                                  const QImage& table)
{
    TableChange change;
    if (before.isNull())
        return change;
    const QImage was = rgb32(before);
    const QImage now = rgb32(table);
    const QRect differing = differingRect(was, at, now);
    if (differing.isEmpty())
        return change;
    change.m_text = text;
    change.m_code = code;
    change.m_rect = differing.translated(at);
    change.m_before = PixelBlock::of(part(was, differing), change.m_rect.topLeft());
    change.m_after = PixelBlock::of(part(now, change.m_rect), change.m_rect.topLeft());
    return change;
}

TableChange TableChange::inverted(const QString& text, int code, const QRect& rect,
                                  const QImage& table)
{
    TableChange change;
    change.m_rect = rect & table.rect();
    if (change.m_rect.isEmpty())
        return change;
    change.m_text = text;
    change.m_code = code;
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
