#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>
#include <vector>

// A one-bit image: which pixels are ink.  Rows are top-down; each row is a run of 64-bit words
// with pixel x in bit 63 - x % 64 of word x / 64 (the leftmost pixel in the most significant
// bit, as in a one-bit BMP), so rows can be scanned a word at a time.  Every row holds at least
// one spare bit after its last pixel, and bits past the width are always clear.
class InkMask
{
public:
    InkMask() = default;
    // An all-clear mask; width and height must not be negative.
    InkMask(int width, int height);

    // Builds a mask from rows of text, '#' for ink and anything else for no ink; the width is
    // the longest row.  Meant for tests and tools.
    static InkMask fromText(const QList<QString>& rows);
    QList<QString> toText() const;

    int width() const { return m_width; }
    int height() const { return m_height; }
    int wordsPerRow() const { return m_wordsPerRow; }
    bool isNull() const { return m_width == 0 || m_height == 0; }

    quint64* row(int y) { return m_words.data() + qsizetype(y) * m_wordsPerRow; }
    const quint64* row(int y) const { return m_words.data() + qsizetype(y) * m_wordsPerRow; }

    bool pixel(int x, int y) const { return (row(y)[x >> 6] >> (63 - (x & 63))) & 1; }
    void setPixel(int x, int y, bool ink);

    // Clears the bits past the width in every row (after whole words were written).
    void clearPadding();

    friend bool operator==(const InkMask&, const InkMask&) = default;

private:
    int m_width = 0;
    int m_height = 0;
    int m_wordsPerRow = 0;
    std::vector<quint64> m_words;
};
