#include "GdiPainter.h"

#include "GdiText.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPaintEngine>
#include <QtMath>

#include <cmath>

namespace glintbox {

namespace {

constexpr int MaxSavedStates = 4096;
// A shape reaching further than this many target pixels is garbage: the
// rasteriser's time grows with a polygon's size, about 50 ms a million pixels.
constexpr double MaxCoordinate = 1e6;

bool isSane(const QRectF &rect)
{
    return std::isfinite(rect.left()) && std::isfinite(rect.top()) && std::isfinite(rect.right()) &&
           std::isfinite(rect.bottom()) && std::abs(rect.left()) < MaxCoordinate &&
           std::abs(rect.right()) < MaxCoordinate && std::abs(rect.top()) < MaxCoordinate &&
           std::abs(rect.bottom()) < MaxCoordinate;
}

double nonZero(double value)
{
    return value == 0 ? 1 : value;
}

QList<qreal> cosmeticDashes(int lineStyle)
{
    switch (lineStyle) {
    case GdiPen::Dash:
        return {18, 6};
    case GdiPen::Dot:
        return {3, 3};
    case GdiPen::DashDot:
        return {9, 6, 3, 6};
    case GdiPen::DashDotDot:
        return {9, 3, 3, 3, 3, 3};
    case GdiPen::Alternate:
        return {1, 1};
    default:
        return {};
    }
}

Qt::BrushStyle hatchStyle(int hatch)
{
    switch (hatch) {
    case 0:
        return Qt::HorPattern;
    case 1:
        return Qt::VerPattern;
    case 2:
        return Qt::FDiagPattern;
    case 3:
        return Qt::BDiagPattern;
    case 4:
        return Qt::CrossPattern;
    default:
        return Qt::DiagCrossPattern;
    }
}

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

QTransform pageTransform(const DcState &state, const GdiDevice &device)
{
    double sx = 1;
    double sy = 1;
    QPointF windowOrg = state.windowOrg;
    QPointF viewportOrg = state.viewportOrg;
    int mode = state.mapMode;
    if (device.windowMapsToFrame && mode == MmText)
        mode = MmAnisotropic;
    auto metric = [&](double mmPerUnit) {
        sx = mmPerUnit * device.unitsPerMm.width();
        sy = -mmPerUnit * device.unitsPerMm.height();
    };
    switch (mode) {
    case MmLoMetric:
        metric(0.1);
        break;
    case MmHiMetric:
        metric(0.01);
        break;
    case MmLoEnglish:
        metric(0.254);
        break;
    case MmHiEnglish:
        metric(0.0254);
        break;
    case MmTwips:
        metric(25.4 / 1440);
        break;
    case MmIsotropic:
    case MmAnisotropic: {
        QSizeF windowExt = state.windowExt;
        QSizeF viewportExt = state.viewportExt;
        if (!state.viewportExtSet && device.windowMapsToFrame) {
            // A Windows metafile player sets the viewport to the picture's frame.
            if (!state.windowExtSet)
                windowExt = device.frame.size();
            if (!state.windowOrgSet)
                windowOrg = device.frame.topLeft();
            viewportExt = device.frame.size();
            if (!state.viewportOrgSet)
                viewportOrg = device.frame.topLeft();
        }
        sx = viewportExt.width() / nonZero(windowExt.width());
        sy = viewportExt.height() / nonZero(windowExt.height());
        if (mode == MmIsotropic) {
            const double scale = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(scale, sx);
            sy = std::copysign(scale, sy);
        }
        break;
    }
    default:
        break;
    }
    return QTransform(sx, 0, 0, sy, viewportOrg.x() - windowOrg.x() * sx,
                      viewportOrg.y() - windowOrg.y() * sy);
}

GdiPainter::GdiPainter(QPainter &painter, const GdiDevice &device, const QRectF &target,
                       RenderBudget &budget)
    : m_painter(painter)
    , m_device(device)
    , m_target(target)
    , m_budget(budget)
{
    m_painter.save();
    m_base = painter.worldTransform();
    const QRectF frame = device.frame;
    m_deviceToTarget = QTransform::fromTranslate(-frame.x(), -frame.y()) *
                       QTransform::fromScale(target.width() / nonZero(frame.width()),
                                             target.height() / nonZero(frame.height())) *
                       QTransform::fromTranslate(target.x(), target.y());
    QPainterPath targetPath;
    targetPath.addRect(target);
    m_outerClip = painter.hasClipping() ? painter.clipPath().intersected(targetPath) : targetPath;
    bool invertible = false;
    const QTransform targetToDevice = m_deviceToTarget.inverted(&invertible);
    m_everything.addRect(invertible ? targetToDevice.mapRect(target).adjusted(-2, -2, 2, 2)
                                    : frame.normalized());
    m_rasterOps =
        painter.paintEngine() && painter.paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
}

GdiPainter::~GdiPainter()
{
    m_painter.restore();
}

// ---- mapping ----

void GdiPainter::setMapMode(int mode)
{
    if (mode < MmText || mode > MmAnisotropic)
        return;
    m_state.mapMode = mode;
    mappingChanged();
}

void GdiPainter::setWindowOrg(QPointF origin)
{
    m_state.windowOrg = origin;
    m_state.windowOrgSet = true;
    mappingChanged();
}

void GdiPainter::setWindowExt(QSizeF extent)
{
    if (extent.width() == 0 || extent.height() == 0)
        return;
    m_state.windowExt = extent;
    m_state.windowExtSet = true;
    mappingChanged();
}

void GdiPainter::setViewportOrg(QPointF origin)
{
    m_state.viewportOrg = origin;
    m_state.viewportOrgSet = true;
    mappingChanged();
}

void GdiPainter::setViewportExt(QSizeF extent)
{
    if (extent.width() == 0 || extent.height() == 0)
        return;
    m_state.viewportExt = extent;
    m_state.viewportExtSet = true;
    mappingChanged();
}

void GdiPainter::setWorldTransform(const QTransform &transform)
{
    if (!transform.isInvertible())
        return;
    m_state.world = transform;
    mappingChanged();
}

void GdiPainter::modifyWorldTransform(const QTransform &transform, int mode)
{
    switch (mode) {
    case WorldIdentity:
        m_state.world = QTransform();
        break;
    case WorldLeftMultiply:
        setWorldTransform(transform * m_state.world);
        break;
    case WorldRightMultiply:
        setWorldTransform(m_state.world * transform);
        break;
    case WorldSet:
        setWorldTransform(transform);
        break;
    default:
        return;
    }
    mappingChanged();
}

QTransform GdiPainter::logicalToDevice()
{
    fullTransform();
    return m_logicalToDevice;
}

const QTransform &GdiPainter::fullTransform()
{
    if (m_transformDirty) {
        m_logicalToDevice = m_state.world * pageTransform(m_state, m_device);
        m_full = m_logicalToDevice * m_deviceToTarget * m_base;
        m_transformDirty = false;
    }
    return m_full;
}

double GdiPainter::deviceScale() const
{
    return std::sqrt(std::abs((m_deviceToTarget * m_base).determinant()));
}

void GdiPainter::useTransform(const QTransform &transform)
{
    m_painter.setTransform(transform);
}

// ---- state stack and objects ----

void GdiPainter::saveDc()
{
    if (m_saved.size() < MaxSavedStates)
        m_saved.push_back(m_state);
}

void GdiPainter::restoreDc(int relative)
{
    const qint64 size = qint64(m_saved.size());
    qint64 level;
    if (relative < 0) {
        if (-qint64(relative) > size)
            return;
        level = size + relative;
    } else {
        if (relative == 0 || relative > size)
            return;
        level = relative - 1;
    }
    m_state = m_saved[level];
    m_saved.resize(level);
    m_clipDirty = true;
    mappingChanged();
}

void GdiPainter::select(const GdiObject &object)
{
    switch (object.kind) {
    case GdiObject::Kind::Pen:
        m_state.pen = object.pen;
        break;
    case GdiObject::Kind::Brush:
        m_state.brush = object.brush;
        break;
    case GdiObject::Kind::Font:
        m_state.font = object.font;
        break;
    case GdiObject::Kind::Palette:
        m_state.palette = object.palette;
        break;
    case GdiObject::Kind::Region:
        selectClipRegion(toDevice(object.region), RgnCopy);
        break;
    case GdiObject::Kind::Empty:
        break;
    }
}

// ---- clipping ----

void GdiPainter::combineClip(const QPainterPath &device, int mode)
{
    const QPainterPath &current = m_state.clipped ? m_state.clip : m_everything;
    QPainterPath result;
    switch (mode) {
    case RgnAnd:
        result = current.intersected(device);
        break;
    case RgnOr:
        if (!m_state.clipped)
            return;
        result = current.united(device);
        break;
    case RgnXor:
        result = current.united(device).subtracted(current.intersected(device));
        break;
    case RgnDiff:
        result = current.subtracted(device);
        break;
    case RgnCopy:
        result = device;
        break;
    default:
        return;
    }
    m_state.clip = result;
    m_state.clipped = true;
    m_clipDirty = true;
}

void GdiPainter::intersectClipRect(const QRectF &logical)
{
    QPainterPath path;
    path.addRect(logical.normalized());
    combineClip(toDevice(path), RgnAnd);
}

void GdiPainter::excludeClipRect(const QRectF &logical)
{
    QPainterPath path;
    path.addRect(logical.normalized());
    combineClip(toDevice(path), RgnDiff);
}

void GdiPainter::selectClipRegion(const QPainterPath &device, int mode)
{
    combineClip(device, mode);
}

void GdiPainter::resetClip()
{
    m_state.clipped = false;
    m_state.clip = QPainterPath();
    m_clipDirty = true;
}

void GdiPainter::offsetClip(QPointF logicalOffset)
{
    if (!m_state.clipped)
        return;
    const QTransform toDev = logicalToDevice();
    const QPointF offset = toDev.map(logicalOffset) - toDev.map(QPointF(0, 0));
    m_state.clip.translate(offset);
    m_clipDirty = true;
}

void GdiPainter::applyClip()
{
    if (!m_clipDirty)
        return;
    m_painter.setTransform(m_base);
    m_painter.setClipPath(m_outerClip);
    if (m_state.clipped) {
        m_painter.setTransform(m_deviceToTarget * m_base);
        m_painter.setClipPath(m_state.clip, Qt::IntersectClip);
    }
    m_clipDirty = false;
}

// ---- paths ----

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

void GdiPainter::selectClipPath(int mode)
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

// ---- painting helpers ----

bool GdiPainter::beginDraw(const QRectF &logicalBounds)
{
    if (m_budget.exhausted() || m_state.rop2 == 11) // R2_NOP draws nothing
        return false;
    if (m_state.clipped && m_state.clip.isEmpty()) // Qt takes an empty clip path for none
        return false;
    if (!isSane(fullTransform().mapRect(logicalBounds)))
        return false;
    applyClip();
    setRop2();
    return true;
}

void GdiPainter::setRop2()
{
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    if (m_rasterOps) {
        switch (m_state.rop2) {
        case 6:
            mode = QPainter::RasterOp_NotDestination;
            break;
        case 7:
            mode = QPainter::RasterOp_SourceXorDestination;
            break;
        case 9:
            mode = QPainter::RasterOp_SourceAndDestination;
            break;
        case 10:
            mode = QPainter::RasterOp_NotSourceXorDestination;
            break;
        case 15:
            mode = QPainter::RasterOp_SourceOrDestination;
            break;
        default:
            break;
        }
    }
    m_painter.setCompositionMode(mode);
}

QPen GdiPainter::makePen() const
{
    const GdiPen &gdi = m_state.pen;
    const int lineStyle = gdi.lineStyle();
    if (lineStyle == GdiPen::Null)
        return QPen(Qt::NoPen);
    QColor colour = gdi.colour;
    if (m_state.rop2 == 1)
        colour = Qt::black;
    else if (m_state.rop2 == 16)
        colour = Qt::white;
    else if (m_state.rop2 == 4 || m_state.rop2 == 3)
        colour = QColor(255 - colour.red(), 255 - colour.green(), 255 - colour.blue());
    QPen pen(colour);
    const double scale = std::sqrt(std::abs(m_full.determinant()));
    const bool cosmetic = gdi.width <= 0 || gdi.width * scale < 1.0;
    if (cosmetic) {
        pen.setCosmetic(true);
        pen.setWidthF(1);
    } else {
        pen.setWidthF(gdi.width);
    }
    switch (gdi.style & 0xF00) {
    case 0x100:
        pen.setCapStyle(Qt::SquareCap);
        break;
    case 0x200:
        pen.setCapStyle(Qt::FlatCap);
        break;
    default:
        pen.setCapStyle(Qt::RoundCap);
        break;
    }
    switch (gdi.style & 0xF000) {
    case 0x1000:
        pen.setJoinStyle(Qt::BevelJoin);
        break;
    case 0x2000:
        pen.setJoinStyle(Qt::MiterJoin);
        break;
    default:
        pen.setJoinStyle(Qt::RoundJoin);
        break;
    }
    pen.setMiterLimit(10);

    QList<qreal> dashes;
    const double dashScale = cosmetic ? std::max(deviceScale(), 0.5) : 1.0;
    if (lineStyle == GdiPen::UserStyle) {
        const double unit = cosmetic ? 1.0 / dashScale : nonZero(gdi.width);
        for (double entry : gdi.userDashes)
            dashes.append(std::max(entry / unit, 0.01));
        if (dashes.size() % 2)
            dashes += QList<qreal>(dashes);
    } else if (cosmetic) {
        dashes = cosmeticDashes(lineStyle);
        for (qreal &d : dashes)
            d *= dashScale;
    } else {
        switch (lineStyle) {
        case GdiPen::Dash:
            pen.setStyle(Qt::DashLine);
            break;
        case GdiPen::Dot:
            pen.setStyle(Qt::DotLine);
            break;
        case GdiPen::DashDot:
            pen.setStyle(Qt::DashDotLine);
            break;
        case GdiPen::DashDotDot:
            pen.setStyle(Qt::DashDotDotLine);
            break;
        case GdiPen::Alternate:
            dashes = {1, 1};
            break;
        default:
            break;
        }
    }
    if (!dashes.isEmpty()) {
        if (cosmetic && (gdi.style & 0xF00) == 0)
            pen.setCapStyle(Qt::FlatCap); // round caps would fill the gaps of a 1-pixel pattern
        pen.setDashPattern(dashes);
    }
    return pen;
}

QBrush GdiPainter::makeBrush(const GdiBrush &gdi) const
{
    QBrush brush;
    switch (gdi.style) {
    case GdiBrush::Null:
        return QBrush(Qt::NoBrush);
    case GdiBrush::Solid:
        return QBrush(gdi.colour);
    case GdiBrush::Hatched:
        brush = QBrush(gdi.colour, hatchStyle(gdi.hatch));
        break;
    case GdiBrush::Pattern: {
        if (gdi.pattern.isNull())
            return QBrush(gdi.colour);
        QImage pattern = gdi.pattern;
        if (gdi.monochromePattern && pattern.format() == QImage::Format_Indexed8 &&
            pattern.colorCount() >= 2) {
            pattern.setColor(0, m_state.textColour.rgb());
            pattern.setColor(1, m_state.backgroundColour.rgb());
        }
        brush = QBrush(pattern);
        break;
    }
    }
    // Hatches and patterns are laid out in device pixels, whatever the mapping.
    bool invertible = false;
    const QTransform inverse = m_full.inverted(&invertible);
    if (invertible)
        brush.setTransform(inverse);
    return brush;
}

void GdiPainter::paintPath(const QPainterPath &source, bool fill, bool stroke)
{
    if (source.isEmpty() || !beginDraw(source.controlPointRect()))
        return;
    QPainterPath path = source;
    path.setFillRule(m_state.fillRule);
    useTransform(m_full);
    const bool brushVisible = fill && m_state.brush.style != GdiBrush::Null;
    if (brushVisible && m_state.brush.style == GdiBrush::Hatched && m_state.opaqueBackground)
        m_painter.fillPath(path, m_state.backgroundColour);
    m_painter.setBrush(brushVisible ? makeBrush(m_state.brush) : QBrush(Qt::NoBrush));
    m_painter.setPen(stroke ? makePen() : QPen(Qt::NoPen));
    m_painter.drawPath(path);
}

void GdiPainter::paintPolygon(const QPolygonF &points, bool close)
{
    if (points.size() < 2 || !beginDraw(points.boundingRect()))
        return;
    useTransform(m_full);
    m_painter.setPen(makePen());
    if (!close) {
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawPolyline(points);
        return;
    }
    const bool brushVisible = m_state.brush.style != GdiBrush::Null;
    if (brushVisible && m_state.brush.style == GdiBrush::Hatched && m_state.opaqueBackground) {
        QPainterPath path;
        path.addPolygon(points);
        path.setFillRule(m_state.fillRule);
        m_painter.fillPath(path, m_state.backgroundColour);
    }
    m_painter.setBrush(brushVisible ? makeBrush(m_state.brush) : QBrush(Qt::NoBrush));
    m_painter.drawPolygon(points, m_state.fillRule);
}

// ---- drawing ----

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
    if (m_pathOpen)
        addToPath(path, false);
    else
        paintPath(path, true, true);
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

void GdiPainter::rectangle(const QRectF &rect)
{
    QPainterPath path;
    path.addRect(rect.normalized());
    if (m_pathOpen)
        addToPath(path, false);
    else
        paintPath(path, true, true);
}

void GdiPainter::roundRect(const QRectF &rect, QSizeF corner)
{
    QPainterPath path;
    path.addRoundedRect(rect.normalized(), std::abs(corner.width()) / 2,
                        std::abs(corner.height()) / 2);
    if (m_pathOpen)
        addToPath(path, false);
    else
        paintPath(path, true, true);
}

void GdiPainter::ellipse(const QRectF &rect)
{
    QPainterPath path;
    path.addEllipse(rect.normalized());
    if (m_pathOpen)
        addToPath(path, false);
    else
        paintPath(path, true, true);
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

QFont GdiPainter::makeFont(double targetScaleX, double targetScaleY) const
{
    const GdiFont &gdi = m_state.font;
    QFont font;
    // The Symbol font's codes are mapped to Unicode already; any font with those characters serves.
    if (!gdi.face.isEmpty() && !isSymbolFace(gdi.face))
        font.setFamily(gdi.face);
    font.setWeight(QFont::Weight(std::clamp(gdi.weight <= 0 ? 400 : gdi.weight, 100, 900)));
    font.setItalic(gdi.italic);
    font.setUnderline(gdi.underline);
    font.setStrikeOut(gdi.strikeOut);
    font.setKerning(false);
    const double dpi = m_painter.device() ? m_painter.device()->logicalDpiY() : 96;
    auto setPixels = [&](double pixels) { font.setPointSizeF(pixels * 72.0 / dpi); };
    double pixels = gdi.height == 0 ? 16 * deviceScale() : std::abs(gdi.height) * targetScaleY;
    pixels = std::clamp(pixels, 0.1, 2000.0);
    setPixels(pixels);
    if (gdi.height > 0) { // a cell height: ascent plus descent
        const QFontMetricsF metrics(font, m_painter.device());
        const double cell = metrics.ascent() + metrics.descent();
        if (cell > 0)
            setPixels(std::clamp(pixels * pixels / cell, 0.1, 2000.0));
    }
    if (gdi.width > 0) {
        const QFontMetricsF metrics(font, m_painter.device());
        const double average = metrics.averageCharWidth();
        if (average > 0)
            font.setStretch(std::clamp(int(100 * gdi.width * targetScaleX / average), 1, 4000));
    }
    return font;
}

void GdiPainter::text(const GdiTextRun &run)
{
    const bool updateCurrent = m_state.textAlign & 1;
    const QPointF reference = updateCurrent ? m_state.current : run.reference;
    if (run.text.isEmpty() || !beginDraw(QRectF(reference, QSizeF(1, 1))))
        return;
    const QTransform &full = fullTransform();
    const double scaleX = std::hypot(full.m11(), full.m12());
    const double scaleY = std::hypot(full.m21(), full.m22());
    if (run.options & 0x0002 && !run.rect.isEmpty()) { // ETO_OPAQUE
        useTransform(full);
        m_painter.fillRect(run.rect.normalized(), m_state.backgroundColour);
    }
    const QFont font = makeFont(scaleX, scaleY);
    if (font.pointSizeF() < 0.3)
        return;
    const QFontMetricsF metrics(font, m_painter.device());

    // Advances along the baseline, in target pixels.
    QList<double> advances;
    double total = 0;
    const bool useDx = run.dx.size() >= run.text.size();
    if (useDx) {
        advances.reserve(run.text.size());
        for (qsizetype i = 0; i < run.text.size(); ++i) {
            const double step = run.dx.at(i) * scaleX;
            advances.append(step);
            total += step;
        }
    } else {
        total =
            metrics.horizontalAdvance(run.text) + m_state.textCharExtra * scaleX * run.text.size();
    }
    if (!std::isfinite(total))
        return;

    double x = 0;
    switch (m_state.textAlign & 6) {
    case 6:
        x = -total / 2;
        break;
    case 2:
        x = -total;
        break;
    default:
        break;
    }
    double y = 0;
    switch (m_state.textAlign & 24) {
    case 24:
        break;
    case 8:
        y = -metrics.descent();
        break;
    default:
        y = metrics.ascent();
        break;
    }
    const double worldAngle =
        qRadiansToDegrees(std::atan2(m_state.world.m12(), m_state.world.m11()));
    QTransform textSpace =
        QTransform::fromTranslate(full.map(reference).x(), full.map(reference).y());
    textSpace.rotate(worldAngle - m_state.font.escapement / 10.0);

    if (run.options & 0x0004 && !run.rect.isEmpty()) { // ETO_CLIPPED
        m_painter.save();
        useTransform(full);
        m_painter.setClipRect(run.rect.normalized(), Qt::IntersectClip);
    }
    useTransform(textSpace);
    if (m_state.opaqueBackground && !(run.options & 0x0002))
        m_painter.fillRect(QRectF(x, y - metrics.ascent(), total, metrics.height()),
                           m_state.backgroundColour);
    m_painter.setFont(font);
    m_painter.setPen(m_state.textColour);
    if (!useDx) {
        m_painter.drawText(QPointF(x, y), run.text);
    } else {
        double position = x;
        // Glyphs are drawn one by one: those off the visible area are skipped, and a
        // monstrous run stops with the budget.
        const double reach = metrics.height() + metrics.maxWidth();
        const QRectF visible =
            m_base.mapRect(m_outerClip.boundingRect()).adjusted(-reach, -reach, reach, reach);
        for (qsizetype i = 0; i < run.text.size(); ++i) {
            if ((i & 63) == 63 && m_budget.overTime())
                break;
            qsizetype length = 1;
            double advance = advances.at(i);
            if (run.text.at(i).isHighSurrogate() && i + 1 < run.text.size()) {
                length = 2;
                advance += advances.at(i + 1);
            }
            if (!visible.contains(textSpace.map(QPointF(position, y)))) {
                position += advance;
                i += length - 1;
                continue;
            }
            const QString glyph = run.text.mid(i, length);
            const double natural = metrics.horizontalAdvance(glyph);
            if (!glyph.at(0).isSpace() && advance > 0 && natural > advance * 1.05) {
                // A substitute font wider than the picture's own would overlap the
                // neighbours: condense the glyph into its cell.
                m_painter.save();
                m_painter.translate(position, y);
                m_painter.scale(advance / natural, 1);
                m_painter.drawText(QPointF(0, 0), glyph);
                m_painter.restore();
            } else if (!glyph.at(0).isSpace()) {
                m_painter.drawText(QPointF(position, y), glyph);
            }
            position += advance;
            i += length - 1;
        }
    }
    if (run.options & 0x0004 && !run.rect.isEmpty()) {
        m_painter.restore();
        m_clipDirty = true;
    }
    if (updateCurrent && scaleX > 0)
        m_state.current.rx() += total / scaleX;
}

// ---- bitmaps ----

void GdiPainter::drawImage(const QRectF &logicalDest, const QImage &image, const QRectF &sourceRect,
                           quint32 rop)
{
    if (image.isNull())
        return;
    const quint32 code = rop & 0x00FF0000;
    // Raster operations that do not read the source are pattern fills.
    if (code == 0xF00000 || code == 0x5A0000 || code == 0x000000 || code == 0xFF0000 ||
        code == 0x550000) {
        patBlt(logicalDest, rop);
        return;
    }
    if (code == 0xAA0000) // leaves the destination as it is
        return;
    QRectF source = sourceRect.isEmpty() ? QRectF(image.rect()) : sourceRect;
    if (source.width() == 0 || source.height() == 0 || logicalDest.width() == 0 ||
        logicalDest.height() == 0 || !beginDraw(logicalDest))
        return;
    const double sx = logicalDest.width() / source.width();
    const double sy = logicalDest.height() / source.height();
    const QTransform placement(sx, 0, 0, sy, logicalDest.x() - source.x() * sx,
                               logicalDest.y() - source.y() * sy);
    source = source.intersected(QRectF(image.rect()));
    if (source.isEmpty())
        return;
    QImage picture = image;
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    switch (code) {
    case 0x880000: // SRCAND
        mode = m_rasterOps ? QPainter::RasterOp_SourceAndDestination
                           : QPainter::CompositionMode_Multiply;
        break;
    case 0xEE0000: // SRCPAINT
        mode = m_rasterOps ? QPainter::RasterOp_SourceOrDestination
                           : QPainter::CompositionMode_Lighten;
        break;
    case 0x660000: // SRCINVERT
        mode = m_rasterOps ? QPainter::RasterOp_SourceXorDestination
                           : QPainter::CompositionMode_Difference;
        break;
    case 0x330000: // NOTSRCCOPY
        picture = image.convertToFormat(QImage::Format_RGB32);
        picture.invertPixels();
        break;
    default:
        break;
    }
    useTransform(placement * m_full);
    m_painter.setCompositionMode(mode);
    m_painter.drawImage(source, picture, source);
}

void GdiPainter::alphaBlend(const QRectF &logicalDest, const QImage &image,
                            const QRectF &sourceRect, int constantAlpha, bool perPixelAlpha)
{
    if (image.isNull())
        return;
    QImage picture;
    if (perPixelAlpha && image.format() == QImage::Format_ARGB32) {
        // The bits are premultiplied already; keep each channel within its alpha.
        picture = image.copy();
        picture.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < picture.height(); ++y) {
            QRgb *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
            for (int x = 0; x < picture.width(); ++x) {
                const int a = qAlpha(line[x]);
                line[x] = qRgba(std::min(qRed(line[x]), a), std::min(qGreen(line[x]), a),
                                std::min(qBlue(line[x]), a), a);
            }
        }
    } else {
        picture = image.convertToFormat(QImage::Format_RGB32);
    }
    const qreal opacity = m_painter.opacity();
    m_painter.setOpacity(opacity * std::clamp(constantAlpha, 0, 255) / 255.0);
    drawImage(logicalDest, picture.convertToFormat(QImage::Format_ARGB32_Premultiplied), sourceRect,
              0x00CC0020);
    m_painter.setOpacity(opacity);
}

void GdiPainter::patBlt(const QRectF &logicalDest, quint32 rop)
{
    const QRectF rect = logicalDest.normalized();
    if (rect.isEmpty() || !beginDraw(rect))
        return;
    useTransform(m_full);
    switch (rop & 0x00FF0000) {
    case 0x000000:
        m_painter.fillRect(rect, Qt::black);
        break;
    case 0xFF0000:
        m_painter.fillRect(rect, Qt::white);
        break;
    case 0x550000:
        if (m_rasterOps) {
            m_painter.setCompositionMode(QPainter::RasterOp_NotDestination);
            m_painter.fillRect(rect, Qt::black);
        }
        break;
    case 0xAA0000:
        break;
    case 0x5A0000:
        if (m_rasterOps)
            m_painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        [[fallthrough]];
    default:
        if (m_state.brush.style != GdiBrush::Null)
            m_painter.fillRect(rect, makeBrush(m_state.brush));
        break;
    }
}

void GdiPainter::gradientRect(QPointF from, QPointF to, const QColor &fromColour,
                              const QColor &toColour, bool vertical)
{
    const QRectF rect = QRectF(from, to).normalized();
    if (rect.isEmpty() || !beginDraw(rect))
        return;
    useTransform(m_full);
    QLinearGradient gradient(from,
                             vertical ? QPointF(from.x(), to.y()) : QPointF(to.x(), from.y()));
    gradient.setColorAt(0, fromColour);
    gradient.setColorAt(1, toColour);
    m_painter.fillRect(rect, gradient);
}

void GdiPainter::gradientTriangle(const QPolygonF &logical, const std::array<QColor, 3> &colours)
{
    if (logical.size() != 3 || !beginDraw(logical.boundingRect()))
        return;
    const QPolygonF corners = m_full.map(logical);
    const QRect visible = m_base.mapRect(m_outerClip.boundingRect()).toAlignedRect();
    const QRect box = corners.boundingRect().toAlignedRect().intersected(visible);
    const QPointF a = corners[0], b = corners[1], c = corners[2];
    const double area = (b.x() - a.x()) * (c.y() - a.y()) - (c.x() - a.x()) * (b.y() - a.y());
    if (box.isEmpty() || area == 0)
        return;
    // Shaded at most a million samples, then scaled onto the box.
    const double sampling =
        std::min(1.0, std::sqrt(1e6 / (double(box.width()) * double(box.height()))));
    QImage shade(std::max(1, int(box.width() * sampling)),
                 std::max(1, int(box.height() * sampling)), QImage::Format_ARGB32_Premultiplied);
    int rgb[3][3];
    for (int i = 0; i < 3; ++i) {
        rgb[i][0] = colours[i].red();
        rgb[i][1] = colours[i].green();
        rgb[i][2] = colours[i].blue();
    }
    for (int y = 0; y < shade.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(shade.scanLine(y));
        for (int x = 0; x < shade.width(); ++x) {
            const QPointF p(box.left() + (x + 0.5) / sampling, box.top() + (y + 0.5) / sampling);
            const double wa = std::clamp(
                ((b.x() - p.x()) * (c.y() - p.y()) - (c.x() - p.x()) * (b.y() - p.y())) / area, 0.0,
                1.0);
            const double wb = std::clamp(
                ((c.x() - p.x()) * (a.y() - p.y()) - (a.x() - p.x()) * (c.y() - p.y())) / area, 0.0,
                1.0);
            const double wc = std::clamp(1 - wa - wb, 0.0, 1.0);
            auto mix = [&](int channel) {
                return int(wa * rgb[0][channel] + wb * rgb[1][channel] + wc * rgb[2][channel]);
            };
            line[x] = qRgb(mix(0), mix(1), mix(2));
        }
    }
    QPainterPath clip;
    clip.addPolygon(corners);
    m_painter.save();
    m_painter.resetTransform();
    m_painter.setClipPath(clip, Qt::IntersectClip);
    m_painter.drawImage(QRectF(box), shade);
    m_painter.restore();
}

// ---- regions ----

void GdiPainter::fillRegion(const QPainterPath &logical, const GdiBrush &brush)
{
    if (logical.isEmpty() || brush.style == GdiBrush::Null ||
        !beginDraw(logical.controlPointRect()))
        return;
    useTransform(m_full);
    m_painter.fillPath(logical, makeBrush(brush));
}

void GdiPainter::frameRegion(const QPainterPath &logical, const GdiBrush &brush, QSizeF stroke)
{
    if (logical.isEmpty() || brush.style == GdiBrush::Null ||
        !beginDraw(logical.controlPointRect()))
        return;
    useTransform(m_full);
    QPen pen(makeBrush(brush), std::max(std::abs(stroke.width()), std::abs(stroke.height())));
    if (pen.widthF() * std::sqrt(std::abs(m_full.determinant())) < 1)
        pen.setCosmetic(true), pen.setWidthF(1);
    m_painter.strokePath(logical, pen);
}

void GdiPainter::invertRegion(const QPainterPath &logical)
{
    if (logical.isEmpty() || !m_rasterOps || !beginDraw(logical.controlPointRect()))
        return;
    useTransform(m_full);
    m_painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    m_painter.fillPath(logical, Qt::black);
}

} // namespace glintbox
