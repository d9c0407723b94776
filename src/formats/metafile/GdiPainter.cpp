#include "GdiPainter.h"

#include <QPaintEngine>

#include <cmath>

namespace glintbox {

using namespace gdi;

namespace {

constexpr int MaxSavedStates = 4096;
// A shape reaching further than this many target pixels is garbage: the
// rasteriser's time grows with a polygon's size, about 50 ms a million pixels.
constexpr double MaxCoordinate = 1e6;

double nonZero(double value)
{
    return value == 0 ? 1 : value;
}

QList<qreal> cosmeticDashes(quint32 lineStyle)
{
    switch (lineStyle) {
    case PS_DASH:
        return {18, 6};
    case PS_DOT:
        return {3, 3};
    case PS_DASHDOT:
        return {9, 6, 3, 6};
    case PS_DASHDOTDOT:
        return {9, 3, 3, 3, 3, 3};
    case PS_ALTERNATE:
        return {1, 1};
    default:
        return {};
    }
}

Qt::BrushStyle hatchStyle(quint32 hatch)
{
    switch (hatch) {
    case HS_HORIZONTAL:
        return Qt::HorPattern;
    case HS_VERTICAL:
        return Qt::VerPattern;
    case HS_FDIAGONAL:
        return Qt::FDiagPattern;
    case HS_BDIAGONAL:
        return Qt::BDiagPattern;
    case HS_CROSS:
        return Qt::CrossPattern;
    default:
        return Qt::DiagCrossPattern;
    }
}

} // namespace

bool isSane(const QRectF &rect)
{
    return std::isfinite(rect.left()) && std::isfinite(rect.top()) && std::isfinite(rect.right()) &&
           std::isfinite(rect.bottom()) && std::abs(rect.left()) < MaxCoordinate &&
           std::abs(rect.right()) < MaxCoordinate && std::abs(rect.top()) < MaxCoordinate &&
           std::abs(rect.bottom()) < MaxCoordinate;
}

QTransform pageTransform(const DcMapping &mapping, const GdiDevice &device)
{
    double sx = 1;
    double sy = 1;
    QPointF windowOrg = mapping.windowOrg;
    QPointF viewportOrg = mapping.viewportOrg;
    MapMode mode = mapping.mapMode;
    if (device.windowMapsToFrame && mode == MM_TEXT)
        mode = MM_ANISOTROPIC;
    auto metric = [&](double mmPerUnit) {
        sx = mmPerUnit * device.unitsPerMm.width();
        sy = -mmPerUnit * device.unitsPerMm.height();
    };
    switch (mode) {
    case MM_LOMETRIC:
        metric(0.1);
        break;
    case MM_HIMETRIC:
        metric(0.01);
        break;
    case MM_LOENGLISH:
        metric(0.254);
        break;
    case MM_HIENGLISH:
        metric(0.0254);
        break;
    case MM_TWIPS:
        metric(25.4 / 1440);
        break;
    case MM_ISOTROPIC:
    case MM_ANISOTROPIC: {
        QSizeF windowExt = mapping.windowExt;
        QSizeF viewportExt = mapping.viewportExt;
        if (!mapping.viewportExtSet && device.windowMapsToFrame) {
            // A Windows metafile player sets the viewport to the picture's frame.
            if (!mapping.windowExtSet)
                windowExt = device.frame.size();
            if (!mapping.windowOrgSet)
                windowOrg = device.frame.topLeft();
            viewportExt = device.frame.size();
            if (!mapping.viewportOrgSet)
                viewportOrg = device.frame.topLeft();
        }
        sx = viewportExt.width() / nonZero(windowExt.width());
        sy = viewportExt.height() / nonZero(windowExt.height());
        if (mode == MM_ISOTROPIC) {
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
                       RenderBudget &budget, GdiFontCache &fonts)
    : m_painter(painter)
    , m_device(device)
    , m_target(target)
    , m_budget(budget)
    , m_fonts(fonts)
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

void GdiPainter::setMapMode(MapMode mode)
{
    if (mode < MM_TEXT || mode > MM_ANISOTROPIC)
        return;
    m_state.mapping.mapMode = mode;
    mappingChanged();
}

void GdiPainter::setWindowOrg(QPointF origin)
{
    m_state.mapping.windowOrg = origin;
    m_state.mapping.windowOrgSet = true;
    mappingChanged();
}

void GdiPainter::setWindowExt(QSizeF extent)
{
    if (extent.width() == 0 || extent.height() == 0)
        return;
    m_state.mapping.windowExt = extent;
    m_state.mapping.windowExtSet = true;
    mappingChanged();
}

void GdiPainter::setViewportOrg(QPointF origin)
{
    m_state.mapping.viewportOrg = origin;
    m_state.mapping.viewportOrgSet = true;
    mappingChanged();
}

void GdiPainter::setViewportExt(QSizeF extent)
{
    if (extent.width() == 0 || extent.height() == 0)
        return;
    m_state.mapping.viewportExt = extent;
    m_state.mapping.viewportExtSet = true;
    mappingChanged();
}

void GdiPainter::setWorldTransform(const QTransform &transform)
{
    if (!transform.isInvertible())
        return;
    m_state.mapping.world = transform;
    mappingChanged();
}

void GdiPainter::modifyWorldTransform(const QTransform &transform, ModifyWorldTransformMode mode)
{
    QTransform &world = m_state.mapping.world;
    switch (mode) {
    case MWT_IDENTITY:
        world = QTransform();
        break;
    case MWT_LEFTMULTIPLY:
        setWorldTransform(transform * world);
        break;
    case MWT_RIGHTMULTIPLY:
        setWorldTransform(world * transform);
        break;
    case MWT_SET:
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
        m_logicalToDevice = m_state.mapping.world * pageTransform(m_state.mapping, m_device);
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
        selectClipRegion(toDevice(object.region), RGN_COPY);
        break;
    case GdiObject::Kind::Empty:
        break;
    }
}

bool GdiPainter::beginDraw(const QRectF &logicalBounds)
{
    if (m_budget.exhausted() || m_state.rop2 == R2_NOP)
        return false;
    if (m_state.clipped && m_state.clip.isEmpty()) // Qt takes an empty clip path for none
        return false;
    if (!isSane(fullTransform().mapRect(logicalBounds)))
        return false;
    applyClip();
    applyRop2();
    return true;
}

QPen GdiPainter::makePen() const
{
    const GdiPen &gdi = m_state.pen;
    const quint32 lineStyle = gdi.lineStyle();
    if (lineStyle == PS_NULL)
        return QPen(Qt::NoPen);
    QPen pen(penColourUnderRop2(gdi.colour));
    const double scale = std::sqrt(std::abs(m_full.determinant()));
    const bool cosmetic = gdi.width <= 0 || gdi.width * scale < 1.0;
    if (cosmetic) {
        pen.setCosmetic(true);
        pen.setWidthF(1);
    } else {
        pen.setWidthF(gdi.width);
    }
    const quint32 endCap = gdi.style & PenEndCapMask;
    switch (endCap) {
    case PS_ENDCAP_SQUARE:
        pen.setCapStyle(Qt::SquareCap);
        break;
    case PS_ENDCAP_FLAT:
        pen.setCapStyle(Qt::FlatCap);
        break;
    default:
        pen.setCapStyle(Qt::RoundCap);
        break;
    }
    switch (gdi.style & PenJoinMask) {
    case PS_JOIN_BEVEL:
        pen.setJoinStyle(Qt::BevelJoin);
        break;
    case PS_JOIN_MITER:
        pen.setJoinStyle(Qt::MiterJoin);
        break;
    default:
        pen.setJoinStyle(Qt::RoundJoin);
        break;
    }
    pen.setMiterLimit(10);

    QList<qreal> dashes;
    const double dashScale = cosmetic ? std::max(deviceScale(), 0.5) : 1.0;
    if (lineStyle == PS_USERSTYLE) {
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
        case PS_DASH:
            pen.setStyle(Qt::DashLine);
            break;
        case PS_DOT:
            pen.setStyle(Qt::DotLine);
            break;
        case PS_DASHDOT:
            pen.setStyle(Qt::DashDotLine);
            break;
        case PS_DASHDOTDOT:
            pen.setStyle(Qt::DashDotDotLine);
            break;
        case PS_ALTERNATE:
            dashes = {1, 1};
            break;
        default:
            break;
        }
    }
    if (!dashes.isEmpty()) {
        if (cosmetic && endCap == PS_ENDCAP_ROUND)
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

} // namespace glintbox
