#include "dots/InkMask.h"

#include <algorithm>

InkMask::InkMask(int width, int height)
    : m_width(width)
    , m_height(height)
    , m_wordsPerRow(width / 64 + 1)
{
    Q_ASSERT(width >= 0 && height >= 0);
    m_words.assign(size_t(m_wordsPerRow) * size_t(height), 0);
}

InkMask InkMask::fromText(const QList<QString>& rows)
{
    qsizetype width = 0;
    for (const QString& r : rows)
        width = std::max(width, r.size());
    InkMask mask(int(width), int(rows.size()));
    for (int y = 0; y < mask.height(); ++y) {
        const QString& r = rows[y];
        for (int x = 0; x < r.size(); ++x)
            mask.setPixel(x, y, r[x] == u'#');
    }
    return mask;
}

QList<QString> InkMask::toText() const
{
    QList<QString> rows;
    rows.reserve(m_height);
    for (int y = 0; y < m_height; ++y) {
        QString r(m_width, u'.');
        for (int x = 0; x < m_width; ++x) {
            if (pixel(x, y))
                r[x] = u'#';
        }
        rows.append(r);
    }
    return rows;
}

void InkMask::setPixel(int x, int y, bool ink)
{
    Q_ASSERT(x >= 0 && x < m_width && y >= 0 && y < m_height);
    const quint64 bit = quint64(1) << (63 - (x & 63));
    quint64& word = row(y)[x >> 6];
    word = ink ? word | bit : word & ~bit;
}

void InkMask::clearPadding()
{
    // The last word of a row always holds the first bit past the width.
    const int last = m_width >> 6;
    const int used = m_width & 63;
    const quint64 keep = used == 0 ? 0 : ~quint64(0) << (64 - used);
    for (int y = 0; y < m_height; ++y) {
        quint64* r = row(y);
        r[last] &= keep;
        for (int w = last + 1; w < m_wordsPerRow; ++w)
            r[w] = 0;
    }
}
