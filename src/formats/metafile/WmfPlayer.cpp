#include "WmfPlayer.h"

#include "Dib.h"
#include "GdiPainter.h"
#include "GdiText.h"
#include "MetafileRecords.h"

#include <QRegion>

namespace glintbox {

using namespace gdi;

namespace {

constexpr qint64 MaxEmbeddedEmf = 64 * 1024 * 1024;

bool isDrawing(quint16 function)
{
    switch (function) {
    case META_LINETO:
    case META_ARC:
    case META_ELLIPSE:
    case META_PIE:
    case META_RECTANGLE:
    case META_ROUNDRECT:
    case META_PATBLT:
    case META_SETPIXEL:
    case META_TEXTOUT:
    case META_BITBLT:
    case META_STRETCHBLT:
    case META_POLYGON:
    case META_POLYLINE:
    case META_CHORD:
    case META_EXTTEXTOUT:
    case META_SETDIBTODEV:
    case META_POLYPOLYGON:
    case META_DIBBITBLT:
    case META_DIBSTRETCHBLT:
    case META_STRETCHDIB:
    case META_FILLREGION:
    case META_PAINTREGION:
        return true;
    default:
        return false;
    }
}

// Walks the records, calling visit(function, record) until it returns false.
template<typename Visit> void forEachRecord(ByteSpan bytes, const WmfHeader &header, Visit visit)
{
    qint64 offset = header.recordsAt;
    while (offset + 6 <= bytes.size()) {
        const qint64 size = qint64(bytes.u32(offset)) * 2;
        const quint16 function = bytes.u16(offset + 4);
        if (size < 6 || !bytes.contains(offset, size) || function == META_EOF)
            return;
        if (!visit(function, bytes.sub(offset, size)))
            return;
        offset += size;
    }
}

class WmfPlayer {
public:
    WmfPlayer(GdiPainter &gdi, quint16 objects)
        : m_gdi(gdi)
        , m_objects(objects ? objects : 256)
    {
    }
    void record(quint16 function, ByteSpan r);

private:
    // Parameter i: the 16-bit words after the record's size and function.
    qint16 p(ByteSpan r, qint64 i) const { return r.i16(6 + i * 2); }
    QPointF pointAt(ByteSpan r, qint64 i) const { return QPointF(p(r, i + 1), p(r, i)); }
    // A rectangle written bottom, right, top, left from parameter i.
    QRectF rectAt(ByteSpan r, qint64 i) const
    {
        return QRectF(QPointF(p(r, i + 3), p(r, i + 2)), QPointF(p(r, i + 1), p(r, i)));
    }
    QPolygonF points(ByteSpan r, qint64 at, qint64 count) const;
    void polyPolygon(ByteSpan r);
    void text(ByteSpan r, bool extended);
    void blit(quint16 function, ByteSpan r);
    void createPen(ByteSpan r);
    void createBrush(ByteSpan r);
    void createPatternBrush(ByteSpan r, bool dib);
    void createFont(ByteSpan r);
    void createPalette(ByteSpan r);
    void createRegion(ByteSpan r);
    const GdiObject *object(ByteSpan r, qint64 i) const { return m_objects.at(quint16(p(r, i))); }

