#include "EmfPlayer.h"

#include "Dib.h"
#include "GdiPainter.h"
#include "GdiText.h"

#include <QRegion>

namespace glintbox {

namespace {

constexpr quint32 EmfSignature = 0x464D4520; // " EMF"
constexpr quint32 EtoGlyphIndex = 0x0010;
constexpr quint32 EtoPdy = 0x2000;

enum EmfRecord : quint32 {
    Header = 1,
    PolyBezier,
    Polygon,
    Polyline,
    PolyBezierTo,
    PolylineTo,
    PolyPolyline,
    PolyPolygon,
    SetWindowExtEx,
    SetWindowOrgEx,
    SetViewportExtEx,
    SetViewportOrgEx,
    SetBrushOrgEx,
    Eof,
    SetPixelV,
    SetMapperFlags,
    SetMapMode,
    SetBkMode,
    SetPolyFillMode,
    SetRop2,
    SetStretchBltMode,
    SetTextAlign,
    SetColorAdjustment,
    SetTextColor,
    SetBkColor,
    OffsetClipRgn,
    MoveToEx,
    SetMetaRgn,
    ExcludeClipRect,
    IntersectClipRect,
    ScaleViewportExtEx,
    ScaleWindowExtEx,
    SaveDc,
    RestoreDc,
    SetWorldTransform,
    ModifyWorldTransform,
    SelectObject,
    CreatePen,
    CreateBrushIndirect,
    DeleteObject,
    AngleArc,
    Ellipse,
    Rectangle,
    RoundRect,
    Arc,
    Chord,
    Pie,
    SelectPalette,
    CreatePalette,
    SetPaletteEntries,
    ResizePalette,
    RealizePalette,
    ExtFloodFill,
    LineTo,
    ArcTo,
    PolyDraw,
    SetArcDirection,
    SetMiterLimit,
    BeginPath,
    EndPath,
    CloseFigure,
    FillPath,
    StrokeAndFillPath,
    StrokePath,
    FlattenPath,
    WidenPath,
    SelectClipPath,
    AbortPath,
    GdiComment = 70,
    FillRgn,
    FrameRgn,
    InvertRgn,
    PaintRgn,
    ExtSelectClipRgn,
    BitBlt,
    StretchBlt,
    MaskBlt,
    PlgBlt,
    SetDiBitsToDevice,
    StretchDiBits,
    ExtCreateFontIndirectW,
    ExtTextOutA,
    ExtTextOutW,
    PolyBezier16,
    Polygon16,
    Polyline16,
    PolyBezierTo16,
    PolylineTo16,
    PolyPolyline16,
    PolyPolygon16,
    PolyDraw16,
    CreateMonoBrush,
    CreateDibPatternBrushPt,
    ExtCreatePen,
    SmallTextOut = 108,
    AlphaBlend = 114,
    TransparentBlt = 116,
    GradientFill = 118,
};

// The largest point count of one record; records are bounded by the file anyway.
constexpr qint64 MaxPoints = 4'000'000;

class EmfPlayer {
public:
    EmfPlayer(ByteSpan file, GdiPainter &gdi, quint32 handles)
        : m_file(file)
        , m_gdi(gdi)
        , m_objects(qsizetype(std::max<quint32>(handles, 1)))
    {
    }
    void play();

private:
    void record(quint32 type, ByteSpan r);
    QRectF rectAt(ByteSpan r, qint64 at) const;
    QPointF pointAt(ByteSpan r, qint64 at) const { return QPointF(r.i32(at), r.i32(at + 4)); }
    QPolygonF points(ByteSpan r, qint64 at, qint64 count, bool small) const;
    QList<QPolygonF> polyPoints(ByteSpan r, bool small) const;
    void polyDraw(ByteSpan r, bool small);
    // A region's rectangles; nothing when the data is not a whole region.
    std::optional<QPainterPath> region(ByteSpan data) const;
    DecodedDib dib(ByteSpan r, qint64 bmiAt, qint64 bitsAt, quint32 usage) const;
    void text(ByteSpan r, bool wide);
    void smallText(ByteSpan r);
    void blit(quint32 type, ByteSpan r);
    void gradient(ByteSpan r);
    // A masked blit's source with the pixels its mask leaves alone made transparent.
    QImage masked(ByteSpan r, const QImage &image, QPointF sourceAt) const;
    void createPen(ByteSpan r, bool extended);
    void createBrush(ByteSpan r);
    void createPatternBrush(ByteSpan r, bool mono);
    void createFont(ByteSpan r);
    void createPalette(ByteSpan r);
    void selectObject(quint32 index);
    const GdiBrush *brushAt(quint32 index);

