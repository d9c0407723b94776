// Bitmap records: blits of every kind and gradient fills.
#include "EmfPlayer.h"

#include "GdiPainter.h"
#include "MetafileRecords.h"

namespace glintbox {

using namespace gdi;

DecodedDib EmfPlayer::dib(ByteSpan r, qint64 bmiAt, qint64 bitsAt, quint32 usage) const
{
    const ByteSpan header = r.sub(r.u32(bmiAt), r.u32(bmiAt + 4));
    const ByteSpan bits = r.sub(r.u32(bitsAt), r.u32(bitsAt + 4));
    if (header.isEmpty())
        return {};
    return decodeDib(header, bits, dibColourUsage(usage), m_gdi.state().palette);
}

void EmfPlayer::blit(quint32 type, ByteSpan r)
{
    const QPointF dest = pointAt(r, 24);
    if (type == EMR_STRETCHDIBITS || type == EMR_SETDIBITSTODEVICE) {
        const quint32 usage = r.u32(64);
        QRectF source(r.i32(32), r.i32(36), r.i32(40), r.i32(44));
        QSizeF destSize = type == EMR_STRETCHDIBITS ? QSizeF(r.i32(72), r.i32(76)) : source.size();
        const quint32 rop = type == EMR_STRETCHDIBITS ? r.u32(68) : quint32(SRCCOPY);
        ByteSpan header = r.sub(r.u32(48), r.u32(52));
        QByteArray patched;
        if (type == EMR_SETDIBITSTODEVICE && header.u32(0) >= 40) {
            // The bits hold only the scan lines [start, start + count) of the bitmap.
            const qint32 height = header.i32(8);
            const qint64 lines = std::min<qint64>(r.u32(72), std::abs(qint64(height)));
            patched = QByteArray(reinterpret_cast<const char *>(header.data()), header.size());
            const qint32 newHeight = qint32(height < 0 ? -lines : lines);
            std::memcpy(patched.data() + 8, &newHeight, 4);
            header = ByteSpan(reinterpret_cast<const uchar *>(patched.constData()), patched.size());
            source.translate(0, -double(r.u32(68)));
        }
        if (header.isEmpty()) {
            m_gdi.patBlt(QRectF(dest, destSize), rop);
            return;
        }
        const DecodedDib image = decodeDib(header, r.sub(r.u32(56), r.u32(60)),
                                           dibColourUsage(usage), m_gdi.state().palette);
        if (image.image.isNull())
            return;
        if (image.bottomUp) // rows of a bottom-up bitmap count from its bottom
            source.moveTop(image.image.height() - source.top() - source.height());
        m_gdi.drawImage(QRectF(dest, destSize), image.opaque(), source, rop);
        return;
    }
    const QSizeF destSize(r.i32(32), r.i32(36));
    const quint32 rop = r.u32(40);
    const QPointF sourceAt(r.i32(44), r.i32(48));
    const bool stretched = type != EMR_BITBLT && type != EMR_MASKBLT;
    const QSizeF sourceSize = stretched ? QSizeF(r.i32(100), r.i32(104)) : destSize;
    if (r.u32(88) == 0 || r.u32(96) == 0) { // no source bitmap: a pattern operation
        if (type == EMR_BITBLT || type == EMR_STRETCHBLT)
            m_gdi.patBlt(QRectF(dest, destSize), rop);
        return;
    }
    const DecodedDib image = dib(r, 84, 92, r.u32(80));
    if (image.image.isNull())
        return;
    const QRectF source(sourceAt, sourceSize);
    if (type == EMR_ALPHABLEND) {
        // The operation field holds a blend function: constant alpha, then alpha format.
        m_gdi.alphaBlend(QRectF(dest, destSize), image.image, source, int(rop >> 16 & 0xFF),
                         (rop >> 24 & AC_SRC_ALPHA) && image.mayHaveAlpha);
    } else if (type == EMR_TRANSPARENTBLT) {
        QImage keyed = image.opaque().convertToFormat(QImage::Format_ARGB32);
        const QRgb key = gdiColour(rop).rgb() & 0xFFFFFF;
        for (int y = 0; y < keyed.height(); ++y) {
            QRgb *line = reinterpret_cast<QRgb *>(keyed.scanLine(y));
            for (int x = 0; x < keyed.width(); ++x)
                if ((line[x] & 0xFFFFFF) == key)
                    line[x] = 0;
        }
        m_gdi.drawImage(QRectF(dest, destSize), keyed, source, SRCCOPY);
    } else if (type == EMR_MASKBLT) {
        // The low three bytes are the foreground operation; the top byte is the background's index.
        m_gdi.drawImage(QRectF(dest, destSize), masked(r, image.opaque(), sourceAt), source,
                        rop & 0x00FFFFFF);
    } else {
        m_gdi.drawImage(QRectF(dest, destSize), image.opaque(), source, rop);
    }
}

QImage EmfPlayer::masked(ByteSpan r, const QImage &image, QPointF sourceAt) const
{
    // Where the mask is 0 the background operation applies; producers use it to keep the
    // destination, so those pixels become transparent.
    const quint32 background = r.u32(40) >> 24;
    const DecodedDib mask = dib(r, 112, 120, r.u32(108));
    if (mask.image.isNull() || background != ropIndex(gdi::D))
        return image;
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    const QPoint offset = QPoint(r.i32(100), r.i32(104)) - sourceAt.toPoint();
    const QImage bits = mask.image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < result.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            const QPoint at(x + offset.x(), y + offset.y());
            if (!bits.valid(at) || qGray(bits.pixel(at)) < 128)
                line[x] = 0;
        }
    }
    return result;
}

void EmfPlayer::gradient(ByteSpan r)
{
    const qint64 vertices = r.u32(24);
    const qint64 shapes = r.u32(28);
    const quint32 mode = r.u32(32);
    if (vertices > MaxPoints || shapes > MaxPoints || !r.contains(36, vertices * 16))
        return;
    auto vertex = [&](qint64 index, QColor &colour) {
        const qint64 at = 36 + index * 16;
        colour = QColor(r.u16(at + 8) >> 8, r.u16(at + 10) >> 8, r.u16(at + 12) >> 8);
        return QPointF(r.i32(at), r.i32(at + 4));
    };
    const qint64 shapesAt = 36 + vertices * 16;
    const bool triangles = mode == GRADIENT_FILL_TRIANGLE;
    const qint64 shapeSize = triangles ? 12 : 8;
    if (!r.contains(shapesAt, shapes * shapeSize))
        return;
    for (qint64 i = 0; i < shapes; ++i) {
        const qint64 at = shapesAt + i * shapeSize;
        const quint32 a = r.u32(at), b = r.u32(at + 4);
        const quint32 c = triangles ? r.u32(at + 8) : 0;
        if (a >= vertices || b >= vertices || c >= vertices)
            continue;
        QColor ca, cb, cc;
        const QPointF pa = vertex(a, ca), pb = vertex(b, cb);
        if (triangles) {
            const QPointF pc = vertex(c, cc);
            m_gdi.gradientTriangle(QPolygonF{pa, pb, pc}, {ca, cb, cc});
        } else {
            m_gdi.gradientRect(pa, pb, ca, cb, mode == GRADIENT_FILL_RECT_V);
        }
    }
}

} // namespace glintbox
