#pragma once

#include <QtEndian>
#include <QtGlobal>
#include <cstring>
#include <span>

// Writes big-endian values into a fixed region of memory, never past its end: a write that
// does not fit sets failed() and writes nothing.  The region's size is computed before the
// writer is made, so a failure always means that computation and the writing disagree.
// Inline: the glyph writer puts millions of single bytes.
class BigEndianWriter
{
public:
    explicit BigEndianWriter(std::span<uchar> region)
        : m_region(region)
    {}

    void putUInt8(quint8 v)
    {
        if (uchar* p = reserve(1))
            *p = v;
    }
    void putUInt16BE(quint16 v)
    {
        if (uchar* p = reserve(2))
            qToBigEndian(v, p);
    }
    void putInt16BE(qint16 v) { putUInt16BE(quint16(v)); }
    void putUInt32BE(quint32 v)
    {
        if (uchar* p = reserve(4))
            qToBigEndian(v, p);
    }
    void putInt32BE(qint32 v) { putUInt32BE(quint32(v)); }
    void putInt64BE(qint64 v)
    {
        if (uchar* p = reserve(8))
            qToBigEndian(v, p);
    }
    void putBytes(std::span<const uchar> bytes)
    {
        if (uchar* p = reserve(qsizetype(bytes.size())); p && !bytes.empty())
            std::memcpy(p, bytes.data(), bytes.size());
    }
    void putZeros(qsizetype count)
    {
        if (uchar* p = reserve(count); p && count > 0)
            std::memset(p, 0, size_t(count));
    }

    qsizetype position() const { return m_pos; }
    qsizetype remaining() const { return qsizetype(m_region.size()) - m_pos; }
    bool failed() const { return m_failed; }
    // True when every write fitted and the region is filled exactly.
    bool finishedExactly() const { return !m_failed && remaining() == 0; }

private:
    uchar* reserve(qsizetype count)
    {
        if (m_failed || count < 0 || count > remaining()) {
            m_failed = true;
            return nullptr;
        }
        uchar* p = m_region.data() + m_pos;
        m_pos += count;
        return p;
    }

    std::span<uchar> m_region;
    qsizetype m_pos = 0;
    bool m_failed = false;
};