    ByteSpan m_file;
    GdiPainter &m_gdi;
    GdiObjectTable m_objects;
    GdiObject m_stock;
};

QRectF EmfPlayer::rectAt(ByteSpan r, qint64 at) const
{
    const double left = r.i32(at), top = r.i32(at + 4), right = r.i32(at + 8),
                 bottom = r.i32(at + 12);
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

QPolygonF EmfPlayer::points(ByteSpan r, qint64 at, qint64 count, bool small) const
{
    const qint64 size = small ? 4 : 8;
    if (count <= 0 || count > MaxPoints || !r.contains(at, count * size))
        return {};
    QPolygonF result;
    result.reserve(count);
    for (qint64 i = 0; i < count; ++i) {
        const qint64 p = at + i * size;
        result.append(small ? QPointF(r.i16(p), r.i16(p + 2)) : QPointF(r.i32(p), r.i32(p + 4)));
    }
    return result;
}

QList<QPolygonF> EmfPlayer::polyPoints(ByteSpan r, bool small) const
{
    const qint64 polys = r.u32(24);
    const qint64 total = r.u32(28);
    if (polys == 0 || polys > MaxPoints || !r.contains(32, polys * 4))
        return {};
    const qint64 pointsAt = 32 + polys * 4;
    if (!r.contains(pointsAt, total * (small ? 4 : 8)))
        return {};
    QList<QPolygonF> result;
    qint64 used = 0;
    for (qint64 i = 0; i < polys; ++i) {
        const qint64 count = r.u32(32 + i * 4);
        if (count > total - used)
            return {};
        result.append(points(r, pointsAt + used * (small ? 4 : 8), count, small));
        used += count;
    }
    return result;
}

void EmfPlayer::polyDraw(ByteSpan r, bool small)
{
    const qint64 count = r.u32(24);
    const QPolygonF pts = points(r, 28, count, small);
    const qint64 typesAt = 28 + count * (small ? 4 : 8);
    if (pts.isEmpty() || !r.contains(typesAt, count))
        return;
    for (qint64 i = 0; i < count; ++i) {
        const int type = r.u8(typesAt + i);
        switch (type & 6) {
        case 6:
            m_gdi.moveTo(pts[i]);
            break;
        case 2:
            m_gdi.lineTo(pts[i]);
            break;
        case 4:
            if (i + 2 < count) {
                m_gdi.polyBezier(QPolygonF{pts[i], pts[i + 1], pts[i + 2]}, true);
                i += 2;
            }
            break;
        default:
            break;
        }
    }
}

std::optional<QPainterPath> EmfPlayer::region(ByteSpan data) const
{
    QPainterPath path;
    const qint64 count = data.u32(8);
    if (data.u32(0) < 32 || count > MaxPoints || !data.contains(32, count * 16))
        return std::nullopt;
    QList<QRect> rects;
    rects.reserve(count);
    for (qint64 i = 0; i < count; ++i) {
        const qint64 at = 32 + i * 16;
        const QRect rect(QPoint(data.i32(at), data.i32(at + 4)),
                         QPoint(data.i32(at + 8) - 1, data.i32(at + 12) - 1));
        if (rect.isValid())
            rects.append(rect);
    }
    QRegion result;
    result.setRects(rects.constData(), int(rects.size()));
    path.addRegion(result);
    return path;
}

DecodedDib EmfPlayer::dib(ByteSpan r, qint64 bmiAt, qint64 bitsAt, quint32 usage) const
{
    const ByteSpan header = r.sub(r.u32(bmiAt), r.u32(bmiAt + 4));
    const ByteSpan bits = r.sub(r.u32(bitsAt), r.u32(bitsAt + 4));
    if (header.isEmpty())
        return {};
    return decodeDib(header, bits,
                     usage == 1 ? DibColourUsage::PaletteIndexes : DibColourUsage::Rgb,
                     m_gdi.state().palette);
}

void EmfPlayer::text(ByteSpan r, bool wide)
{
    const qint64 count = r.u32(44);
    const qint64 stringAt = r.u32(48);
    const quint32 options = r.u32(52);
    const qint64 dxAt = r.u32(72);
    if (options & EtoGlyphIndex) // glyph numbers of a font we do not have
        return;
    GdiTextRun run;
    run.reference = pointAt(r, 36);
    run.options = int(options);
    run.rect = rectAt(r, 56);
    if (count == 0 || !r.contains(stringAt, count * (wide ? 2 : 1)))
        return;
    if (wide) {
        QString text(count, Qt::Uninitialized);
        for (qint64 i = 0; i < count; ++i)
            text[i] = QChar(r.u16(stringAt + i * 2));
        const GdiFont &font = m_gdi.state().font;
        run.text = isSymbolFace(font.face) ? mapSymbolFont(text) : text;
    } else {
        const GdiFont &font = m_gdi.state().font;
        run.text = decodeGdiText(
            QByteArrayView(reinterpret_cast<const char *>(r.data() + stringAt), count),
            font.charset, font.face);
    }
    const qint64 stride = options & EtoPdy ? 8 : 4;
    if (dxAt && r.contains(dxAt, count * stride) && run.text.size() == count) {
        run.dx.reserve(count);
        for (qint64 i = 0; i < count; ++i)
            run.dx.append(r.i32(dxAt + i * stride));
    }
    m_gdi.text(run);
}

void EmfPlayer::smallText(ByteSpan r)
{
    const qint64 count = r.u32(16);
    const quint32 options = r.u32(20);
    if (options & EtoGlyphIndex)
        return;
    GdiTextRun run;
    run.reference = pointAt(r, 8);
    run.options = int(options & ~0x0300u);
    qint64 at = 36;
    if (!(options & 0x0100)) { // ETO_NO_RECT
        run.rect = rectAt(r, 36);
        at += 16;
    }
    const bool small = options & 0x0200; // ETO_SMALL_CHARS
    if (count == 0 || !r.contains(at, count * (small ? 1 : 2)))
        return;
    QString text(count, Qt::Uninitialized);
    for (qint64 i = 0; i < count; ++i)
        text[i] = QChar(small ? r.u8(at + i) : r.u16(at + i * 2));
    run.text = text;
    m_gdi.text(run);
}

void EmfPlayer::blit(quint32 type, ByteSpan r)
{
    const QPointF dest = pointAt(r, 24);
    if (type == StretchDiBits || type == SetDiBitsToDevice) {
        const quint32 usage = r.u32(64);
        QRectF source(r.i32(32), r.i32(36), r.i32(40), r.i32(44));
        QSizeF destSize = type == StretchDiBits ? QSizeF(r.i32(72), r.i32(76)) : source.size();
        const quint32 rop = type == StretchDiBits ? r.u32(68) : 0x00CC0020;
        ByteSpan header = r.sub(r.u32(48), r.u32(52));
        QByteArray patched;
        if (type == SetDiBitsToDevice && header.u32(0) >= 40) {
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
        const DecodedDib image =
            decodeDib(header, r.sub(r.u32(56), r.u32(60)),
                      usage == 1 ? DibColourUsage::PaletteIndexes : DibColourUsage::Rgb,
                      m_gdi.state().palette);
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
    const bool stretched = type != BitBlt && type != MaskBlt;
    const QSizeF sourceSize = stretched ? QSizeF(r.i32(100), r.i32(104)) : destSize;
    if (r.u32(88) == 0 || r.u32(96) == 0) { // no source bitmap: a pattern operation
        if (type == BitBlt || type == StretchBlt)
            m_gdi.patBlt(QRectF(dest, destSize), rop);
        return;
    }
    const DecodedDib image = dib(r, 84, 92, r.u32(80));
    if (image.image.isNull())
        return;
    const QRectF source(sourceAt, sourceSize);
    if (type == AlphaBlend) {
        m_gdi.alphaBlend(QRectF(dest, destSize), image.image, source, int(rop >> 16 & 0xFF),
                         (rop >> 24 & 0x01) && image.mayHaveAlpha);
    } else if (type == TransparentBlt) {
        QImage keyed = image.opaque().convertToFormat(QImage::Format_ARGB32);
        const QRgb key = gdiColour(rop).rgb() & 0xFFFFFF;
        for (int y = 0; y < keyed.height(); ++y) {
            QRgb *line = reinterpret_cast<QRgb *>(keyed.scanLine(y));
            for (int x = 0; x < keyed.width(); ++x)
                if ((line[x] & 0xFFFFFF) == key)
                    line[x] = 0;
        }
        m_gdi.drawImage(QRectF(dest, destSize), keyed, source, 0x00CC0020);
    } else if (type == MaskBlt) {
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
    if (mask.image.isNull() || background != 0xAA)
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
    const qint64 shapeSize = mode == 2 ? 12 : 8;
    if (!r.contains(shapesAt, shapes * shapeSize))
        return;
    for (qint64 i = 0; i < shapes; ++i) {
        const qint64 at = shapesAt + i * shapeSize;
        const quint32 a = r.u32(at), b = r.u32(at + 4);
        const quint32 c = mode == 2 ? r.u32(at + 8) : 0;
        if (a >= vertices || b >= vertices || c >= vertices)
            continue;
        QColor ca, cb, cc;
        const QPointF pa = vertex(a, ca), pb = vertex(b, cb);
        if (mode == 2) {
            const QPointF pc = vertex(c, cc);
            m_gdi.gradientTriangle(QPolygonF{pa, pb, pc}, {ca, cb, cc});
        } else {
            m_gdi.gradientRect(pa, pb, ca, cb, mode == 1);
        }
    }
}

void EmfPlayer::createPen(ByteSpan r, bool extended)
{
    GdiObject object;
    object.kind = GdiObject::Kind::Pen;
    if (extended) {
        object.pen.style = int(r.u32(28));
        object.pen.width = r.u32(32);
        object.pen.colour = gdiColour(r.u32(40));
        if (r.u32(36) == 1) // BS_NULL
            object.pen.style = GdiPen::Null;
        const qint64 entries = r.u32(48);
        if (object.pen.lineStyle() == GdiPen::UserStyle && entries <= 64 &&
            r.contains(52, entries * 4)) {
            for (qint64 i = 0; i < entries; ++i)
                object.pen.userDashes.append(r.u32(52 + i * 4));
        }
        if (object.pen.lineStyle() == GdiPen::UserStyle && object.pen.userDashes.isEmpty())
            object.pen.style &= ~0x0F;
    } else {
        object.pen.style = int(r.u32(12));
        object.pen.width = r.i32(16);
        object.pen.colour = gdiColour(r.u32(24));
    }
    m_objects.put(r.u32(8), std::move(object));
}

void EmfPlayer::createBrush(ByteSpan r)
{
    GdiObject object;
    object.kind = GdiObject::Kind::Brush;
    const quint32 style = r.u32(12);
    object.brush.colour = gdiColour(r.u32(16));
    object.brush.hatch = int(r.u32(20));
    object.brush.style = style == 1   ? GdiBrush::Null
                         : style == 2 ? GdiBrush::Hatched
                                      : GdiBrush::Solid;
    m_objects.put(r.u32(8), std::move(object));
}

void EmfPlayer::createPatternBrush(ByteSpan r, bool mono)
{
    GdiObject object;
    object.kind = GdiObject::Kind::Brush;
    object.brush.style = GdiBrush::Pattern;
    object.brush.colour = Qt::black;
    object.brush.pattern = dib(r, 16, 24, r.u32(12)).opaque();
    object.brush.monochromePattern = mono;
    if (object.brush.pattern.isNull())
        object.brush.style = GdiBrush::Solid;
    m_objects.put(r.u32(8), std::move(object));
}

void EmfPlayer::createFont(ByteSpan r)
{
    GdiObject object;
    object.kind = GdiObject::Kind::Font;
    GdiFont &font = object.font;
    font.height = r.i32(12);
    font.width = std::abs(r.i32(16));
    font.escapement = r.i32(20);
    font.weight = r.i32(28);
    font.italic = r.u8(32);
    font.underline = r.u8(33);
    font.strikeOut = r.u8(34);
    font.charset = r.u8(35);
    for (int i = 0; i < 32; ++i) {
        const char16_t c = r.u16(40 + i * 2);
        if (!c)
            break;
        font.face.append(QChar(c));
    }
    m_objects.put(r.u32(8), std::move(object));
}

void EmfPlayer::createPalette(ByteSpan r)
{
    GdiObject object;
    object.kind = GdiObject::Kind::Palette;
    const qint64 count = r.u16(14);
    for (qint64 i = 0; i < count && r.contains(16 + i * 4, 4); ++i)
        object.palette.append(qRgb(r.u8(16 + i * 4), r.u8(17 + i * 4), r.u8(18 + i * 4)));
    m_objects.put(r.u32(8), std::move(object));
}

void EmfPlayer::selectObject(quint32 index)
{
    if (GdiObjectTable::isStock(index)) {
        m_gdi.select(GdiObjectTable::stockObject(index));
        return;
    }
    if (const GdiObject *object = m_objects.at(index))
        m_gdi.select(*object);
}

const GdiBrush *EmfPlayer::brushAt(quint32 index)
{
    if (GdiObjectTable::isStock(index)) {
        m_stock = GdiObjectTable::stockObject(index);
        return m_stock.kind == GdiObject::Kind::Brush ? &m_stock.brush : nullptr;
    }
    const GdiObject *object = m_objects.at(index);
    return object && object->kind == GdiObject::Kind::Brush ? &object->brush : nullptr;
}

void EmfPlayer::record(quint32 type, ByteSpan r)
{
    DcState &dc = m_gdi.state();
    switch (type) {
    case PolyBezier:
        m_gdi.polyBezier(points(r, 28, r.u32(24), false), false);
        break;
    case PolyBezier16:
        m_gdi.polyBezier(points(r, 28, r.u32(24), true), false);
        break;
    case PolyBezierTo:
        m_gdi.polyBezier(points(r, 28, r.u32(24), false), true);
        break;
    case PolyBezierTo16:
        m_gdi.polyBezier(points(r, 28, r.u32(24), true), true);
        break;
    case Polygon:
        m_gdi.polygon(points(r, 28, r.u32(24), false));
        break;
    case Polygon16:
        m_gdi.polygon(points(r, 28, r.u32(24), true));
        break;
    case Polyline:
        m_gdi.polyline(points(r, 28, r.u32(24), false));
        break;
    case Polyline16:
        m_gdi.polyline(points(r, 28, r.u32(24), true));
        break;
    case PolylineTo:
        m_gdi.polylineTo(points(r, 28, r.u32(24), false));
        break;
    case PolylineTo16:
        m_gdi.polylineTo(points(r, 28, r.u32(24), true));
        break;
    case PolyPolyline:
        m_gdi.polyPolyline(polyPoints(r, false));
        break;
    case PolyPolyline16:
        m_gdi.polyPolyline(polyPoints(r, true));
        break;
    case PolyPolygon:
        m_gdi.polyPolygon(polyPoints(r, false));
        break;
    case PolyPolygon16:
        m_gdi.polyPolygon(polyPoints(r, true));
        break;
    case PolyDraw:
        polyDraw(r, false);
        break;
    case PolyDraw16:
        polyDraw(r, true);
        break;
    case SetWindowExtEx:
        m_gdi.setWindowExt(QSizeF(r.i32(8), r.i32(12)));
        break;
    case SetWindowOrgEx:
        m_gdi.setWindowOrg(pointAt(r, 8));
        break;
    case SetViewportExtEx:
        m_gdi.setViewportExt(QSizeF(r.i32(8), r.i32(12)));
        break;
    case SetViewportOrgEx:
        m_gdi.setViewportOrg(pointAt(r, 8));
        break;
    case ScaleViewportExtEx:
    case ScaleWindowExtEx: {
        const double xd = r.i32(12), yd = r.i32(20);
        if (xd == 0 || yd == 0)
            break;
        const QSizeF ext = type == ScaleWindowExtEx ? dc.windowExt : dc.viewportExt;
        const QSizeF scaled(ext.width() * r.i32(8) / xd, ext.height() * r.i32(16) / yd);
        if (type == ScaleWindowExtEx)
            m_gdi.setWindowExt(scaled);
        else
            m_gdi.setViewportExt(scaled);
        break;
    }
    case SetPixelV:
        m_gdi.setPixel(pointAt(r, 8), gdiColour(r.u32(16)));
        break;
    case SetMapMode:
        m_gdi.setMapMode(int(r.u32(8)));
        break;
    case SetBkMode:
        dc.opaqueBackground = r.u32(8) == 2;
        break;
    case SetPolyFillMode:
        dc.fillRule = r.u32(8) == 2 ? Qt::WindingFill : Qt::OddEvenFill;
        break;
    case SetRop2:
        dc.rop2 = int(r.u32(8));
        break;
    case SetTextAlign:
        dc.textAlign = int(r.u32(8));
        break;
    case SetTextColor:
        dc.textColour = gdiColour(r.u32(8));
        break;
    case SetBkColor:
        dc.backgroundColour = gdiColour(r.u32(8));
        break;
    case SetArcDirection:
        dc.arcClockwise = r.u32(8) == 2;
        break;
    case OffsetClipRgn:
        m_gdi.offsetClip(pointAt(r, 8));
        break;
    case MoveToEx:
        m_gdi.moveTo(pointAt(r, 8));
        break;
    case LineTo:
        m_gdi.lineTo(pointAt(r, 8));
        break;
    case ExcludeClipRect:
        m_gdi.excludeClipRect(rectAt(r, 8));
        break;
    case IntersectClipRect:
        m_gdi.intersectClipRect(rectAt(r, 8));
        break;
    case SaveDc:
        m_gdi.saveDc();
        break;
    case RestoreDc:
        m_gdi.restoreDc(r.i32(8));
        break;
    case SetWorldTransform:
    case ModifyWorldTransform: {
        const QTransform t(r.f32(8), r.f32(12), r.f32(16), r.f32(20), r.f32(24), r.f32(28));
        if (type == SetWorldTransform)
            m_gdi.setWorldTransform(t);
        else
            m_gdi.modifyWorldTransform(t, int(r.u32(32)));
        break;
    }
    case SelectObject:
        selectObject(r.u32(8));
        break;
    case DeleteObject:
        m_objects.remove(r.u32(8));
        break;
    case CreatePen:
        createPen(r, false);
        break;
    case ExtCreatePen:
        createPen(r, true);
        break;
    case CreateBrushIndirect:
        createBrush(r);
        break;
    case CreateDibPatternBrushPt:
        createPatternBrush(r, false);
        break;
    case CreateMonoBrush:
        createPatternBrush(r, true);
        break;
    case ExtCreateFontIndirectW:
        createFont(r);
        break;
    case CreatePalette:
        createPalette(r);
        break;
    case SelectPalette:
        selectObject(r.u32(8));
        break;
    case AngleArc:
        m_gdi.angleArc(pointAt(r, 8), r.u32(16), r.f32(20), r.f32(24));
        break;
    case Ellipse:
        m_gdi.ellipse(rectAt(r, 8));
        break;
    case Rectangle:
        m_gdi.rectangle(rectAt(r, 8));
        break;
    case RoundRect:
        m_gdi.roundRect(rectAt(r, 8), QSizeF(r.i32(24), r.i32(28)));
        break;
    case Arc:
        m_gdi.arc(GdiPainter::ArcKind::Arc, rectAt(r, 8), pointAt(r, 24), pointAt(r, 32));
        break;
    case ArcTo:
        m_gdi.arc(GdiPainter::ArcKind::ArcTo, rectAt(r, 8), pointAt(r, 24), pointAt(r, 32));
        break;
    case Chord:
        m_gdi.arc(GdiPainter::ArcKind::Chord, rectAt(r, 8), pointAt(r, 24), pointAt(r, 32));
        break;
    case Pie:
        m_gdi.arc(GdiPainter::ArcKind::Pie, rectAt(r, 8), pointAt(r, 24), pointAt(r, 32));
        break;
    case BeginPath:
        m_gdi.beginPath();
        break;
    case EndPath:
        m_gdi.endPath();
        break;
    case AbortPath:
        m_gdi.abortPath();
        break;
    case CloseFigure:
        m_gdi.closeFigure();
        break;
    case FillPath:
        m_gdi.fillPath();
        break;
    case StrokePath:
        m_gdi.strokePath();
        break;
    case StrokeAndFillPath:
        m_gdi.strokeAndFillPath();
        break;
    case SelectClipPath:
        m_gdi.selectClipPath(int(r.u32(8)));
        break;
    case ExtSelectClipRgn: {
        const qint64 size = r.u32(8);
        const int mode = int(r.u32(12));
        if (size == 0) {
            if (mode == RgnCopy)
                m_gdi.resetClip();
            break;
        }
        if (const auto path = region(r.sub(16, size)))
            m_gdi.selectClipRegion(*path, mode);
        break;
    }
    case FillRgn: {
        const GdiBrush *brush = brushAt(r.u32(28));
        if (const auto path = region(r.sub(32, r.u32(24))); path && brush)
            m_gdi.fillRegion(*path, *brush);
        break;
    }
    case PaintRgn:
        if (const auto path = region(r.sub(28, r.u32(24))))
            m_gdi.fillRegion(*path, dc.brush);
        break;
    case FrameRgn: {
        const GdiBrush *brush = brushAt(r.u32(28));
        if (const auto path = region(r.sub(40, r.u32(24))); path && brush)
            m_gdi.frameRegion(*path, *brush, QSizeF(r.i32(32), r.i32(36)));
        break;
    }
    case InvertRgn:
        if (const auto path = region(r.sub(28, r.u32(24))))
            m_gdi.invertRegion(*path);
        break;
    case BitBlt:
    case StretchBlt:
    case StretchDiBits:
    case SetDiBitsToDevice:
    case AlphaBlend:
    case MaskBlt:
    case TransparentBlt:
        blit(type, r);
        break;
    case ExtTextOutA:
        text(r, false);
        break;
    case ExtTextOutW:
        text(r, true);
        break;
    case SmallTextOut:
        smallText(r);
        break;
    case GradientFill:
        gradient(r);
        break;
    default:
        break; // comments (EMF+ included), palettes, colour management: nothing to draw
    }
}

void EmfPlayer::play()
{
    qint64 offset = 0;
    while (offset + 8 <= m_file.size()) {
        const quint32 type = m_file.u32(offset);
        const qint64 size = m_file.u32(offset + 4);
        if (size < 8 || !m_file.contains(offset, size) || m_gdi.budget().spend())
            return;
        if (type == Eof)
            return;
        if (offset > 0 || type != Header)
            record(type, m_file.sub(offset, size));
        offset += size;
    }
}

} // namespace

std::optional<EmfHeader> readEmfHeader(ByteSpan bytes)
{
    if (bytes.u32(0) != Header || bytes.u32(40) != EmfSignature)
        return std::nullopt;
    const quint32 size = bytes.u32(4);
    if (size < 88 || !bytes.contains(0, size))
        return std::nullopt;
    EmfHeader header;
    header.bounds = QRectF(QPointF(bytes.i32(8), bytes.i32(12)),
                           QPointF(double(bytes.i32(16)) + 1, double(bytes.i32(20)) + 1));
    header.frame =
        QRectF(QPointF(bytes.i32(24), bytes.i32(28)), QPointF(bytes.i32(32), bytes.i32(36)));
    header.handles = bytes.u16(48);
    header.deviceSize = QSize(bytes.i32(72), bytes.i32(76));
    header.deviceMm = QSize(bytes.i32(80), bytes.i32(84));
    return header;
}

void playEmf(ByteSpan bytes, GdiPainter &gdi)
{
    const std::optional<EmfHeader> header = readEmfHeader(bytes);
    if (!header)
        return;
    EmfPlayer(bytes, gdi, header->handles).play();
}

} // namespace glintbox
