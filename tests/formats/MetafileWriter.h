#pragma once

#include "formats/metafile/EmfPlusRecords.h"
#include "formats/metafile/MetafileRecords.h"

#include <QByteArray>
#include <QRect>
#include <QString>

namespace glintbox::test {

// Little-endian parameter bytes for hand-built metafile records.
class Le {
public:
    Le &u8(quint8 v) { return raw(&v, 1); }
    Le &i16(qint16 v) { return raw(&v, 2); }
    Le &u16(quint16 v) { return raw(&v, 2); }
    Le &i32(qint32 v) { return raw(&v, 4); }
    Le &u32(quint32 v) { return raw(&v, 4); }
    Le &f32(float v) { return raw(&v, 4); }
    // Several values of one width, so a record's fields fit on one line.
    template<typename... T> Le &u8s(T... v) { return (u8(quint8(v)), ..., *this); }
    template<typename... T> Le &u16s(T... v) { return (u16(quint16(v)), ..., *this); }
    template<typename... T> Le &i16s(T... v) { return (i16(qint16(v)), ..., *this); }
    template<typename... T> Le &i32s(T... v) { return (i32(qint32(v)), ..., *this); }
    template<typename... T> Le &u32s(T... v) { return (u32(quint32(v)), ..., *this); }
    template<typename... T> Le &f32s(T... v) { return (f32(float(v)), ..., *this); }
    Le &bytes(const QByteArray &b) { return raw(b.constData(), int(b.size())); }
    Le &rect(QRect r) { return i32(r.left()).i32(r.top()).i32(r.right() + 1).i32(r.bottom() + 1); }
    Le &rectF(QRectF r) { return f32s(r.x(), r.y(), r.width(), r.height()); }
    Le &utf16(const QString &s) { return raw(s.utf16(), int(s.size() * 2)); }
    Le &pad(int alignment)
    {
        while (m_bytes.size() % alignment)
            m_bytes.append('\0');
        return *this;
    }
    const QByteArray &data() const { return m_bytes; }

private:
    Le &raw(const void *p, int n)
    {
        m_bytes.append(static_cast<const char *>(p), n); // the test machine is little-endian
        return *this;
    }
    QByteArray m_bytes;
};

// A colour as COLORREF.
constexpr quint32 rgb(int r, int g, int b)
{
    return quint32(r) | quint32(g) << 8 | quint32(b) << 16;
}

// Adds several records to a writer, given as type, parameters, type, parameters...
template<typename Writer> class RecordList {
public:
    template<typename... Rest> Writer &records(quint32 type, const Le &params, const Rest &...rest)
    {
        auto &writer = static_cast<Writer &>(*this);
        writer.record(type, params);
        if constexpr (sizeof...(rest) > 0)
            records(rest...);
        return writer;
    }
};

// Builds an enhanced metafile whose reference device has 4 pixels a millimetre,
// framed on device pixels (0, 0) to size.
class EmfWriter : public RecordList<EmfWriter> {
public:
    explicit EmfWriter(QSize size = {100, 100})
        : m_size(size)
    {
    }

    EmfWriter &record(quint32 type, const Le &params = {})
    {
        const QByteArray body = Le(params).pad(4).data();
        return rawRecord(type, quint32(8 + body.size()), body);
    }
    // A record whose size field says `size` whatever its content.
    EmfWriter &rawRecord(quint32 type, quint32 size, const QByteArray &body)
    {
        m_records += Le().u32(type).u32(size).bytes(body).data();
        ++m_count;
        return *this;
    }
    QByteArray finish(bool withEof = true) const
    {
        QByteArray records = m_records;
        if (withEof)
            records += Le().u32(gdi::EMR_EOF).u32(20).u32(0).u32(16).u32(20).data();
        Le header;
        const int w = m_size.width(), h = m_size.height();
        header.u32s(gdi::EMR_HEADER, 108).i32s(0, 0, w - 1, h - 1);
        header.i32s(0, 0, w * 25, h * 25); // 0.01 mm at 4 px/mm
        header.u32s(gdi::ENHMETA_SIGNATURE, 0x10000, 108 + records.size(), m_count + 1 + withEof);
        header.u16s(64, 0).u32s(0, 0, 0).i32s(1000, 1000, 250, 250, 0, 0, 0, 250000, 250000);
        return header.data() + records;
    }

private:
    QSize m_size;
    QByteArray m_records;
    int m_count = 0;
};

// EMF+ records for the data of an EMR_COMMENT; the first is a header (a dual picture, 96 dpi)
// unless told otherwise.
class EmfPlusWriter {
public:
    explicit EmfPlusWriter(bool withHeader = true)
    {
        if (withHeader)
            add(emfplus::EmfPlusHeader, 1, Le().u32(0xDBC01002).u32(0).u32(96).u32(96));
    }
    // Records given as type, flags, data, type, flags, data...
    template<typename... Rest>
    EmfPlusWriter &add(quint16 type, quint16 flags, const Le &data, const Rest &...rest)
    {
        const QByteArray body = Le(data).pad(4).data();
        m_records.u16s(type, flags).u32s(12 + body.size(), body.size()).bytes(body);
        if constexpr (sizeof...(rest) > 0)
            add(rest...);
        return *this;
    }
    // The parameters of the EMR_COMMENT that carries the records.
    Le comment() const
    {
        return Le()
            .u32(quint32(4 + m_records.data().size()))
            .u32(emfplus::EmfPlusCommentIdentifier)
            .bytes(m_records.data());
    }

private:
    Le m_records;
};

// Builds a Windows metafile, with a placeable header when bounds are given.
class WmfWriter : public RecordList<WmfWriter> {
public:
    WmfWriter() = default;
    WmfWriter(QRect bounds, int unitsPerInch)
        : m_placeable(true)
        , m_bounds(bounds)
        , m_inch(unitsPerInch)
    {
    }

    WmfWriter &record(quint16 function, const Le &params = {})
    {
        const QByteArray body = Le(params).pad(2).data();
        return rawRecord(quint32(3 + body.size() / 2), function, body);
    }
    WmfWriter &rawRecord(quint32 sizeWords, quint16 function, const QByteArray &body)
    {
        m_records += Le().u32(sizeWords).u16(function).bytes(body).data();
        return *this;
    }
    QByteArray finish() const
    {
        const QByteArray records = m_records + Le().u32(3).u16(gdi::META_EOF).data();
        Le out;
        if (m_placeable) {
            out.u32(gdi::PlaceableKey).u16(0);
            out.i16s(m_bounds.left(), m_bounds.top(), m_bounds.right() + 1, m_bounds.bottom() + 1);
            out.u16(quint16(m_inch)).u32(0).u16(0);
        }
        out.u16s(gdi::MEMORYMETAFILE, gdi::WmfHeaderWords, gdi::METAVERSION300);
        out.u32(quint32((18 + records.size()) / 2)).u16(16).u32(0).u16(0);
        return out.data() + records;
    }

private:
    bool m_placeable = false;
    QRect m_bounds;
    int m_inch = 1440;
    QByteArray m_records;
};

// A packed 24-bit bottom-up DIB of two by two pixels: red, green over blue, yellow.
inline QByteArray quadrants()
{
    Le dib;
    dib.u32(40).i32s(2, 2).u16s(1, 24).u32s(0, 0, 0, 0, 0, 0);
    dib.u8s(255, 0, 0, 0, 255, 255, 0, 0);             // blue, yellow as B, G, R; padding
    return dib.u8s(0, 0, 255, 0, 255, 0, 0, 0).data(); // red, green
}

} // namespace glintbox::test
