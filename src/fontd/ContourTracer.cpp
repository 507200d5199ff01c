#include "fontd/ContourTracer.h"

#include <algorithm>
#include <bit>
#include <limits>

QList<QPolygon> ContourTracer::trace(const InkMask& mask)
{
    return *trace(mask, std::numeric_limits<qsizetype>::max());
}

std::optional<QList<QPolygon>> ContourTracer::trace(const InkMask& mask, qsizetype maxPoints)
{
    QList<QPolygon> out;
    if (mask.isNull())
        return out;
    if (!collectCorners(mask, maxPoints))
        return std::nullopt;
    sortByColumn(mask.width());
    // Every contour has four corners at least: one allocation for the list.
    out.reserve(qsizetype(m_x.size() / 4));
    walk(&out);
    return out;
}

// A lattice point (x, y) sees four pixels: a above-left, b above-right, c below-left, d
// below-right.  It is a corner when an odd number of them is ink, or when ink touches ink only
// diagonally there (a = d, b = c, a != b).  With p the row above and q the row below, shifted
// copies give a and c at bit x, so a whole word of points is classified at once.
bool ContourTracer::collectCorners(const InkMask& mask, qsizetype maxPoints)
{
    m_x.clear();
    m_y.clear();
    m_outHorizontal.clear();
    m_sibling.clear();
    m_swapInColumn.clear();

    const int words = mask.wordsPerRow();
    m_zeroRow.assign(size_t(words), 0);
    const int height = mask.height();
    // No corner lies beyond the rows and words that hold ink, but for the edges right of the
    // last ink word and below the last ink row: a glyph is mostly a small part of its canvas.
    int top = height, bottom = -1, left = words, right = -1;
    for (int y = 0; y < height; ++y) {
        const quint64* r = mask.row(y);
        for (int w = 0; w < words; ++w) {
            if (r[w]) {
                left = std::min(left, w);
                right = std::max(right, w);
                top = std::min(top, y);
                bottom = y;
            }
        }
    }
    const int lastWord = std::min(right + 1, words - 1);
    for (int y = top; y <= bottom + 1; ++y) {
        const quint64* above = y > 0 ? mask.row(y - 1) : m_zeroRow.data();
        const quint64* below = y < height ? mask.row(y) : m_zeroRow.data();
        // Two equal rows meet at no corner: a glyph of dot boxes is mostly such rows.
        if (std::equal(above + left, above + lastWord + 1, below + left))
            continue;
        // The word left of the first is clear in every row: nothing carries into it.
        quint64 carryAbove = 0;
        quint64 carryBelow = 0;
        for (int w = left; w <= lastWord; ++w) {
            const quint64 b = above[w];
            const quint64 d = below[w];
            const quint64 a = (b >> 1) | carryAbove;
            const quint64 c = (d >> 1) | carryBelow;
            carryAbove = b << 63;
            carryBelow = d << 63;
            const quint64 stepAbove = a ^ b;
            const quint64 stepBelow = c ^ d;
            const quint64 diagonal = stepAbove & stepBelow & (a ^ c);
            quint64 corners = (stepAbove ^ stepBelow) | diagonal;
            while (corners) {
                const int i = std::countl_zero(corners);
                const quint64 bit = quint64(1) << (63 - i);
                corners ^= bit;
                const int x = w * 64 + i;
                const bool inkA = a & bit;
                const bool inkC = c & bit;
                const bool inkD = d & bit;
                // The horizontal edge left of the point runs left (leaving it) when the ink is
                // above it; the one right of it runs right when the ink is below it.
                if (diagonal & bit) {
                    const int first = int(m_x.size());
                    m_x.insert(m_x.end(), {x, x});
                    m_y.insert(m_y.end(), {y, y});
                    m_outHorizontal.insert(m_outHorizontal.end(), {quint8(inkA), quint8(inkD)});
                    m_sibling.insert(m_sibling.end(), {first + 1, first});
                    // Turning right pairs the left edge with the one above when a and d are
                    // ink, with the one below when b and c are.
                    m_swapInColumn.insert(m_swapInColumn.end(), {!inkA, false});
                } else {
                    m_x.push_back(x);
                    m_y.push_back(y);
                    m_outHorizontal.push_back(inkA != inkC ? inkA : inkD);
                    m_sibling.push_back(-1);
                    m_swapInColumn.push_back(false);
                }
            }
        }
        // Every entry becomes one point of a contour.
        if (qsizetype(m_x.size()) > maxPoints)
            return false;
    }
    return true;
}

void ContourTracer::sortByColumn(int width)
{
    const int n = int(m_x.size());
    m_columnStart.assign(size_t(width) + 2, 0);
    for (int e = 0; e < n; ++e)
        ++m_columnStart[size_t(m_x[e]) + 1];
    for (int x = 0; x <= width; ++x)
        m_columnStart[size_t(x) + 1] += m_columnStart[size_t(x)];
    m_columnOrder.resize(size_t(n));
    m_columnPlace.resize(size_t(n));
    for (int e = 0; e < n; ++e) {
        const int p = m_columnStart[size_t(m_x[e])]++;
        m_columnOrder[size_t(p)] = e;
    }
    // Entries of one point arrive together; the one whose vertical edge goes up comes first.
    for (int p = 0; p < n; ++p) {
        const int e = m_columnOrder[size_t(p)];
        if (m_swapInColumn[size_t(e)]) {
            std::swap(m_columnOrder[size_t(p)], m_columnOrder[size_t(p) + 1]);
            ++p;
        }
    }
    for (int p = 0; p < n; ++p)
        m_columnPlace[size_t(m_columnOrder[size_t(p)])] = p;
}

void ContourTracer::walk(QList<QPolygon>* out)
{
    const int n = int(m_x.size());
    m_visited.assign(size_t(n), 0);
    m_place.assign(size_t(n), 0);
    auto cut = [&](size_t from) {
        out->append(QPolygon(QList<QPoint>(m_points.begin() + qsizetype(from), m_points.end())));
        m_points.resize(from);
        m_pointEntry.resize(from);
    };
    for (int start = 0; start < n; ++start) {
        if (m_visited[size_t(start)])
            continue;
        m_points.clear();
        m_pointEntry.clear();
        int e = start;
        do {
            m_visited[size_t(e)] = 1;
            const int s = m_sibling[size_t(e)];
            if (s >= 0 && m_visited[size_t(s)]) {
                // Back at a diagonal point this contour passed before: the stretch since then
                // is a closed contour of its own.
                const size_t p = size_t(m_place[size_t(s)]);
                if (p < m_pointEntry.size() && m_pointEntry[p] == s)
                    cut(p);
            }
            m_place[size_t(e)] = int(m_points.size());
            m_points.emplace_back(m_x[size_t(e)], m_y[size_t(e)]);
            m_pointEntry.push_back(e);
            e = m_outHorizontal[size_t(e)] ? e ^ 1
                                           : m_columnOrder[size_t(m_columnPlace[size_t(e)] ^ 1)];
        } while (e != start);
        cut(0);
    }
}
