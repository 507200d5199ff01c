#pragma once

#include <QtGlobal>
#include <span>

// Reads big-endian values at offsets inside a block of bytes.  A read that does not lie wholly
// inside the block answers 0 and sets failed(), so a parser can read a group of fields and
// check once; contains() asks first where a size is about to drive an allocation or a loop.
class BigEndianReader
{
public:
    BigEndianReader() = default;
    explicit BigEndianReader(std::span<const uchar> bytes)
        : m_bytes(bytes)
    {}

    qsizetype size() const { return qsizetype(m_bytes.size()); }
    bool contains(qint64 offset, qint64 length) const
    {
        return offset >= 0 && length >= 0 && offset <= size() && length <= size() - offset;
    }

    quint8 uint8At(qint64 offset) const;
    quint16 uint16BEAt(qint64 offset) const;
    qint16 int16BEAt(qint64 offset) const { return qint16(uint16BEAt(offset)); }
    quint32 uint32BEAt(qint64 offset) const;

    // The bytes from offset to offset + length as a reader of their own (offsets start at 0);
    // an empty reader, and failed() set here, when they are not all inside this block.
    BigEndianReader sub(qint64 offset, qint64 length) const;
    std::span<const uchar> bytes() const { return m_bytes; }

    bool failed() const { return m_failed; }

private:
    const uchar* at(qint64 offset, qint64 length) const;

    std::span<const uchar> m_bytes;
    mutable bool m_failed = false;
};
