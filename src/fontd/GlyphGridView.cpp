#include "fontd/GlyphGridView.h"

#include "fontd/DocumentObject.h"
#include "fontd/FontCodes.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

GlyphGridView::GlyphGridView(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
}

void GlyphGridView::setDocument(DocumentObject* document)
{
    if (m_document == document)
        return;
    if (m_document)
        disconnect(m_document, nullptr, this, nullptr);
    m_document = document;
    m_outlines.clear();
    m_layout.setCellCount(document ? int(document->document().codes().size()) : 0);
    if (document) {
        connect(document, &DocumentObject::changed, this, &GlyphGridView::documentChanged);
        connect(document, &DocumentObject::currentCodeChanged, this,
                &GlyphGridView::currentCodeChanged);
    }
    updateScrollBars();
    verticalScrollBar()->setValue(0);
    ensureCurrentVisible();
    viewport()->update();
}

int GlyphGridView::indexOfCode(int code) const
{
    if (!m_document)
        return -1;
    const std::span<const int> codes = m_document->document().codes();
    const auto it = std::lower_bound(codes.begin(), codes.end(), code);
    return it != codes.end() && *it == code ? int(it - codes.begin()) : -1;
}

void GlyphGridView::ensureCurrentVisible()
{
    if (!m_document)
        return;
    const QRect cell = m_layout.cellRect(indexOfCode(m_document->document().currentCode()));
    if (cell.isNull())
        return;
    QScrollBar* bar = verticalScrollBar();
    const int top = bar->value();
    const int height = viewport()->height();
    if (cell.top() < top)
        bar->setValue(cell.top());
    else if (cell.bottom() >= top + height)
        bar->setValue(cell.bottom() + 1 - height);
}

void GlyphGridView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    m_lastPaintedCells = 0;
    if (!m_document)
        return;
    const FontDocument& font = m_document->document();
    const std::span<const int> codes = font.codes();
    const int scroll = verticalScrollBar()->value();
    const QRect dirty = event->rect().translated(0, scroll);
    const auto [first, end] = m_layout.visibleRange(dirty.top(), dirty.height());
    const int current = font.currentCode();
    const QPalette& colours = palette();

    painter.translate(0, -scroll);
    for (int index = first; index < end; ++index) {
        const int code = codes[size_t(index)];
        const QRect cell = m_layout.cellRect(index);
        if (!cell.intersects(dirty))
            continue;
        ++m_lastPaintedCells;
        const bool isCurrent = code == current;
        const FontGlyph* glyph = font.glyph(code);

        const QRect frame = cell.adjusted(1, 1, -1, -1);
        if (isCurrent)
            painter.fillRect(frame, colours.color(QPalette::Highlight).lighter(170));
        painter.setPen(isCurrent ? QPen(colours.color(QPalette::Highlight), 2)
                                 : QPen(colours.color(QPalette::Mid), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(frame);

        painter.setPen(glyph ? colours.color(QPalette::Text)
                             : colours.color(QPalette::PlaceholderText));
        painter.drawText(GlyphGridLayout::labelRect(cell), Qt::AlignLeft | Qt::AlignVCenter,
                         GlyphGridLayout::codeLabel(code));
        painter.drawText(GlyphGridLayout::labelRect(cell), Qt::AlignRight | Qt::AlignVCenter,
                         FontCodes::character(font.kind(), code));

        const QRect box = GlyphGridLayout::glyphBox(cell);
        painter.fillRect(box, colours.color(QPalette::Base));
        // The baseline, so that empty and shallow glyphs still show where they sit.
        const QTransform toBox =
            GlyphGridLayout::fontToBox(box, font.unitsPerEm(), font.ascender());
        const int baseline = qRound(toBox.map(QPointF(0, 0)).y());
        painter.setPen(QPen(colours.color(QPalette::Midlight), 1));
        painter.drawLine(box.left(), baseline, box.right(), baseline);
        if (glyph && !glyph->contours.isEmpty()) {
            painter.save();
            painter.setClipRect(box);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(colours.color(QPalette::Text));
            painter.drawPath(toBox.map(outline(code)));
            painter.restore();
        }
    }
}

void GlyphGridView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    ensureCurrentVisible();
}

void GlyphGridView::mousePressEvent(QMouseEvent* event)
{
    if (!m_document || event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint() + QPoint(0, verticalScrollBar()->value());
    const int index = m_layout.indexAt(point);
    if (index >= 0)
        emit codeClicked(m_document->document().codes()[size_t(index)]);
}

void GlyphGridView::documentChanged()
{
    m_outlines.clear();
    viewport()->update();
}

void GlyphGridView::currentCodeChanged()
{
    ensureCurrentVisible();
    viewport()->update();
}

void GlyphGridView::updateScrollBars()
{
    m_layout.setViewportWidth(viewport()->width());
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, std::max(0, m_layout.contentHeight() - viewport()->height()));
    bar->setPageStep(viewport()->height());
    bar->setSingleStep(GlyphGridLayout::CellHeight / 2);
}

const QPainterPath& GlyphGridView::outline(int code)
{
    auto it = m_outlines.find(code);
    if (it == m_outlines.end()) {
        QPainterPath path;
        // TrueType fills by the non-zero rule: outer contours and holes wind oppositely.
        path.setFillRule(Qt::WindingFill);
        if (const FontGlyph* glyph = m_document->document().glyph(code)) {
            for (const QPolygon& contour : glyph->contours) {
                path.addPolygon(QPolygonF(contour));
                path.closeSubpath();
            }
        }
        it = m_outlines.insert(code, path);
    }
    return *it;
}
