#include "EmfPlayer.h"

#include "GdiPainter.h"
#include "GdiText.h"
#include "MetafileRecords.h"
#include "NestedMetafile.h"

#include <QPainter>
#include <QRegion>

namespace glintbox {

using namespace gdi;

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
        switch (type & (PT_LINETO | PT_BEZIERTO)) {
        case PT_MOVETO:
            m_gdi.moveTo(pts[i]);
            break;
        case PT_LINETO:
            m_gdi.lineTo(pts[i]);
            break;
        case PT_BEZIERTO:
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

void EmfPlayer::text(ByteSpan r, qint64 at, bool wide)
{
    // A text object: reference, count, string offset, options, rectangle, advances offset.
    const qint64 count = r.u32(at + 8);
    const qint64 stringAt = r.u32(at + 12);
    const quint32 options = r.u32(at + 16);
    const qint64 dxAt = r.u32(at + 36);
    GdiTextRun run;
    run.reference = pointAt(r, at);
    run.options = options;
    run.rect = rectAt(r, at + 20);
    if (options & ETO_GLYPH_INDEX) { // glyph numbers of a font we do not have: only the box
        m_gdi.text(run);
        return;
    }
    if (!r.contains(stringAt, count * (wide ? 2 : 1)))
        return;
    if (wide) {
        QString text(count, Qt::Uninitialized);
        for (qint64 i = 0; i < count; ++i)
            text[i] = QChar(r.u16(stringAt + i * 2));
        run.text = text;
    } else {
        const GdiFont &font = m_gdi.state().font;
        run.text = decodeGdiText(
            QByteArrayView(reinterpret_cast<const char *>(r.data() + stringAt), count),
            font.charset, font.face);
    }
    const qint64 stride = options & ETO_PDY ? 8 : 4; // vertical advances follow each one
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
    GdiTextRun run;
    run.reference = pointAt(r, 8);
    run.options = options & ~(ETO_NO_RECT | ETO_SMALL_CHARS);
    qint64 at = 36;
    if (!(options & ETO_NO_RECT)) {
        run.rect = rectAt(r, 36);
        at += 16;
    }
    if (options & ETO_GLYPH_INDEX) {
        m_gdi.text(run);
        return;
    }
    const bool small = options & ETO_SMALL_CHARS; // one byte a character
    if (!r.contains(at, count * (small ? 1 : 2)))
        return;
    QString text(count, Qt::Uninitialized);
    for (qint64 i = 0; i < count; ++i)
        text[i] = QChar(small ? r.u8(at + i) : r.u16(at + i * 2));
    run.text = text;
    m_gdi.text(run);
}

void EmfPlayer::record(quint32 type, ByteSpan r)
{
    DcAttributes &dc = m_gdi.attributes();
    switch (type) {
    case EMR_POLYBEZIER:
        m_gdi.polyBezier(points(r, 28, r.u32(24), false), false);
        break;
    case EMR_POLYBEZIER16:
        m_gdi.polyBezier(points(r, 28, r.u32(24), true), false);
        break;
    case EMR_POLYBEZIERTO:
        m_gdi.polyBezier(points(r, 28, r.u32(24), false), true);
        break;
    case EMR_POLYBEZIERTO16:
        m_gdi.polyBezier(points(r, 28, r.u32(24), true), true);
        break;
    case EMR_POLYGON:
        m_gdi.polygon(points(r, 28, r.u32(24), false));
        break;
    case EMR_POLYGON16:
        m_gdi.polygon(points(r, 28, r.u32(24), true));
        break;
    case EMR_POLYLINE:
        m_gdi.polyline(points(r, 28, r.u32(24), false));
        break;
    case EMR_POLYLINE16:
        m_gdi.polyline(points(r, 28, r.u32(24), true));
        break;
    case EMR_POLYLINETO:
        m_gdi.polylineTo(points(r, 28, r.u32(24), false));
        break;
    case EMR_POLYLINETO16:
        m_gdi.polylineTo(points(r, 28, r.u32(24), true));
        break;
    case EMR_POLYPOLYLINE:
        m_gdi.polyPolyline(polyPoints(r, false));
        break;
    case EMR_POLYPOLYLINE16:
        m_gdi.polyPolyline(polyPoints(r, true));
        break;
    case EMR_POLYPOLYGON:
        m_gdi.polyPolygon(polyPoints(r, false));
        break;
    case EMR_POLYPOLYGON16:
        m_gdi.polyPolygon(polyPoints(r, true));
        break;
    case EMR_POLYDRAW:
        polyDraw(r, false);
        break;
    case EMR_POLYDRAW16:
        polyDraw(r, true);
        break;
    case EMR_SETWINDOWEXTEX:
        m_gdi.setWindowExt(QSizeF(r.i32(8), r.i32(12)));
        break;
    case EMR_SETWINDOWORGEX:
        m_gdi.setWindowOrg(pointAt(r, 8));
        break;
    case EMR_SETVIEWPORTEXTEX:
        m_gdi.setViewportExt(QSizeF(r.i32(8), r.i32(12)));
        break;
    case EMR_SETVIEWPORTORGEX:
        m_gdi.setViewportOrg(pointAt(r, 8));
        break;
    case EMR_SCALEVIEWPORTEXTEX:
    case EMR_SCALEWINDOWEXTEX: {
        const double xd = r.i32(12), yd = r.i32(20);
        if (xd == 0 || yd == 0)
            break;
        const DcMapping &mapping = m_gdi.state().mapping;
        const QSizeF ext = type == EMR_SCALEWINDOWEXTEX ? mapping.windowExt : mapping.viewportExt;
        const QSizeF scaled(ext.width() * r.i32(8) / xd, ext.height() * r.i32(16) / yd);
        if (type == EMR_SCALEWINDOWEXTEX)
            m_gdi.setWindowExt(scaled);
        else
            m_gdi.setViewportExt(scaled);
        break;
    }
    case EMR_SETPIXELV:
        m_gdi.setPixel(pointAt(r, 8), gdiColour(r.u32(16)));
        break;
    case EMR_SETMAPMODE:
        m_gdi.setMapMode(MapMode(r.u32(8)));
        break;
    case EMR_SETBKMODE:
        dc.opaqueBackground = r.u32(8) == OPAQUE;
        break;
    case EMR_SETPOLYFILLMODE:
        dc.fillRule = r.u32(8) == WINDING ? Qt::WindingFill : Qt::OddEvenFill;
        break;
    case EMR_SETROP2:
        dc.rop2 = BinaryRasterOperation(r.u32(8));
        break;
    case EMR_SETTEXTALIGN:
        dc.textAlign = r.u32(8);
        break;
    case EMR_SETTEXTCOLOR:
        dc.textColour = gdiColour(r.u32(8));
        break;
    case EMR_SETBKCOLOR:
        dc.backgroundColour = gdiColour(r.u32(8));
        break;
    case EMR_SETARCDIRECTION:
        dc.arcClockwise = r.u32(8) == AD_CLOCKWISE;
        break;
    case EMR_OFFSETCLIPRGN:
        m_gdi.offsetClip(pointAt(r, 8));
        break;
    case EMR_MOVETOEX:
        m_gdi.moveTo(pointAt(r, 8));
        break;
    case EMR_LINETO:
        m_gdi.lineTo(pointAt(r, 8));
        break;
    case EMR_EXCLUDECLIPRECT:
        m_gdi.excludeClipRect(rectAt(r, 8));
        break;
    case EMR_INTERSECTCLIPRECT:
        m_gdi.intersectClipRect(rectAt(r, 8));
        break;
    case EMR_SAVEDC:
        m_gdi.saveDc();
        break;
    case EMR_RESTOREDC:
        m_gdi.restoreDc(r.i32(8));
        break;
    case EMR_SETWORLDTRANSFORM:
    case EMR_MODIFYWORLDTRANSFORM: {
        const QTransform t(r.f32(8), r.f32(12), r.f32(16), r.f32(20), r.f32(24), r.f32(28));
        if (type == EMR_SETWORLDTRANSFORM)
            m_gdi.setWorldTransform(t);
        else
            m_gdi.modifyWorldTransform(t, ModifyWorldTransformMode(r.u32(32)));
        break;
    }
    case EMR_SELECTOBJECT:
        selectObject(r.u32(8));
        break;
    case EMR_DELETEOBJECT:
        m_objects.remove(r.u32(8));
        break;
    case EMR_CREATEPEN:
        createPen(r, false);
        break;
    case EMR_EXTCREATEPEN:
        createPen(r, true);
        break;
    case EMR_CREATEBRUSHINDIRECT:
        createBrush(r);
        break;
    case EMR_CREATEDIBPATTERNBRUSHPT:
        createPatternBrush(r, false);
        break;
    case EMR_CREATEMONOBRUSH:
        createPatternBrush(r, true);
        break;
    case EMR_EXTCREATEFONTINDIRECTW:
        createFont(r);
        break;
    case EMR_CREATEPALETTE:
        createPalette(r);
        break;
    case EMR_SELECTPALETTE:
        selectObject(r.u32(8));
        break;
    case EMR_ANGLEARC:
        m_gdi.angleArc(pointAt(r, 8), r.u32(16), r.f32(20), r.f32(24));
        break;
    case EMR_ELLIPSE:
        m_gdi.ellipse(rectAt(r, 8));
        break;
    case EMR_RECTANGLE:
        m_gdi.rectangle(rectAt(r, 8));
        break;
    case EMR_ROUNDRECT:
        m_gdi.roundRect(rectAt(r, 8), QSizeF(r.i32(24), r.i32(28)));
        break;
    case EMR_ARC:
        m_gdi.arc(GdiPainter::ArcKind::Arc, rectAt(r, 8), pointAt(r, 24), pointAt(r, 32));
        break;
    case EMR_ARCTO:
        m_gdi.arc(GdiPainter::ArcKind::ArcTo, rectAt(r, 8), pointAt(r, 24), pointAt(r, 32));
        break;
    case EMR_CHORD:
        m_gdi.arc(GdiPainter::ArcKind::Chord, rectAt(r, 8), pointAt(r, 24), pointAt(r, 32));
        break;
    case EMR_PIE:
        m_gdi.arc(GdiPainter::ArcKind::Pie, rectAt(r, 8), pointAt(r, 24), pointAt(r, 32));
        break;
    case EMR_BEGINPATH:
        m_gdi.beginPath();
        break;
    case EMR_ENDPATH:
        m_gdi.endPath();
        break;
    case EMR_ABORTPATH:
        m_gdi.abortPath();
        break;
    case EMR_CLOSEFIGURE:
        m_gdi.closeFigure();
        break;
    case EMR_FILLPATH:
        m_gdi.fillPath();
        break;
    case EMR_STROKEPATH:
        m_gdi.strokePath();
        break;
    case EMR_STROKEANDFILLPATH:
        m_gdi.strokeAndFillPath();
        break;
    case EMR_SELECTCLIPPATH:
        m_gdi.selectClipPath(RegionMode(r.u32(8)));
        break;
    case EMR_EXTSELECTCLIPRGN: {
        const qint64 size = r.u32(8);
        const RegionMode mode = RegionMode(r.u32(12));
        if (size == 0) {
            if (mode == RGN_COPY)
                m_gdi.resetClip();
            break;
        }
        if (const auto path = region(r.sub(16, size)))
            m_gdi.selectClipRegion(*path, mode);
        break;
    }
    case EMR_FILLRGN: {
        const GdiBrush *brush = brushAt(r.u32(28));
        if (const auto path = region(r.sub(32, r.u32(24))); path && brush)
            m_gdi.fillRegion(*path, *brush);
        break;
    }
    case EMR_PAINTRGN:
        if (const auto path = region(r.sub(28, r.u32(24))))
            m_gdi.fillRegion(*path, dc.brush);
        break;
    case EMR_FRAMERGN: {
        const GdiBrush *brush = brushAt(r.u32(28));
        if (const auto path = region(r.sub(40, r.u32(24))); path && brush)
            m_gdi.frameRegion(*path, *brush, QSizeF(r.i32(32), r.i32(36)));
        break;
    }
    case EMR_INVERTRGN:
        if (const auto path = region(r.sub(28, r.u32(24))))
            m_gdi.invertRegion(*path);
        break;
    case EMR_BITBLT:
    case EMR_STRETCHBLT:
    case EMR_STRETCHDIBITS:
    case EMR_SETDIBITSTODEVICE:
    case EMR_ALPHABLEND:
    case EMR_MASKBLT:
    case EMR_TRANSPARENTBLT:
        blit(type, r);
        break;
    case EMR_PLGBLT:
        parallelogramBlit(r);
        break;
    case EMR_EXTTEXTOUTA:
    case EMR_EXTTEXTOUTW:
        text(r, 36, type == EMR_EXTTEXTOUTW);
        break;
    case EMR_POLYTEXTOUTA:
    case EMR_POLYTEXTOUTW: {
        // Text objects of 40 bytes each, after the bounds, graphics mode, scales and count.
        const qint64 count = r.u32(36);
        for (qint64 i = 0; i < count && r.contains(40 + i * 40, 40); ++i)
            text(r, 40 + i * 40, type == EMR_POLYTEXTOUTW);
        break;
    }
    case EMR_SMALLTEXTOUT:
        smallText(r);
        break;
    case EMR_GRADIENTFILL:
        gradient(r);
        break;
    case EMR_COMMENT:
        if (r.u32(12) == emfplus::EmfPlusCommentIdentifier && r.u32(8) >= 4)
            m_plus.playComment(r.sub(16, qint64(r.u32(8)) - 4));
        // Identifier, kind, version, checksum, flags and size lead the Windows metafile.
        else if (r.u32(12) == PublicCommentIdentifier && r.u32(16) == CommentWindowsMetafile)
            m_embeddedWmf = r.sub(36, r.u32(32));
        break;
    default:
        break; // other comments, palettes, colour management: nothing to draw
    }
}

void EmfPlayer::play()
{
    qint64 offset = 0;
    while (offset + 8 <= m_file.size()) {
        const quint32 type = m_file.u32(offset);
        const qint64 size = m_file.u32(offset + 4);
        if (size < 8 || !m_file.contains(offset, size) || m_gdi.budget().spend() || type == EMR_EOF)
            break;
        m_recordsAfterEmbedded = !m_embeddedWmf.isEmpty();
        // Once EMF+ records draw the picture, the enhanced records are its fallback.
        if ((offset > 0 || type != EMR_HEADER) && (type == EMR_COMMENT || m_plus.drawsGdiRecords()))
            record(type, m_file.sub(offset, size));
        offset += size;
    }
    if (!m_embeddedWmf.isEmpty() && !m_recordsAfterEmbedded)
        drawEmbeddedWmf();
}

void EmfPlayer::drawEmbeddedWmf()
{
    QPainter *painter = m_gdi.beginForeignDraw(nullptr);
    if (!painter)
        return;
    const QByteArray bytes(reinterpret_cast<const char *>(m_embeddedWmf.data()),
                           m_embeddedWmf.size());
    drawNestedMetafile(bytes, *painter, m_gdi.device().frame, m_gdi.budget());
}

std::optional<EmfHeader> readEmfHeader(ByteSpan bytes)
{
    if (bytes.u32(0) != EMR_HEADER || bytes.u32(40) != ENHMETA_SIGNATURE)
        return std::nullopt;
    const quint32 size = bytes.u32(4);
    if (size < 88 || !bytes.contains(0, size))
        return std::nullopt;
    EmfHeader header;
    header.bounds = QRectF(QPointF(bytes.i32(8), bytes.i32(12)),
                           QPointF(double(bytes.i32(16)) + 1, double(bytes.i32(20)) + 1));
    header.frame =
        QRectF(QPointF(bytes.i32(24), bytes.i32(28)), QPointF(bytes.i32(32), bytes.i32(36)));
    header.handles = bytes.u16(56); // after the file's byte and record counts
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
