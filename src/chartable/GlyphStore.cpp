#include "chartable/GlyphStore.h"

#include "codes/Cp932.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int PageSide = CharTable::Size;

bool isPageNumber(int page)
{
    return page == GlyphStore::SingleBytePage || Cp932::isLeadByte(page);
}

// Copies the part of source that fits onto target at (x, y); both Format_RGB32.
void copyInto(QImage& target, QPoint at, const QImage& source)
{
    const QRect area = QRect(at, source.size()) & target.rect();
    if (area.isEmpty())
        return;
    const size_t rowBytes = size_t(area.width()) * sizeof(QRgb);
    for (int y = area.top(); y <= area.bottom(); ++y)
        std::memcpy(target.scanLine(y) + area.left() * sizeof(QRgb),
                    source.constScanLine(y - at.y()) + (area.left() - at.x()) * sizeof(QRgb),
                    rowBytes);
}

QImage rgb32(const QImage& image)
{
    return image.format() == QImage::Format_RGB32 ? image
                                                  : image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

GlyphStore::GlyphStore()
    : m_blank(CharTable::blank())
{
    // Shared until written: QImage copies its pixels on the first change.
    m_pages[slot(SingleBytePage)] = m_blank;
}

int GlyphStore::pageOf(int code)
{
    if (code >= 0 && code <= 0xFF)
        return SingleBytePage;
    if (code < 0 || code > 0xFFFF)
        return -1;
    const int lead = code >> 8;
    return Cp932::isLeadByte(lead) && Cp932::isDefined(code) ? lead : -1;
}

QRect GlyphStore::cellRect(int code)
{
    if (pageOf(code) < 0)
        return QRect();
    return QRect(CharTable::cellOrigin(code & 0xFF), CellSize);
}

int GlyphStore::codeAt(int page, double X, double Y)
{
    if (X < 0 || Y < 0 || X >= PageSide || Y >= PageSide)
        return -1;
    const int cell = CharTable::codeAt(X, Y);
    return page == SingleBytePage ? cell : page * 256 + cell;
}

QString GlyphStore::pageName(int page)
{
    return QString::number(page, 16).toUpper().rightJustified(2, u'0') + QStringLiteral("xx");
}

QList<int> GlyphStore::allPages()
{
    QList<int> pages{SingleBytePage};
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!Cp932::isLeadByte(lead))
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (Cp932::isDefined(lead * 256 + trail)) {
                pages.append(lead);
                break;
            }
        }
    }
    return pages;
}

const QImage& GlyphStore::page(int page) const
{
    const QImage& made = m_pages[slot(page)];
    return made.isNull() || !isPageNumber(page) ? m_blank : made;
}

QImage& GlyphStore::pageForWrite(int page)
{
    Q_ASSERT(isPageNumber(page));
    QImage& made = m_pages[slot(page)];
    if (made.isNull())
        made = CharTable::blank();
    ++m_revisions[slot(page)];
    return made;
}

void GlyphStore::setPage(int page, const QImage& picture)
{
    QImage& target = pageForWrite(page);
    if (picture.size() == QSize(PageSide, PageSide)) {
        target = rgb32(picture);
        return;
    }
    target = CharTable::blank();
    copyInto(target, QPoint(0, 0), rgb32(picture));
}

bool GlyphStore::hasPage(int page) const
{
    return isPageNumber(page) && !m_pages[slot(page)].isNull();
}

QList<int> GlyphStore::pages() const
{
    QList<int> made;
    for (int page = 0; page < int(m_pages.size()); ++page) {
        if (hasPage(page))
            made.append(page);
    }
    return made;
}

bool GlyphStore::isBlank(int page) const
{
    if (!hasPage(page))
        return true;
    const QImage& image = m_pages[slot(page)];
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        if (!std::all_of(line, line + image.width(),
                         [](QRgb c) { return (c & 0x00ffffff) == 0x00ffffff; }))
            return false;
    }
    return true;
}

bool GlyphStore::dropIfBlank(int page)
{
    if (page == SingleBytePage || !hasPage(page) || !isBlank(page))
        return false;
    m_pages[slot(page)] = QImage();
    return true;
}

QList<int> GlyphStore::dropEmptyPages()
{
    QList<int> dropped;
    for (int page : pages()) {
        if (dropIfBlank(page))
            dropped.append(page);
    }
    return dropped;
}

void GlyphStore::dropPage(int page)
{
    if (!hasPage(page))
        return;
    m_pages[slot(page)] = page == SingleBytePage ? m_blank.copy() : QImage();
    ++m_revisions[slot(page)];
}

std::optional<QRgb> GlyphStore::pixel(int code, QPoint dot) const
{
    const QRect cell = cellRect(code);
    if (cell.isEmpty() || !QRect(QPoint(0, 0), CellSize).contains(dot))
        return std::nullopt;
    return CharTable::pixel(page(pageOf(code)), cell.topLeft() + dot);
}

bool GlyphStore::isSet(int code, QPoint dot) const
{
    const std::optional<QRgb> colour = pixel(code, dot);
    return colour && CharTable::isSetColour(*colour);
}

bool GlyphStore::setPixel(int code, QPoint dot, QRgb colour)
{
    const QRect cell = cellRect(code);
    if (cell.isEmpty() || !QRect(QPoint(0, 0), CellSize).contains(dot))
        return false;
    return CharTable::setPixel(pageForWrite(pageOf(code)), cell.topLeft() + dot, colour);
}

QImage GlyphStore::glyph(int code, QSize size) const
{
    const QRect cell = cellRect(code);
    if (cell.isEmpty())
        return QImage();
    return rgb32(page(pageOf(code)).copy(QRect(cell.topLeft(), size.boundedTo(CellSize))));
}

bool GlyphStore::setGlyph(int code, const QImage& dots)
{
    const QRect cell = cellRect(code);
    if (cell.isEmpty())
        return false;
    QImage& target = pageForWrite(pageOf(code));
    // Cut, not padded: a copy beyond the picture would be black, set dots over the rest.
    const QImage source = rgb32(dots);
    copyInto(target, cell.topLeft(),
             source.copy(QRect(QPoint(0, 0), source.size().boundedTo(CellSize))));
    return true;
}

void GlyphStore::forEachDot(int code, QSize size,
                            const std::function<void(QPoint dot, QRgb colour)>& visit) const
{
    const QRect cell = cellRect(code);
    if (cell.isEmpty())
        return;
    const QImage& image = page(pageOf(code));
    size = size.boundedTo(CellSize);
    for (int y = 0; y < size.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(cell.top() + y));
        for (int x = 0; x < size.width(); ++x)
            visit(QPoint(x, y), line[cell.left() + x]);
    }
}

bool GlyphStore::hasDots(int code, QSize size) const
{
    const QRect cell = cellRect(code);
    if (cell.isEmpty() || !hasPage(pageOf(code)))
        return false;
    const QImage& image = page(pageOf(code));
    size = size.boundedTo(CellSize);
    for (int y = 0; y < size.height(); ++y) {
        const QRgb* line =
            reinterpret_cast<const QRgb*>(image.constScanLine(cell.top() + y)) + cell.left();
        if (std::any_of(line, line + size.width(), CharTable::isSetColour))
            return true;
    }
    return false;
}

QList<int> GlyphStore::codes(QSize size) const
{
    QList<int> found;
    for (int page : pages()) {
        for (int cell = 0; cell <= 0xFF; ++cell) {
            const int code = page == SingleBytePage ? cell : page * 256 + cell;
            if (pageOf(code) == page && hasDots(code, size))
                found.append(code);
        }
    }
    return found;
}
