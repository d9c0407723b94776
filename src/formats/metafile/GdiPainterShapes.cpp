// Paths, lines and shapes: each either joins the open path or is painted at once.
#include "GdiPainter.h"

#include <QtMath>

#include <cmath>

namespace glintbox {

namespace {

// Appends a segment that starts where the path stands, as the current figure's
// continuation. (QPainterPath::connectPath drops a trailing move, which would
// join a new figure to the previous one.)
void continuePath(QPainterPath &path, const QPainterPath &segment)
{
    for (int i = 0; i < segment.elementCount(); ++i) {
        const QPainterPath::Element e = segment.elementAt(i);
        if (e.isCurveTo() && i + 2 < segment.elementCount()) {
            path.cubicTo(e, segment.elementAt(i + 1), segment.elementAt(i + 2));
            i += 2;
        } else if (i == 0 && path.elementCount() == 0) {
            path.moveTo(e);
        } else if (i > 0 || QPointF(e) != path.currentPosition()) {
            path.lineTo(e);
        }
    }
}

} // namespace

void GdiPainter::beginPath()
{
    m_path = QPainterPath();
    m_path.moveTo(m_state.current);
    m_pathOpen = true;
}

void GdiPainter::abortPath()
{
    m_path = QPainterPath();
    m_pathOpen = false;
}

void GdiPainter::closeFigure()
{
    if (m_pathOpen)
        m_path.closeSubpath();
}

void GdiPainter::fillPath()
{
    m_pathOpen = false;
    paintPath(m_path, true, false);
    m_path = QPainterPath();
}

void GdiPainter::strokePath()
{
    m_pathOpen = false;
    paintPath(m_path, false, true);
    m_path = QPainterPath();
}

void GdiPainter::strokeAndFillPath()
{
    m_pathOpen = false;
    paintPath(m_path, true, true);
    m_path = QPainterPath();
}

void GdiPainter::selectClipPath(gdi::RegionMode mode)
{
    m_pathOpen = false;
    QPainterPath path = m_path;
    path.setFillRule(m_state.fillRule);
    combineClip(toDevice(path), mode);
    m_path = QPainterPath();
}

void GdiPainter::addToPath(const QPainterPath &logical, bool connect)
{
    if (connect)
        continuePath(m_path, logical);
    else
        m_path.addPath(logical);
}

void GdiPainter::moveTo(QPointF point)
{
    m_state.current = point;
    if (m_pathOpen)
        m_path.moveTo(point);
}

void GdiPainter::lineTo(QPointF point)
{
    if (m_pathOpen)
        m_path.lineTo(point);
    else
        paintPolygon(QPolygonF{m_state.current, point}, false);
    m_state.current = point;
}

void GdiPainter::polyline(const QPolygonF &points)
{
    if (points.size() < 2)
        return;
    if (m_pathOpen) {
        QPainterPath figure;
        figure.addPolygon(points);
        addToPath(figure, false);
        return;
    }
    paintPolygon(points, false);
}

void GdiPainter::polylineTo(const QPolygonF &points)
{
    if (points.isEmpty())
        return;
    if (m_pathOpen) {
        for (const QPointF &p : points)
            m_path.lineTo(p);
    } else {
        QPolygonF line;
        line.reserve(points.size() + 1);
        line << m_state.current << points;
        paintPolygon(line, false);
    }
    m_state.current = points.last();
}

void GdiPainter::polygon(const QPolygonF &points)
{
    if (points.size() < 2)
        return;
    if (m_pathOpen) {
        QPainterPath figure;
        figure.addPolygon(points);
        figure.closeSubpath();
        addToPath(figure, false);
        return;
    }
    paintPolygon(points, true);
}

void GdiPainter::polyPolygon(const QList<QPolygonF> &polygons)
{
    QPainterPath path;
    for (const QPolygonF &points : polygons) {
        if (points.size() < 2)
            continue;
        path.addPolygon(points);
        path.closeSubpath();
    }
    drawClosed(path);
}

void GdiPainter::polyPolyline(const QList<QPolygonF> &polylines)
{
    for (const QPolygonF &points : polylines)
        polyline(points);
}

void GdiPainter::polyBezier(const QPolygonF &points, bool fromCurrent)
{
    QPainterPath path;
    qsizetype i = 0;
    if (fromCurrent) {
        path.moveTo(m_state.current);
    } else {
        if (points.isEmpty())
            return;
        path.moveTo(points.first());
        i = 1;
    }
    for (; i + 2 < points.size(); i += 3)
        path.cubicTo(points[i], points[i + 1], points[i + 2]);
    if (fromCurrent)
        m_state.current = path.currentPosition();
    if (m_pathOpen)
        addToPath(path, fromCurrent);
    else
        paintPath(path, false, true);
}

void GdiPainter::drawClosed(const QPainterPath &logical)
{
    if (m_pathOpen)
        addToPath(logical, false);
    else
        paintPath(logical, true, true);
}

void GdiPainter::rectangle(const QRectF &rect)
{
    QPainterPath path;
    path.addRect(rect.normalized());
    drawClosed(path);
}

void GdiPainter::roundRect(const QRectF &rect, QSizeF corner)
{
    QPainterPath path;
    path.addRoundedRect(rect.normalized(), std::abs(corner.width()) / 2,
                        std::abs(corner.height()) / 2);
    drawClosed(path);
}

void GdiPainter::ellipse(const QRectF &rect)
{
    QPainterPath path;
    path.addEllipse(rect.normalized());
    drawClosed(path);
}

QPainterPath GdiPainter::arcPath(ArcKind kind, const QRectF &bounds, QPointF start,
                                 QPointF end) const
{
    const QRectF rect = bounds.normalized();
    const QPointF centre = rect.center();
    // Angles on the ellipse's own parameter, as QPainterPath::arcTo takes them.
    auto angleOf = [&](QPointF p) {
        return qRadiansToDegrees(
            std::atan2(-(p.y() - centre.y()) * rect.width(), (p.x() - centre.x()) * rect.height()));
    };
    const double startAngle = angleOf(start);
    double sweep = angleOf(end) - startAngle;
    // Counter-clockwise as seen on the device; a flipped mapping turns it round.
    bool clockwise = m_state.arcClockwise;
    if (m_logicalToDevice.determinant() < 0)
        clockwise = !clockwise;
    if (clockwise) {
        if (sweep >= 0)
            sweep -= 360;
    } else if (sweep <= 0) {
        sweep += 360;
    }
    QPainterPath path;
    if (kind == ArcKind::Pie) {
        path.moveTo(centre);
        path.arcTo(rect, startAngle, sweep);
        path.closeSubpath();
        return path;
    }
    path.arcMoveTo(rect, startAngle);
    path.arcTo(rect, startAngle, sweep);
    if (kind == ArcKind::Chord)
        path.closeSubpath();
    return path;
}

void GdiPainter::arc(ArcKind kind, const QRectF &rect, QPointF start, QPointF end)
{
    fullTransform();
    QPainterPath path = arcPath(kind, rect, start, end);
    const bool closed = kind == ArcKind::Chord || kind == ArcKind::Pie;
    if (kind == ArcKind::ArcTo) {
        QPainterPath line;
        line.moveTo(m_state.current);
        continuePath(line, path);
        path = line;
        m_state.current = path.currentPosition();
    }
    if (m_pathOpen)
        addToPath(path, kind == ArcKind::ArcTo);
    else
        paintPath(path, closed, true);
}

void GdiPainter::angleArc(QPointF centre, double radius, double startDegrees, double sweepDegrees)
{
    if (!std::isfinite(startDegrees) || !std::isfinite(sweepDegrees))
        return;
    const QRectF rect(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    QPainterPath path;
    path.moveTo(m_state.current);
    QPainterPath arcPart;
    arcPart.arcMoveTo(rect, startDegrees);
    arcPart.arcTo(rect, startDegrees, std::clamp(sweepDegrees, -3600.0, 3600.0));
    continuePath(path, arcPart);
    m_state.current = path.currentPosition();
    if (m_pathOpen)
        addToPath(path, true);
    else
        paintPath(path, false, true);
}

void GdiPainter::setPixel(QPointF point, const QColor &colour)
{
    const QPointF device = logicalToDevice().map(point);
    if (!beginDraw(QRectF(point, QSizeF(1, 1))))
        return;
    useTransform(m_deviceToTarget * m_base);
    m_painter.fillRect(QRectF(std::floor(device.x()), std::floor(device.y()), 1, 1), colour);
}

} // namespace glintbox