    GdiPainter &m_gdi;
    GdiObjectTable m_objects;
};

QPolygonF WmfPlayer::points(ByteSpan r, qint64 at, qint64 count) const
{
    if (count <= 0 || !r.contains(at, count * 4))
        return {};
    QPolygonF result;
    result.reserve(count);
    for (qint64 i = 0; i < count; ++i)
        result.append(QPointF(r.i16(at + i * 4), r.i16(at + i * 4 + 2)));
    return result;
}

void WmfPlayer::polyPolygon(ByteSpan r)
{
    const qint64 polys = quint16(p(r, 0));
    if (!r.contains(8, polys * 2))
        return;
    QList<QPolygonF> polygons;
    qint64 at = 8 + polys * 2;
    for (qint64 i = 0; i < polys; ++i) {
        const qint64 count = quint16(r.u16(8 + i * 2));
        if (!r.contains(at, count * 4))
            return;
        polygons.append(points(r, at, count));
        at += count * 4;
    }
    m_gdi.polyPolygon(polygons);
}

void WmfPlayer::text(ByteSpan r, bool extended)
{
    GdiTextRun run;
    qint64 count;
    qint64 stringAt;
    qint64 dxAt = -1;
    if (extended) {
        run.reference = pointAt(r, 0);
        count = quint16(p(r, 2));
        run.options = quint16(p(r, 3));
        stringAt = 14;
        if (run.options & (ETO_OPAQUE | ETO_CLIPPED)) { // these carry a rectangle
            run.rect = QRectF(QPointF(r.i16(14), r.i16(16)), QPointF(r.i16(18), r.i16(20)));
            stringAt = 22;
        }
        dxAt = stringAt + ((count + 1) & ~qint64(1));
    } else {
        count = quint16(p(r, 0));
        stringAt = 8;
        const qint64 after = stringAt + ((count + 1) & ~qint64(1));
        run.reference = QPointF(r.i16(after + 2), r.i16(after));
    }
    if (!r.contains(stringAt, count))
        return;
    const GdiFont &font = m_gdi.state().font;
    run.text =
        decodeGdiText(QByteArrayView(reinterpret_cast<const char *>(r.data() + stringAt), count),
                      font.charset, font.face);
    if (dxAt > 0 && r.contains(dxAt, count * 2) && run.text.size() == count) {
        run.dx.reserve(count);
        for (qint64 i = 0; i < count; ++i)
            run.dx.append(r.i16(dxAt + i * 2));
    }
    m_gdi.text(run);
}

void WmfPlayer::blit(quint16 function, ByteSpan r)
{
    // A function number's high byte counts the parameter words of the form without a
    // bitmap; a longer record carries one.
    const qint64 words = r.size() / 2;
    const bool hasBitmap = words > (function >> 8) + 3;
    const quint32 rop = r.u32(6);
    QRectF dest;
    QRectF source;
    qint64 dibAt = 0;
    bool bottomUpSource = false;
    DibColourUsage usage = DibColourUsage::Rgb;
    switch (function) {
    case META_DIBBITBLT:
    case META_BITBLT: {
        const qint64 k = hasBitmap ? 0 : 1; // the form without a bitmap has a reserved word
        dest = QRectF(pointAt(r, 6 + k), QSizeF(p(r, 5 + k), p(r, 4 + k)));
        source = QRectF(pointAt(r, 2), dest.size());
        dibAt = 22;
        break;
    }
    case META_DIBSTRETCHBLT:
    case META_STRETCHBLT: {
        const qint64 k = hasBitmap ? 0 : 1;
        dest = QRectF(pointAt(r, 8 + k), QSizeF(p(r, 7 + k), p(r, 6 + k)));
        source = QRectF(pointAt(r, 4), QSizeF(p(r, 3), p(r, 2)));
        dibAt = 26;
        break;
    }
    case META_STRETCHDIB:
        usage = dibColourUsage(quint16(p(r, 2)));
        dest = QRectF(pointAt(r, 9), QSizeF(p(r, 8), p(r, 7)));
        source = QRectF(pointAt(r, 5), QSizeF(p(r, 4), p(r, 3)));
        dibAt = 28;
        bottomUpSource = true;
        break;
    case META_SETDIBTODEV:
        usage = dibColourUsage(quint16(p(r, 0)));
        dest = QRectF(pointAt(r, 7), QSizeF(p(r, 6), p(r, 5)));
        source = QRectF(pointAt(r, 3), dest.size());
        dibAt = 24;
        bottomUpSource = true;
        break;
    default:
        return;
    }
    const quint32 ropForSetDib = function == META_SETDIBTODEV ? quint32(SRCCOPY) : rop;
    if (!hasBitmap && function != META_SETDIBTODEV && function != META_STRETCHDIB) {
        m_gdi.patBlt(dest, rop);
        return;
    }
    QImage image;
    if (function == META_BITBLT || function == META_STRETCHBLT) {
        // A monochrome bitmap takes the text colour for its 0 bits, the background's for its 1s.
        const DcAttributes &dc = m_gdi.state();
        image = decodeBitmap16(r.from(dibAt), dc.textColour.rgb(), dc.backgroundColour.rgb(),
                               dc.palette);
    } else {
        const DecodedDib dib = decodePackedDib(r.from(dibAt), usage, m_gdi.state().palette);
        if (bottomUpSource && dib.bottomUp)
            source.moveTop(dib.image.height() - source.top() - source.height());
        image = dib.opaque();
    }
    if (image.isNull())
        return;
    // A copy that does not stretch, larger than its bitmap, means the whole bitmap in the
    // destination: producers write the destination's size for the source's.
    const bool stretches = function == META_STRETCHBLT || function == META_DIBSTRETCHBLT ||
                           function == META_STRETCHDIB;
    if (!stretches &&
        (std::abs(source.width()) > image.width() || std::abs(source.height()) > image.height()))
        source = QRectF(image.rect());
    m_gdi.drawImage(dest, image, source, ropForSetDib);
}

void WmfPlayer::createPen(ByteSpan r)
{
    GdiObject object;
    object.kind = GdiObject::Kind::Pen;
    object.pen.style = quint16(p(r, 0));
    object.pen.width = std::abs(p(r, 1));
    object.pen.colour = gdiColour(r.u32(12));
    m_objects.add(std::move(object));
}

void WmfPlayer::createBrush(ByteSpan r)
{
    GdiObject object;
    object.kind = GdiObject::Kind::Brush;
    object.brush = logBrush(quint16(p(r, 0)), gdiColour(r.u32(8)), quint16(p(r, 3)));
    m_objects.add(std::move(object));
}

void WmfPlayer::createPatternBrush(ByteSpan r, bool dib)
{
    GdiObject object;
    object.kind = GdiObject::Kind::Brush;
    object.brush.style = GdiBrush::Pattern;
    object.brush.colour = Qt::black;
    if (dib) {
        const DibColourUsage usage = dibColourUsage(quint16(p(r, 1)));
        object.brush.pattern = decodePackedDib(r.from(10), usage, m_gdi.state().palette).opaque();
    }
    if (object.brush.pattern.isNull())
        object.brush.style = GdiBrush::Solid;
    m_objects.add(std::move(object));
}

void WmfPlayer::createFont(ByteSpan r)
{
    GdiObject object;
    object.kind = GdiObject::Kind::Font;
    GdiFont &font = object.font;
    font.height = p(r, 0);
    font.width = std::abs(p(r, 1));
    font.escapement = p(r, 2);
    font.weight = p(r, 4);
    font.italic = r.u8(16);
    font.underline = r.u8(17);
    font.strikeOut = r.u8(18);
    font.charset = r.u8(19);
    QByteArray face;
    for (qint64 i = 24; i < 24 + 32 && i < r.size() && r.u8(i); ++i)
        face.append(char(r.u8(i)));
    // A symbol font's name is plain text.
    font.face = decodeGdiText(face, font.charset == SYMBOL_CHARSET ? ANSI_CHARSET : font.charset,
                              QString());
    m_objects.add(std::move(object));
}

void WmfPlayer::createPalette(ByteSpan r)
{
    GdiObject object;
    object.kind = GdiObject::Kind::Palette;
    const qint64 count = quint16(p(r, 1));
    for (qint64 i = 0; i < count && r.contains(10 + i * 4, 4); ++i)
        object.palette.append(qRgb(r.u8(10 + i * 4), r.u8(11 + i * 4), r.u8(12 + i * 4)));
    m_objects.add(std::move(object));
}

void WmfPlayer::createRegion(ByteSpan r)
{
    GdiObject object;
    object.kind = GdiObject::Kind::Region;
    const qint64 scans = quint16(r.u16(16));
    QList<QRect> rects;
    qint64 at = 28;
    for (qint64 s = 0; s < scans && r.contains(at, 6); ++s) {
        const qint64 count = r.u16(at);
        const int top = r.i16(at + 2);
        const int bottom = r.i16(at + 4);
        if (!r.contains(at + 6, count * 2 + 2))
            break;
        for (qint64 k = 0; k + 1 < count; k += 2) {
            const QRect rect(QPoint(r.i16(at + 6 + k * 2), top),
                             QPoint(r.i16(at + 8 + k * 2) - 1, bottom - 1));
            if (rect.isValid())
                rects.append(rect);
        }
        at += 6 + count * 2 + 2;
    }
    QRegion region;
    region.setRects(rects.constData(), int(rects.size()));
    object.region.addRegion(region);
    m_objects.add(std::move(object));
}

void WmfPlayer::record(quint16 function, ByteSpan r)
{
    DcAttributes &dc = m_gdi.attributes();
    const DcMapping &mapping = m_gdi.state().mapping;
    switch (function) {
    case META_SETBKCOLOR:
        dc.backgroundColour = gdiColour(r.u32(6));
        break;
    case META_SETBKMODE:
        dc.opaqueBackground = p(r, 0) == OPAQUE;
        break;
    case META_SETMAPMODE:
        m_gdi.setMapMode(MapMode(p(r, 0)));
        break;
    case META_SETROP2:
        dc.rop2 = BinaryRasterOperation(p(r, 0));
        break;
    case META_SETPOLYFILLMODE:
        dc.fillRule = p(r, 0) == WINDING ? Qt::WindingFill : Qt::OddEvenFill;
        break;
    case META_SETTEXTCHAREXTRA:
        dc.textCharExtra = p(r, 0);
        break;
    case META_SETTEXTCOLOR:
        dc.textColour = gdiColour(r.u32(6));
        break;
    case META_SETTEXTALIGN:
        dc.textAlign = quint16(p(r, 0));
        break;
    case META_SETWINDOWORG:
        m_gdi.setWindowOrg(pointAt(r, 0));
        break;
    case META_SETWINDOWEXT:
        m_gdi.setWindowExt(QSizeF(p(r, 1), p(r, 0)));
        break;
    case META_SETVIEWPORTORG:
        m_gdi.setViewportOrg(pointAt(r, 0));
        break;
    case META_SETVIEWPORTEXT:
        m_gdi.setViewportExt(QSizeF(p(r, 1), p(r, 0)));
        break;
    case META_OFFSETWINDOWORG:
        m_gdi.setWindowOrg(mapping.windowOrg + pointAt(r, 0));
        break;
    case META_OFFSETVIEWPORTORG:
        m_gdi.setViewportOrg(mapping.viewportOrg + pointAt(r, 0));
        break;
    case META_SCALEWINDOWEXT:
    case META_SCALEVIEWPORTEXT: {
        const double yDenom = p(r, 0), xDenom = p(r, 2);
        if (xDenom == 0 || yDenom == 0)
            break;
        const QSizeF ext =
            function == META_SCALEWINDOWEXT ? mapping.windowExt : mapping.viewportExt;
        const QSizeF scaled(ext.width() * p(r, 3) / xDenom, ext.height() * p(r, 1) / yDenom);
        if (function == META_SCALEWINDOWEXT)
            m_gdi.setWindowExt(scaled);
        else
            m_gdi.setViewportExt(scaled);
        break;
    }
    case META_LINETO:
        m_gdi.lineTo(pointAt(r, 0));
        break;
    case META_MOVETO:
        m_gdi.moveTo(pointAt(r, 0));
        break;
    case META_EXCLUDECLIPRECT:
        m_gdi.excludeClipRect(rectAt(r, 0));
        break;
    case META_INTERSECTCLIPRECT:
        m_gdi.intersectClipRect(rectAt(r, 0));
        break;
    case META_OFFSETCLIPRGN:
        m_gdi.offsetClip(pointAt(r, 0));
        break;
    case META_ARC:
        m_gdi.arc(GdiPainter::ArcKind::Arc, rectAt(r, 4), pointAt(r, 2), pointAt(r, 0));
        break;
    case META_PIE:
        m_gdi.arc(GdiPainter::ArcKind::Pie, rectAt(r, 4), pointAt(r, 2), pointAt(r, 0));
        break;
    case META_CHORD:
        m_gdi.arc(GdiPainter::ArcKind::Chord, rectAt(r, 4), pointAt(r, 2), pointAt(r, 0));
        break;
    case META_ELLIPSE:
        m_gdi.ellipse(rectAt(r, 0));
        break;
    case META_RECTANGLE:
        m_gdi.rectangle(rectAt(r, 0));
        break;
    case META_ROUNDRECT:
        m_gdi.roundRect(rectAt(r, 2), QSizeF(p(r, 1), p(r, 0)));
        break;
    case META_PATBLT:
        m_gdi.patBlt(QRectF(pointAt(r, 4), QSizeF(p(r, 3), p(r, 2))), r.u32(6));
        break;
    case META_SAVEDC:
        m_gdi.saveDc();
        break;
    case META_RESTOREDC:
        m_gdi.restoreDc(p(r, 0));
        break;
    case META_SETPIXEL:
        m_gdi.setPixel(pointAt(r, 2), gdiColour(r.u32(6)));
        break;
    case META_TEXTOUT:
        text(r, false);
        break;
    case META_EXTTEXTOUT:
        text(r, true);
        break;
    case META_POLYGON:
        m_gdi.polygon(points(r, 8, quint16(p(r, 0))));
        break;
    case META_POLYLINE:
        m_gdi.polyline(points(r, 8, quint16(p(r, 0))));
        break;
    case META_POLYPOLYGON:
        polyPolygon(r);
        break;
    case META_FILLREGION: {
        const GdiObject *region = object(r, 0);
        const GdiObject *brush = object(r, 1);
        if (region && brush && region->kind == GdiObject::Kind::Region &&
            brush->kind == GdiObject::Kind::Brush)
            m_gdi.fillRegion(region->region, brush->brush);
        break;
    }
    case META_FRAMEREGION: {
        const GdiObject *region = object(r, 0);
        const GdiObject *brush = object(r, 1);
        if (region && brush && region->kind == GdiObject::Kind::Region &&
            brush->kind == GdiObject::Kind::Brush)
            m_gdi.frameRegion(region->region, brush->brush, QSizeF(p(r, 3), p(r, 2)));
        break;
    }
    case META_PAINTREGION:
    case META_INVERTREGION: {
        const GdiObject *region = object(r, 0);
        if (region && region->kind == GdiObject::Kind::Region) {
            if (function == META_PAINTREGION)
                m_gdi.fillRegion(region->region, dc.brush);
            else
                m_gdi.invertRegion(region->region);
        }
        break;
    }
    case META_SELECTCLIPREGION: {
        const GdiObject *region = object(r, 0);
        if (region && region->kind == GdiObject::Kind::Region)
            m_gdi.select(*region);
        else
            m_gdi.resetClip();
        break;
    }
    case META_SELECTOBJECT:
    case META_SELECTPALETTE:
        if (const GdiObject *selected = object(r, 0))
            m_gdi.select(*selected);
        break;
    case META_DELETEOBJECT:
        m_objects.remove(quint16(p(r, 0)));
        break;
    case META_CREATEPENINDIRECT:
        createPen(r);
        break;
    case META_CREATEBRUSHINDIRECT:
        createBrush(r);
        break;
    case META_CREATEFONTINDIRECT:
        createFont(r);
        break;
    case META_CREATEPALETTE:
        createPalette(r);
        break;
    case META_CREATEREGION:
        createRegion(r);
        break;
    case META_DIBCREATEPATTERNBRUSH:
        createPatternBrush(r, true);
        break;
    case META_CREATEPATTERNBRUSH:
        createPatternBrush(r, false);
        break;
    case META_DIBBITBLT:
    case META_DIBSTRETCHBLT:
    case META_STRETCHDIB:
    case META_SETDIBTODEV:
    case META_BITBLT:
    case META_STRETCHBLT:
        blit(function, r);
        break;
    default:
        break;
    }
}

} // namespace

bool opensWmfHeader(ByteSpan bytes, qint64 at)
{
    const quint16 type = bytes.u16(at);
    const quint16 version = bytes.u16(at + 4);
    return (type == MEMORYMETAFILE || type == DISKMETAFILE) &&
           bytes.u16(at + 2) == WmfHeaderWords &&
           (version == METAVERSION100 || version == METAVERSION300);
}

std::optional<WmfHeader> readWmfHeader(ByteSpan bytes)
{
    WmfHeader header;
    if (bytes.u32(0) == PlaceableKey) {
        if (!bytes.contains(0, 22))
            return std::nullopt;
        header.placeable = true;
        header.bounds =
            QRect(QPoint(bytes.i16(6), bytes.i16(8)), QPoint(bytes.i16(10), bytes.i16(12)));
        header.unitsPerInch = bytes.u16(14) ? bytes.u16(14) : 1440;
        // GDI+ stores the placeable header padded to 24 bytes in the images of its drawings.
        header.recordsAt = !opensWmfHeader(bytes, 22) && opensWmfHeader(bytes, 24) ? 24 : 22;
    }
    const qint64 at = header.recordsAt;
    if (!bytes.contains(at, WmfHeaderWords * 2) || !opensWmfHeader(bytes, at))
        return std::nullopt;
    header.objects = bytes.u16(at + 10);
    header.recordsAt = at + WmfHeaderWords * 2;
    // The header's own sizes are never trusted; but a first record that does not lie whole
    // in the file leaves nothing to draw, and is refused rather than shown as a blank picture.
    const qint64 firstRecordBytes = qint64(bytes.u32(header.recordsAt)) * 2;
    if (firstRecordBytes < 6 || !bytes.contains(header.recordsAt, firstRecordBytes))
        return std::nullopt;
    return header;
}

WmfSurvey surveyWmf(ByteSpan bytes, const WmfHeader &header)
{
    WmfSurvey survey;
    QPointF origin;
    std::optional<QSizeF> extent;
    bool drawn = false;
    QByteArray emf;
    qint64 emfSize = -1;
    forEachRecord(bytes, header, [&](quint16 function, ByteSpan r) {
        if (!drawn && function == META_SETWINDOWORG)
            origin = QPointF(r.i16(8), r.i16(6));
        else if (!drawn && function == META_SETWINDOWEXT)
            extent = QSizeF(r.i16(8), r.i16(6));
        drawn = drawn || isDrawing(function);
        if (function == META_ESCAPE && r.u16(6) == MFCOMMENT &&
            r.u32(10) == EmbeddedEmfIdentifier && r.u32(14) == EmbeddedEmfCommentType) {
            const qint64 total = r.u32(40);
            const qint64 chunk = r.u32(32);
            if (total <= 0 || total > MaxEmbeddedEmf || (emfSize >= 0 && total != emfSize))
                return true;
            emfSize = total;
            if (r.contains(44, chunk) && emf.size() + chunk <= total)
                emf.append(reinterpret_cast<const char *>(r.data() + 44), chunk);
        }
        return true;
    });
    if (extent && extent->width() != 0 && extent->height() != 0)
        survey.window = QRectF(origin, *extent);
    if (emfSize > 0 && emf.size() == emfSize)
        survey.embeddedEmf = emf;
    return survey;
}

void playWmf(ByteSpan bytes, const WmfHeader &header, GdiPainter &gdi)
{
    WmfPlayer player(gdi, header.objects);
    forEachRecord(bytes, header, [&](quint16 function, ByteSpan r) {
        if (gdi.budget().spend())
            return false;
        player.record(function, r);
        return true;
    });
}

} // namespace glintbox
