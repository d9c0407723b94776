#include "EmfPlusPlayer.h"

#include "GdiPainter.h"

#include <QPainter>

#include <cmath>

namespace glintbox {

using namespace emfplus;

namespace {

constexpr int MaxSavedStates = 4096;
// The largest object gathered from several records.
constexpr quint32 MaxObjectSize = 64 * 1024 * 1024;
constexpr int MaxClipElements = 100'000;

// A transform applied before the world's (prepended) or after it.
void combine(QTransform &world, const QTransform &transform, quint16 flags)
{
    if (!transform.isInvertible())
        return;
    world = flags & FlagPostMultiply ? world * transform : transform * world;
}

// Control points of a cardinal spline through points, as a path.
QPainterPath cardinalSpline(const QPolygonF &points, double tension, bool closed)
{
    QPainterPath path;
    const qsizetype n = points.size();
    if (n < 2)
        return path;
    auto at = [&](qsizetype i) {
        if (closed)
            return points.at((i % n + n) % n);
        return points.at(std::clamp<qsizetype>(i, 0, n - 1));
    };
    const double t = tension / 3;
    path.moveTo(points.first());
    const qsizetype segments = closed ? n : n - 1;
    for (qsizetype i = 0; i < segments; ++i) {
        const QPointF c1 = at(i) + (at(i + 1) - at(i - 1)) * t;
        const QPointF c2 = at(i + 1) - (at(i + 2) - at(i)) * t;
        path.cubicTo(c1, c2, at(i + 1));
    }
    if (closed)
        path.closeSubpath();
    return path;
}

// Draws a cap at `end`, with the line arriving from `from`.
void drawLineCap(QPainter &painter, const EmfPlusLineCap &cap, QPointF from, QPointF end,
                 double width, const QPen &pen)
{
    const QPointF along = end - from;
    const double length = std::hypot(along.x(), along.y());
    if (length == 0 || !std::isfinite(length))
        return;
    const QPointF y = along / length * width, x(-y.y(), y.x());
    const QPainterPath shape =
        QTransform(x.x(), x.y(), y.x(), y.y(), end.x(), end.y()).map(cap.shape);
    if (cap.filled)
        painter.fillPath(shape, pen.brush());
    else
        painter.strokePath(shape, pen);
}

} // namespace

void EmfPlusPlayer::drawLineCaps(QPainter &painter, const QPainterPath &world,
                                 const EmfPlusPen &gdiPen, QPen pen, double width)
{
    // Each open figure gets its caps, turned along its first and last segments.
    pen.setStyle(Qt::SolidLine);
    const int count = world.elementCount();
    for (int first = 0; first < count;) {
        int last = first;
        while (last + 1 < count && !world.elementAt(last + 1).isMoveTo())
            ++last;
        if (last > first) {
            const QPointF start = world.elementAt(first), next = world.elementAt(first + 1);
            const QPointF end = world.elementAt(last), before = world.elementAt(last - 1);
            if (gdiPen.startCap)
                drawLineCap(painter, *gdiPen.startCap, next, start, width, pen);
            if (gdiPen.endCap)
                drawLineCap(painter, *gdiPen.endCap, before, end, width, pen);
        }
        first = last + 1;
    }
}

double EmfPlusPlayer::pixelsPerUnit(quint32 unit) const
{
    switch (unit) {
    case UnitPoint:
        return m_dpiY / 72;
    case UnitInch:
        return m_dpiY;
    case UnitDocument:
        return m_dpiY / 300;
    case UnitMillimeter:
        return m_dpiY / 25.4;
    default:
        return 1;
    }
}

QTransform EmfPlusPlayer::worldToDevice() const
{
    // EMF+ pixels are the device units of the enhanced records, whatever size the header
    // gives the reference device's millimetres.
    const double page = pixelsPerUnit(m_state.pageUnit) * m_state.pageScale;
    return m_state.world * QTransform::fromScale(page, page);
}

QPainter *EmfPlusPlayer::beginDraw(const QRectF &worldBounds)
{
    const QTransform toPainter = worldToDevice() * m_gdi.deviceToPainter();
    if (!isSane(toPainter.mapRect(worldBounds)))
        return nullptr;
    QPainter *painter = m_gdi.beginForeignDraw(m_state.clipped ? &m_state.clip : nullptr);
    if (painter)
        painter->setTransform(toPainter);
    return painter;
}

const EmfPlusObjectData *EmfPlusPlayer::objectAt(quint32 id, quint8 type) const
{
    if (id >= m_objects.size() || m_objects[id].type != type)
        return nullptr;
    return &m_objects[id];
}

std::optional<QBrush> EmfPlusPlayer::brushOf(quint16 flags, quint32 brushId) const
{
    if (flags & FlagColour)
        return QBrush(emfPlusColour(brushId));
    if (const EmfPlusObjectData *brush = objectAt(brushId, ObjectBrush))
        return brush->brush;
    return std::nullopt;
}

QPainterPath EmfPlusPlayer::withinFrame(const QPainterPath &world) const
{
    const QTransform toDevice = worldToDevice();
    const QRectF box = toDevice.mapRect(world.controlPointRect());
    bool invertible = false;
    const QTransform toWorld = toDevice.inverted(&invertible);
    if (isSane(box) || !invertible || world.elementCount() > MaxClipElements ||
        !std::isfinite(box.width()) || !std::isfinite(box.height()))
        return world;
    QPainterPath frame;
    frame.addRect(m_gdi.device().frame.adjusted(-1, -1, 1, 1));
    return world.intersected(toWorld.map(frame));
}

void EmfPlusPlayer::fill(const QPainterPath &world, const QBrush &brush)
{
    if (world.isEmpty())
        return;
    const QPainterPath shape = withinFrame(world);
    if (QPainter *painter = beginDraw(shape.controlPointRect()))
        painter->fillPath(shape, brush);
}

void EmfPlusPlayer::stroke(const QPainterPath &world, quint32 penId)
{
    const EmfPlusObjectData *object = objectAt(penId, ObjectPen);
    if (!object || world.isEmpty())
        return;
    QPainter *painter = beginDraw(world.controlPointRect());
    if (!painter)
        return;
    const EmfPlusPen &gdiPen = object->pen;
    QPen pen = gdiPen.pen;
    pen.setBrush(gdiPen.brush);
    double width = gdiPen.width;
    if (gdiPen.unit != UnitWorld) { // a width in page-independent units
        const double page = pixelsPerUnit(m_state.pageUnit) * m_state.pageScale;
        width = width * pixelsPerUnit(gdiPen.unit) / page;
    }
    const double scale = std::sqrt(std::abs(painter->transform().determinant()));
    if (!std::isfinite(width) || width * scale < 1) {
        pen.setCosmetic(true);
        pen.setWidthF(1);
        painter->strokePath(world, pen);
        if (gdiPen.startCap || gdiPen.endCap)
            drawLineCaps(*painter, world, gdiPen, pen, 1 / scale);
        return;
    }
    // Qt takes pen widths below 32768: a wider line (in units such as the 914400 an inch
    // of office documents) is stroked in a space scaled down with it.
    const double shrink = width > 1000 ? width / 100 : 1;
    const QPainterPath path = QTransform::fromScale(1 / shrink, 1 / shrink).map(world);
    painter->setTransform(QTransform::fromScale(shrink, shrink) * painter->transform());
    QBrush brush = pen.brush();
    brush.setTransform(brush.transform() * QTransform::fromScale(1 / shrink, 1 / shrink));
    pen.setBrush(brush);
    pen.setWidthF(width / shrink);
    painter->strokePath(path, pen);
    if (gdiPen.startCap || gdiPen.endCap)
        drawLineCaps(*painter, path, gdiPen, pen, width / shrink);
}

QPainterPath EmfPlusPlayer::arc(const QRectF &rect, double start, double sweep, bool pie) const
{
    // Angles run clockwise here and counter-clockwise in Qt.
    QPainterPath path;
    if (pie)
        path.moveTo(rect.center());
    else
        path.arcMoveTo(rect, -start);
    path.arcTo(rect, -start, -sweep);
    if (pie)
        path.closeSubpath();
    return path;
}

void EmfPlusPlayer::fillRects(quint16 flags, ByteSpan data)
{
    const auto brush = brushOf(flags, data.u32(0));
    const qint64 count = data.u32(4);
    const qint64 size = flags & FlagCompressed ? 8 : 16;
    if (!brush || !data.contains(8, count * size))
        return;
    QPainterPath path;
    for (qint64 i = 0; i < count && i < 100'000; ++i)
        path.addRect(readEmfPlusRect(data, 8 + i * size, flags & FlagCompressed));
    fill(path, *brush);
}

void EmfPlusPlayer::drawRects(quint16 flags, ByteSpan data)
{
    const qint64 count = data.u32(0);
    const qint64 size = flags & FlagCompressed ? 8 : 16;
    if (!data.contains(4, count * size))
        return;
    QPainterPath path;
    for (qint64 i = 0; i < count && i < 100'000; ++i)
        path.addRect(readEmfPlusRect(data, 4 + i * size, flags & FlagCompressed));
    stroke(path, flags & ObjectIdMask);
}

void EmfPlusPlayer::drawLines(quint16 flags, ByteSpan data)
{
    const QPolygonF points = readEmfPlusPoints(data, 4, data.u32(0), flags);
    if (points.size() < 2)
        return;
    QPainterPath path;
    path.addPolygon(points);
    if (flags & FlagClosed)
        path.closeSubpath();
    stroke(path, flags & ObjectIdMask);
}

void EmfPlusPlayer::drawCurve(quint16 flags, ByteSpan data, bool closed, bool filled)
{
    // Fills lead with their brush; open curves may start at an offset and span some segments.
    const qint64 at = filled ? 4 : 0;
    const double tension = data.f32(at);
    const qint64 pointsAt = closed ? at + 8 : at + 16;
    const QPolygonF points = readEmfPlusPoints(data, pointsAt, data.u32(pointsAt - 4), flags);
    if (points.size() < 2 || !std::isfinite(tension))
        return;
    QPolygonF used = points;
    if (!closed) {
        const qint64 offset = data.u32(4), segments = data.u32(8);
        if (offset < points.size() && segments > 0)
            used = points.mid(offset, std::min<qint64>(segments + 1, points.size() - offset));
    }
    QPainterPath path = cardinalSpline(used, tension, closed);
    if (!filled) {
        stroke(path, flags & ObjectIdMask);
        return;
    }
    path.setFillRule(flags & FlagWinding ? Qt::WindingFill : Qt::OddEvenFill);
    if (const auto brush = brushOf(flags, data.u32(0)))
        fill(path, *brush);
}

void EmfPlusPlayer::saveState(quint32 index, const QTransform &containerTransform)
{
    if (m_saved.size() >= MaxSavedStates)
        return;
    m_saved.push_back({index, m_state});
    m_state.world = containerTransform * m_state.world;
}

void EmfPlusPlayer::restoreState(quint32 index)
{
    for (qsizetype i = qsizetype(m_saved.size()) - 1; i >= 0; --i) {
        if (m_saved[i].index == index) {
            m_state = m_saved[i].state;
            m_saved.resize(i);
            return;
        }
    }
}

void EmfPlusPlayer::setClip(const QPainterPath &world, quint32 mode, bool infinite)
{
    if (infinite && (mode == CombineReplace || mode == CombineUnion)) {
        m_state.clipped = false;
        m_state.clip = QPainterPath();
        return;
    }
    // Combining paths costs with their size: a clip of garbage is left alone.
    const QPainterPath device = worldToDevice().map(withinFrame(world));
    if (device.elementCount() > MaxClipElements || !isSane(device.controlPointRect()))
        return;
    QPainterPath everything;
    everything.addRect(m_gdi.device().frame.adjusted(-1, -1, 1, 1));
    const QPainterPath current = m_state.clipped ? m_state.clip : everything;
    switch (mode) {
    case CombineReplace:
        m_state.clip = device;
        break;
    case CombineIntersect:
        m_state.clip = current.intersected(device);
        break;
    case CombineUnion:
        m_state.clip = current.united(device);
        break;
    case CombineXor:
        m_state.clip = current.united(device).subtracted(current.intersected(device));
        break;
    case CombineExclude:
        m_state.clip = current.subtracted(device);
        break;
    case CombineComplement:
        m_state.clip = device.subtracted(current);
        break;
    default:
        return;
    }
    m_state.clipped = true;
}

void EmfPlusPlayer::object(quint16 flags, ByteSpan data)
{
    const quint8 id = flags & ObjectIdMask;
    const quint8 type = flags >> 8 & 0x7F;
    ByteSpan whole = data;
    bool gathered = false;
    if (flags & FlagContinued) {
        if (m_pendingId != id) {
            m_pendingId = id;
            m_pendingSize = data.u32(0);
            m_pending.clear();
        }
        const ByteSpan chunk = data.from(4);
        if (m_pendingSize > MaxObjectSize || m_pending.size() + chunk.size() > m_pendingSize) {
            m_pendingId.reset();
            return;
        }
        m_pending.append(reinterpret_cast<const char *>(chunk.data()), chunk.size());
        if (m_pending.size() < qsizetype(m_pendingSize))
            return;
        gathered = true;
    } else if (m_pendingId == id) { // the last part comes without the continuation flag
        if (m_pending.size() + data.size() <= qsizetype(m_pendingSize))
            m_pending.append(reinterpret_cast<const char *>(data.data()), data.size());
        gathered = true;
    }
    if (gathered)
        whole = ByteSpan(reinterpret_cast<const uchar *>(m_pending.constData()), m_pending.size());
    if (id < m_objects.size()) {
        const auto read = readEmfPlusObject(type, whole);
        m_objects[id] = read ? *read : EmfPlusObjectData();
    }
    if (gathered) {
        m_pendingId.reset();
        m_pending.clear();
    }
}

void EmfPlusPlayer::record(quint16 type, quint16 flags, ByteSpan data)
{
    switch (type) {
    case EmfPlusHeader: {
        m_active = true;
        const double dpiX = data.u32(8), dpiY = data.u32(12);
        m_dpiX = dpiX >= 1 && dpiX <= 100'000 ? dpiX : 96;
        m_dpiY = dpiY >= 1 && dpiY <= 100'000 ? dpiY : 96;
        break;
    }
    case EmfPlusGetDC:
        m_getDc = true;
        break;
    case EmfPlusObject:
        object(flags, data);
        break;
    case EmfPlusClear: {
        const QRectF frame = m_gdi.device().frame;
        if (QPainter *painter = m_gdi.beginForeignDraw(m_state.clipped ? &m_state.clip : nullptr)) {
            painter->setTransform(m_gdi.deviceToPainter());
            painter->fillRect(frame, emfPlusColour(data.u32(0)));
        }
        break;
    }
    case EmfPlusFillRects:
        fillRects(flags, data);
        break;
    case EmfPlusDrawRects:
        drawRects(flags, data);
        break;
    case EmfPlusFillPolygon: {
        QPainterPath path;
        path.addPolygon(readEmfPlusPoints(data, 8, data.u32(4), flags));
        path.closeSubpath();
        if (const auto brush = brushOf(flags, data.u32(0)))
            fill(path, *brush);
        break;
    }
    case EmfPlusDrawLines:
        drawLines(flags, data);
        break;
    case EmfPlusFillEllipse: {
        QPainterPath path;
        path.addEllipse(readEmfPlusRect(data, 4, flags & FlagCompressed));
        if (const auto brush = brushOf(flags, data.u32(0)))
            fill(path, *brush);
        break;
    }
    case EmfPlusDrawEllipse: {
        QPainterPath path;
        path.addEllipse(readEmfPlusRect(data, 0, flags & FlagCompressed));
        stroke(path, flags & ObjectIdMask);
        break;
    }
    case EmfPlusFillPie:
        if (const auto brush = brushOf(flags, data.u32(0)))
            fill(arc(readEmfPlusRect(data, 12, flags & FlagCompressed), data.f32(4), data.f32(8),
                     true),
                 *brush);
        break;
    case EmfPlusDrawPie:
    case EmfPlusDrawArc:
        stroke(arc(readEmfPlusRect(data, 8, flags & FlagCompressed), data.f32(0), data.f32(4),
                   type == EmfPlusDrawPie),
               flags & ObjectIdMask);
        break;
    case EmfPlusFillRegion: {
        const EmfPlusObjectData *region = objectAt(flags & ObjectIdMask, ObjectRegion);
        const auto brush = brushOf(flags, data.u32(0));
        if (region && brush)
            fill(region->region.path, *brush);
        break;
    }
    case EmfPlusFillPath: {
        const EmfPlusObjectData *path = objectAt(flags & ObjectIdMask, ObjectPath);
        const auto brush = brushOf(flags, data.u32(0));
        if (path && brush)
            fill(path->path, *brush);
        break;
    }
    case EmfPlusDrawPath:
        if (const EmfPlusObjectData *path = objectAt(flags & ObjectIdMask, ObjectPath))
            stroke(path->path, data.u32(0));
        break;
    case EmfPlusFillClosedCurve:
        drawCurve(flags, data, true, true);
        break;
    case EmfPlusDrawClosedCurve:
        drawCurve(flags, data, true, false);
        break;
    case EmfPlusDrawCurve:
        drawCurve(flags, data, false, false);
        break;
    case EmfPlusDrawBeziers: {
        const QPolygonF points = readEmfPlusPoints(data, 4, data.u32(0), flags);
        if (points.size() < 4)
            break;
        QPainterPath path(points.first());
        for (qsizetype i = 1; i + 2 < points.size(); i += 3)
            path.cubicTo(points.at(i), points.at(i + 1), points.at(i + 2));
        stroke(path, flags & ObjectIdMask);
        break;
    }
    case EmfPlusDrawImage:
    case EmfPlusDrawImagePoints:
        drawImage(flags, data, type == EmfPlusDrawImagePoints);
        break;
    case EmfPlusDrawString:
        drawString(flags, data);
        break;
    case EmfPlusDrawDriverString:
        drawDriverString(flags, data);
        break;
    case EmfPlusSave:
    case EmfPlusBeginContainerNoParams:
        saveState(data.u32(0), QTransform());
        break;
    case EmfPlusRestore:
    case EmfPlusEndContainer:
        restoreState(data.u32(0));
        break;
    case EmfPlusBeginContainer: {
        // The source rectangle, in the unit of the flags, lands on the destination.
        const QRectF dest = readEmfPlusRect(data, 0, false);
        QRectF source = readEmfPlusRect(data, 16, false);
        const double unit = pixelsPerUnit(flags >> 8 & 0xFF) /
                            (pixelsPerUnit(m_state.pageUnit) * m_state.pageScale);
        source = QRectF(source.topLeft() * unit, source.size() * unit);
        QTransform container;
        if (source.width() != 0 && source.height() != 0)
            container = QTransform::fromTranslate(-source.x(), -source.y()) *
                        QTransform::fromScale(dest.width() / source.width(),
                                              dest.height() / source.height()) *
                        QTransform::fromTranslate(dest.x(), dest.y());
        saveState(data.u32(32), container.isInvertible() ? container : QTransform());
        break;
    }
    case EmfPlusSetWorldTransform: {
        const QTransform world(data.f32(0), data.f32(4), data.f32(8), data.f32(12), data.f32(16),
                               data.f32(20));
        if (world.isInvertible())
            m_state.world = world;
        break;
    }
    case EmfPlusResetWorldTransform:
        m_state.world = QTransform();
        break;
    case EmfPlusMultiplyWorldTransform:
        combine(m_state.world,
                QTransform(data.f32(0), data.f32(4), data.f32(8), data.f32(12), data.f32(16),
                           data.f32(20)),
                flags);
        break;
    case EmfPlusTranslateWorldTransform:
        combine(m_state.world, QTransform::fromTranslate(data.f32(0), data.f32(4)), flags);
        break;
    case EmfPlusScaleWorldTransform:
        combine(m_state.world, QTransform::fromScale(data.f32(0), data.f32(4)), flags);
        break;
    case EmfPlusRotateWorldTransform:
        combine(m_state.world, QTransform().rotate(data.f32(0)), flags);
        break;
    case EmfPlusSetPageTransform: {
        const double scale = data.f32(0);
        m_state.pageUnit = flags & 0xFF;
        m_state.pageScale = std::isfinite(scale) && scale > 0 ? scale : 1;
        break;
    }
    case EmfPlusResetClip:
        m_state.clipped = false;
        m_state.clip = QPainterPath();
        break;
    case EmfPlusSetClipRect: {
        QPainterPath path;
        path.addRect(readEmfPlusRect(data, 0, false).normalized());
        setClip(path, flags >> 8 & 0xF);
        break;
    }
    case EmfPlusSetClipPath:
        if (const EmfPlusObjectData *path = objectAt(flags & ObjectIdMask, ObjectPath))
            setClip(path->path, flags >> 8 & 0xF);
        break;
    case EmfPlusSetClipRegion:
        if (const EmfPlusObjectData *region = objectAt(flags & ObjectIdMask, ObjectRegion))
            setClip(region->region.path, flags >> 8 & 0xF, region->region.infinite);
        break;
    case EmfPlusOffsetClip:
        if (m_state.clipped) {
            const QTransform toDevice = worldToDevice();
            m_state.clip.translate(toDevice.map(QPointF(data.f32(0), data.f32(4))) -
                                   toDevice.map(QPointF(0, 0)));
        }
        break;
    default:
        break; // rendering hints, comments, and records we do not draw
    }
}

void EmfPlusPlayer::playComment(ByteSpan records)
{
    m_getDc = false;
    qint64 offset = 0;
    while (offset + 12 <= records.size()) {
        const quint16 type = records.u16(offset);
        const quint16 flags = records.u16(offset + 2);
        const qint64 size = records.u32(offset + 4);
        const qint64 dataSize = records.u32(offset + 8);
        if (size < 12 || !records.contains(offset, size) || dataSize > size - 12 ||
            m_gdi.budget().spend())
            return;
        if (type == EmfPlusHeader || m_active)
            record(type, flags, records.sub(offset + 12, dataSize));
        offset += size;
    }
}

} // namespace glintbox
