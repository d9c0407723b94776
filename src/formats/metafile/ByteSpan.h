#pragma once

#include <QtGlobal>
#include <cstring>

namespace glintbox {

// A bounded little-endian view of metafile bytes. Every read is checked: a
// read outside the span yields zero, so a lying count can never reach past
// the record it came from.
class ByteSpan {
public:
    ByteSpan() = default;
    ByteSpan(const uchar *data, qsizetype size)
        : m_data(data)
        , m_size(data ? size : 0)
    {
    }

    qsizetype size() const { return m_size; }
    const uchar *data() const { return m_data; }
    bool isEmpty() const { return m_size == 0; }

    // True when [offset, offset + length) lies inside the span; safe against overflow.
    bool contains(qint64 offset, qint64 length) const
    {
        return offset >= 0 && length >= 0 && offset <= m_size && length <= m_size - offset;
    }

    // The part [offset, offset + length), or an empty span when it does not fit.
    ByteSpan sub(qint64 offset, qint64 length) const
    {
        return contains(offset, length) ? ByteSpan(m_data + offset, length) : ByteSpan();
    }
    ByteSpan from(qint64 offset) const
    {
        return offset >= 0 && offset <= m_size ? ByteSpan(m_data + offset, m_size - offset)
                                               : ByteSpan();
    }

    quint8 u8(qint64 offset) const { return contains(offset, 1) ? m_data[offset] : 0; }
    quint16 u16(qint64 offset) const
    {
        return contains(offset, 2) ? quint16(m_data[offset] | m_data[offset + 1] << 8) : 0;
    }
    qint16 i16(qint64 offset) const { return qint16(u16(offset)); }
    quint32 u32(qint64 offset) const
    {
        if (!contains(offset, 4))
            return 0;
        return quint32(m_data[offset]) | quint32(m_data[offset + 1]) << 8 |
               quint32(m_data[offset + 2]) << 16 | quint32(m_data[offset + 3]) << 24;
    }
    qint32 i32(qint64 offset) const { return qint32(u32(offset)); }
    float f32(qint64 offset) const
    {
        const quint32 bits = u32(offset);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

private:
    const uchar *m_data = nullptr;
    qsizetype m_size = 0;
};

} // namespace glintbox
