#include "fontd/BigEndianReader.h"

#include <QtEndian>

const uchar* BigEndianReader::at(qint64 offset, qint64 length) const
{
    if (!contains(offset, length)) {
        m_failed = true;
        return nullptr;
    }
    return m_bytes.data() + offset;
}

quint8 BigEndianReader::uint8At(qint64 offset) const
{
    const uchar* p = at(offset, 1);
    return p ? *p : 0;
}

quint16 BigEndianReader::uint16BEAt(qint64 offset) const
{
    const uchar* p = at(offset, 2);
    return p ? qFromBigEndian<quint16>(p) : 0;
}

quint32 BigEndianReader::uint32BEAt(qint64 offset) const
{
    const uchar* p = at(offset, 4);
    return p ? qFromBigEndian<quint32>(p) : 0;
}

BigEndianReader BigEndianReader::sub(qint64 offset, qint64 length) const
{
    if (!contains(offset, length)) {
        m_failed = true;
        return {};
    }
    return BigEndianReader(m_bytes.subspan(size_t(offset), size_t(length)));
}
