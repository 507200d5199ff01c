#include "fontd/BigEndianWriter.h"

#include <QtEndian>
#include <cstring>

uchar* BigEndianWriter::reserve(qsizetype count)
{
    if (m_failed || count < 0 || count > remaining()) {
        m_failed = true;
        return nullptr;
    }
    uchar* p = m_region.data() + m_pos;
    m_pos += count;
    return p;
}

void BigEndianWriter::putUInt8(quint8 v)
{
    if (uchar* p = reserve(1))
        *p = v;
}

void BigEndianWriter::putUInt16BE(quint16 v)
{
    if (uchar* p = reserve(2))
        qToBigEndian(v, p);
}

void BigEndianWriter::putUInt32BE(quint32 v)
{
    if (uchar* p = reserve(4))
        qToBigEndian(v, p);
}

void BigEndianWriter::putInt64BE(qint64 v)
{
    if (uchar* p = reserve(8))
        qToBigEndian(v, p);
}

void BigEndianWriter::putBytes(std::span<const uchar> bytes)
{
    if (uchar* p = reserve(qsizetype(bytes.size())); p && !bytes.empty())
        std::memcpy(p, bytes.data(), bytes.size());
}

void BigEndianWriter::putZeros(qsizetype count)
{
    if (uchar* p = reserve(count); p && count > 0)
        std::memset(p, 0, size_t(count));
}
