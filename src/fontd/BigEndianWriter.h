#pragma once

#include <QtGlobal>
#include <span>

// Writes big-endian values into a fixed region of memory, never past its end: a write that
// does not fit sets failed() and writes nothing.  The region's size is computed before the
// writer is made, so a failure always means that computation and the writing disagree.
class BigEndianWriter
{
public:
    explicit BigEndianWriter(std::span<uchar> region)
        : m_region(region)
    {}

    void putUInt8(quint8 v);
    void putUInt16BE(quint16 v);
    void putInt16BE(qint16 v) { putUInt16BE(quint16(v)); }
    void putUInt32BE(quint32 v);
    void putInt32BE(qint32 v) { putUInt32BE(quint32(v)); }
    void putInt64BE(qint64 v);
    void putBytes(std::span<const uchar> bytes);
    void putZeros(qsizetype count);

    qsizetype position() const { return m_pos; }
    qsizetype remaining() const { return qsizetype(m_region.size()) - m_pos; }
    bool failed() const { return m_failed; }
    // True when every write fitted and the region is filled exactly.
    bool finishedExactly() const { return !m_failed && remaining() == 0; }

private:
    uchar* reserve(qsizetype count);

    std::span<uchar> m_region;
    qsizetype m_pos = 0;
    bool m_failed = false;
};
