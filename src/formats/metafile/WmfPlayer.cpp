#include "WmfPlayer.h"

#include "Dib.h"
#include "GdiPainter.h"
#include "GdiText.h"

#include <QRegion>

namespace glintbox {

namespace {

constexpr quint32 PlaceableKey = 0x9AC6CDD7;
constexpr quint32 EmbeddedEmfIdentifier = 0x43464D57; // "WMFC"
constexpr qint64 MaxEmbeddedEmf = 64 * 1024 * 1024;

enum WmfFunction : quint16 {
    Eof = 0x0000,
    SetBkColor = 0x0201,
    SetBkMode = 0x0102,
    SetMapMode = 0x0103,
    SetRop2 = 0x0104,
    SetPolyFillMode = 0x0106,
    SetTextCharExtra = 0x0108,
    SetTextColor = 0x0209,
    SetWindowOrg = 0x020B,
    SetWindowExt = 0x020C,
    SetViewportOrg = 0x020D,
    SetViewportExt = 0x020E,
    OffsetWindowOrg = 0x020F,
    ScaleWindowExt = 0x0410,
    OffsetViewportOrg = 0x0211,
    ScaleViewportExt = 0x0412,
    LineTo = 0x0213,
    MoveTo = 0x0214,
    ExcludeClipRect = 0x0415,
    IntersectClipRect = 0x0416,
    Arc = 0x0817,
    Ellipse = 0x0418,
    Pie = 0x081A,
    Rectangle = 0x041B,
    RoundRect = 0x061C,
    PatBlt = 0x061D,
    SaveDc = 0x001E,
    SetPixel = 0x041F,
    OffsetClipRgn = 0x0220,
    TextOut = 0x0521,
    BitBlt = 0x0922,
    StretchBlt = 0x0B23,
    Polygon = 0x0324,
    Polyline = 0x0325,
    Escape = 0x0626,
    RestoreDc = 0x0127,
    FillRegion = 0x0228,
    FrameRegion = 0x0429,
    InvertRegion = 0x012A,
    PaintRegion = 0x012B,
    SelectClipRegion = 0x012C,
    SelectObject = 0x012D,
    SetTextAlign = 0x012E,
    Chord = 0x0830,
    ExtTextOut = 0x0A32,
    SetDibToDev = 0x0D33,
    SelectPalette = 0x0234,
    PolyPolygon = 0x0538,
    DibBitBlt = 0x0940,
    DibStretchBlt = 0x0B41,
    DibCreatePatternBrush = 0x0142,
    StretchDib = 0x0F43,
    DeleteObject = 0x01F0,
    CreatePalette = 0x00F7,
    CreatePatternBrush = 0x01F9,
    CreatePenIndirect = 0x02FA,
    CreateFontIndirect = 0x02FB,
    CreateBrushIndirect = 0x02FC,
    CreateRegion = 0x06FF,
};

bool isDrawing(quint16 function)
{
    switch (function) {
    case LineTo:
    case Arc:
    case Ellipse:
    case Pie:
    case Rectangle:
    case RoundRect:
    case PatBlt:
    case SetPixel:
    case TextOut:
    case BitBlt:
    case StretchBlt:
    case Polygon:
    case Polyline:
    case Chord:
    case ExtTextOut:
    case SetDibToDev:
    case PolyPolygon:
    case DibBitBlt:
    case DibStretchBlt:
    case StretchDib:
    case FillRegion:
    case PaintRegion:
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
        if (size < 6 || !bytes.contains(offset, size) || function == Eof)
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
        if (run.options & 0x0006) { // ETO_OPAQUE | ETO_CLIPPED carry a rectangle
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
    if (count == 0 || !r.contains(stringAt, count))
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
    const qint64 words = r.size() / 2;
    const bool hasBitmap = words > (function >> 8) + 3;
    const quint32 rop = r.u32(6);
    QRectF dest;
    QRectF source;
    qint64 dibAt = 0;
    bool bottomUpSource = false;
    DibColourUsage usage = DibColourUsage::Rgb;
    switch (function) {
    case DibBitBlt:
    case BitBlt: {
        const qint64 k = hasBitmap ? 0 : 1; // the form without a bitmap has a reserved word
        dest = QRectF(pointAt(r, 6 + k), QSizeF(p(r, 5 + k), p(r, 4 + k)));
        source = QRectF(pointAt(r, 2), dest.size());
        dibAt = 22;
        break;
    }
    case DibStretchBlt:
    case StretchBlt: {
        const qint64 k = hasBitmap ? 0 : 1;
        dest = QRectF(pointAt(r, 8 + k), QSizeF(p(r, 7 + k), p(r, 6 + k)));
        source = QRectF(pointAt(r, 4), QSizeF(p(r, 3), p(r, 2)));
        dibAt = 26;
        break;
    }
    case StretchDib:
        usage = p(r, 2) == 1 ? DibColourUsage::PaletteIndexes : DibColourUsage::Rgb;
        dest = QRectF(pointAt(r, 9), QSizeF(p(r, 8), p(r, 7)));
        source = QRectF(pointAt(r, 5), QSizeF(p(r, 4), p(r, 3)));
        dibAt = 28;
        bottomUpSource = true;
        break;
    case SetDibToDev:
        usage = p(r, 0) == 1 ? DibColourUsage::PaletteIndexes : DibColourUsage::Rgb;
        dest = QRectF(pointAt(r, 7), QSizeF(p(r, 6), p(r, 5)));
        source = QRectF(pointAt(r, 3), dest.size());
        dibAt = 24;
        bottomUpSource = true;
        break;
    default:
        return;
    }
    const quint32 ropForSetDib = function == SetDibToDev ? 0x00CC0020 : rop;
    if (!hasBitmap && function != SetDibToDev && function != StretchDib) {
        m_gdi.patBlt(dest, rop);
        return;
    }
    if (function == BitBlt || function == StretchBlt)
        return; // device-dependent bitmaps of 16-bit Windows: not drawn
    const DecodedDib image = decodePackedDib(r.from(dibAt), usage, m_gdi.state().palette);
    if (image.image.isNull())
        return;
    if (bottomUpSource && image.bottomUp)
        source.moveTop(image.image.height() - source.top() - source.height());
    m_gdi.drawImage(dest, image.opaque(), source, ropForSetDib);
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
    const int style = quint16(p(r, 0));
    object.brush.colour = gdiColour(r.u32(8));
    object.brush.hatch = quint16(p(r, 3));
    object.brush.style = style == 1   ? GdiBrush::Null
                         : style == 2 ? GdiBrush::Hatched
                                      : GdiBrush::Solid;
    m_objects.add(std::move(object));
}

void WmfPlayer::createPatternBrush(ByteSpan r, bool dib)
{
    GdiObject object;
    object.kind = GdiObject::Kind::Brush;
    object.brush.style = GdiBrush::Pattern;
    object.brush.colour = Qt::black;
    if (dib) {
        const DibColourUsage usage =
            p(r, 1) == 1 ? DibColourUsage::PaletteIndexes : DibColourUsage::Rgb;
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
    font.face = decodeGdiText(face, font.charset == 2 ? 0 : font.charset, QString());
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
    DcState &dc = m_gdi.state();
    switch (function) {
    case SetBkColor:
        dc.backgroundColour = gdiColour(r.u32(6));
        break;
    case SetBkMode:
        dc.opaqueBackground = p(r, 0) == 2;
        break;
    case SetMapMode:
        m_gdi.setMapMode(p(r, 0));
        break;
    case SetRop2:
        dc.rop2 = p(r, 0);
        break;
    case SetPolyFillMode:
        dc.fillRule = p(r, 0) == 2 ? Qt::WindingFill : Qt::OddEvenFill;
        break;
    case SetTextCharExtra:
        dc.textCharExtra = p(r, 0);
        break;
    case SetTextColor:
        dc.textColour = gdiColour(r.u32(6));
        break;
    case SetTextAlign:
        dc.textAlign = quint16(p(r, 0));
        break;
    case SetWindowOrg:
        m_gdi.setWindowOrg(pointAt(r, 0));
        break;
    case SetWindowExt:
        m_gdi.setWindowExt(QSizeF(p(r, 1), p(r, 0)));
        break;
    case SetViewportOrg:
        m_gdi.setViewportOrg(pointAt(r, 0));
        break;
    case SetViewportExt:
        m_gdi.setViewportExt(QSizeF(p(r, 1), p(r, 0)));
        break;
    case OffsetWindowOrg:
        m_gdi.setWindowOrg(dc.windowOrg + pointAt(r, 0));
        break;
    case OffsetViewportOrg:
        m_gdi.setViewportOrg(dc.viewportOrg + pointAt(r, 0));
        break;
    case ScaleWindowExt:
    case ScaleViewportExt: {
        const double yDenom = p(r, 0), xDenom = p(r, 2);
        if (xDenom == 0 || yDenom == 0)
            break;
        const QSizeF ext = function == ScaleWindowExt ? dc.windowExt : dc.viewportExt;
        const QSizeF scaled(ext.width() * p(r, 3) / xDenom, ext.height() * p(r, 1) / yDenom);
        if (function == ScaleWindowExt)
            m_gdi.setWindowExt(scaled);
        else
            m_gdi.setViewportExt(scaled);
        break;
    }
    case LineTo:
        m_gdi.lineTo(pointAt(r, 0));
        break;
    case MoveTo:
        m_gdi.moveTo(pointAt(r, 0));
        break;
    case ExcludeClipRect:
        m_gdi.excludeClipRect(rectAt(r, 0));
        break;
    case IntersectClipRect:
        m_gdi.intersectClipRect(rectAt(r, 0));
        break;
    case OffsetClipRgn:
        m_gdi.offsetClip(pointAt(r, 0));
        break;
    case Arc:
        m_gdi.arc(GdiPainter::ArcKind::Arc, rectAt(r, 4), pointAt(r, 2), pointAt(r, 0));
        break;
    case Pie:
        m_gdi.arc(GdiPainter::ArcKind::Pie, rectAt(r, 4), pointAt(r, 2), pointAt(r, 0));
        break;
    case Chord:
        m_gdi.arc(GdiPainter::ArcKind::Chord, rectAt(r, 4), pointAt(r, 2), pointAt(r, 0));
        break;
    case Ellipse:
        m_gdi.ellipse(rectAt(r, 0));
        break;
    case Rectangle:
        m_gdi.rectangle(rectAt(r, 0));
        break;
    case RoundRect:
        m_gdi.roundRect(rectAt(r, 2), QSizeF(p(r, 1), p(r, 0)));
        break;
    case PatBlt:
        m_gdi.patBlt(QRectF(pointAt(r, 4), QSizeF(p(r, 3), p(r, 2))), r.u32(6));
        break;
    case SaveDc:
        m_gdi.saveDc();
        break;
    case RestoreDc:
        m_gdi.restoreDc(p(r, 0));
        break;
    case SetPixel:
        m_gdi.setPixel(pointAt(r, 2), gdiColour(r.u32(6)));
        break;
    case TextOut:
        text(r, false);
        break;
    case ExtTextOut:
        text(r, true);
        break;
    case Polygon:
        m_gdi.polygon(points(r, 8, quint16(p(r, 0))));
        break;
    case Polyline:
        m_gdi.polyline(points(r, 8, quint16(p(r, 0))));
        break;
    case PolyPolygon:
        polyPolygon(r);
        break;
    case FillRegion: {
        const GdiObject *region = object(r, 0);
        const GdiObject *brush = object(r, 1);
        if (region && brush && region->kind == GdiObject::Kind::Region &&
            brush->kind == GdiObject::Kind::Brush)
            m_gdi.fillRegion(region->region, brush->brush);
        break;
    }
    case FrameRegion: {
        const GdiObject *region = object(r, 0);
        const GdiObject *brush = object(r, 1);
        if (region && brush && region->kind == GdiObject::Kind::Region &&
            brush->kind == GdiObject::Kind::Brush)
            m_gdi.frameRegion(region->region, brush->brush, QSizeF(p(r, 3), p(r, 2)));
        break;
    }
    case PaintRegion:
    case InvertRegion: {
        const GdiObject *region = object(r, 0);
        if (region && region->kind == GdiObject::Kind::Region) {
            if (function == PaintRegion)
                m_gdi.fillRegion(region->region, dc.brush);
            else
                m_gdi.invertRegion(region->region);
        }
        break;
    }
    case SelectClipRegion: {
        const GdiObject *region = object(r, 0);
        if (region && region->kind == GdiObject::Kind::Region)
            m_gdi.select(*region);
        else
            m_gdi.resetClip();
        break;
    }
    case SelectObject:
    case SelectPalette:
        if (const GdiObject *selected = object(r, 0))
            m_gdi.select(*selected);
        break;
    case DeleteObject:
        m_objects.remove(quint16(p(r, 0)));
        break;
    case CreatePenIndirect:
        createPen(r);
        break;
    case CreateBrushIndirect:
        createBrush(r);
        break;
    case CreateFontIndirect:
        createFont(r);
        break;
    case CreatePalette:
        createPalette(r);
        break;
    case CreateRegion:
        createRegion(r);
        break;
    case DibCreatePatternBrush:
        createPatternBrush(r, true);
        break;
    case CreatePatternBrush:
        createPatternBrush(r, false);
        break;
    case DibBitBlt:
    case DibStretchBlt:
    case StretchDib:
    case SetDibToDev:
    case BitBlt:
    case StretchBlt:
        blit(function, r);
        break;
    default:
        break;
    }
}

} // namespace

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
        header.recordsAt = 22;
    }
    const qint64 at = header.recordsAt;
    const quint16 type = bytes.u16(at);
    const quint16 headerWords = bytes.u16(at + 2);
    const quint16 version = bytes.u16(at + 4);
    if (!bytes.contains(at, 18) || (type != 1 && type != 2) || headerWords != 9 ||
        (version != 0x0100 && version != 0x0300))
        return std::nullopt;
    header.objects = bytes.u16(at + 10);
    header.recordsAt = at + 18;
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
        if (!drawn && function == SetWindowOrg)
            origin = QPointF(r.i16(8), r.i16(6));
        else if (!drawn && function == SetWindowExt)
            extent = QSizeF(r.i16(8), r.i16(6));
        drawn = drawn || isDrawing(function);
        if (function == Escape && r.u16(6) == 0x000F && r.u32(10) == EmbeddedEmfIdentifier &&
            r.u32(14) == 1) {
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
