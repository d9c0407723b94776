// Bitmaps, gradients and the raster operations that combine what is drawn with
// what lies below.
#include "GdiPainter.h"

#include <QLinearGradient>

#include <cmath>

namespace glintbox {

using namespace gdi;

void GdiPainter::applyRop2()
{
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    if (m_rasterOps) {
        switch (m_state.rop2) {
        case R2_NOT:
            mode = QPainter::RasterOp_NotDestination;
            break;
        case R2_XORPEN:
            mode = QPainter::RasterOp_SourceXorDestination;
            break;
        case R2_MASKPEN:
            mode = QPainter::RasterOp_SourceAndDestination;
            break;
        case R2_NOTXORPEN:
            mode = QPainter::RasterOp_NotSourceXorDestination;
            break;
        case R2_MERGEPEN:
            mode = QPainter::RasterOp_SourceOrDestination;
            break;
        default:
            break;
        }
    }
    m_painter.setCompositionMode(mode);
}

QColor GdiPainter::penColourUnderRop2(const QColor &colour) const
{
    switch (m_state.rop2) {
    case R2_BLACK:
        return Qt::black;
    case R2_WHITE:
        return Qt::white;
    case R2_MASKNOTPEN:
    case R2_NOTCOPYPEN:
        return QColor(255 - colour.red(), 255 - colour.green(), 255 - colour.blue());
    default:
        return colour;
    }
}

void GdiPainter::drawImage(const QRectF &logicalDest, const QImage &image, const QRectF &sourceRect,
                           quint32 rop)
{
    if (image.isNull())
        return;
    const quint32 operation = ropIndex(rop);
    // Raster operations that do not read the source are pattern fills.
    if (operation == ropIndex(PATCOPY) || operation == ropIndex(PATINVERT) ||
        operation == ropIndex(BLACKNESS) || operation == ropIndex(WHITENESS) ||
        operation == ropIndex(DSTINVERT)) {
        patBlt(logicalDest, rop);
        return;
    }
    if (operation == ropIndex(gdi::D))
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
    // Without raster operations (a printer, a picture recorder) the nearest blend stands in.
    switch (operation) {
    case ropIndex(SRCAND):
        mode = m_rasterOps ? QPainter::RasterOp_SourceAndDestination
                           : QPainter::CompositionMode_Multiply;
        break;
    case ropIndex(SRCPAINT):
        mode = m_rasterOps ? QPainter::RasterOp_SourceOrDestination
                           : QPainter::CompositionMode_Lighten;
        break;
    case ropIndex(SRCINVERT):
        mode = m_rasterOps ? QPainter::RasterOp_SourceXorDestination
                           : QPainter::CompositionMode_Difference;
        break;
    case ropIndex(NOTSRCCOPY):
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
              SRCCOPY);
    m_painter.setOpacity(opacity);
}

void GdiPainter::patBlt(const QRectF &logicalDest, quint32 rop)
{
    const QRectF rect = logicalDest.normalized();
    if (rect.isEmpty() || !beginDraw(rect))
        return;
    useTransform(m_full);
    switch (ropIndex(rop)) {
    case ropIndex(BLACKNESS):
        m_painter.fillRect(rect, Qt::black);
        break;
    case ropIndex(WHITENESS):
        m_painter.fillRect(rect, Qt::white);
        break;
    case ropIndex(DSTINVERT):
        if (m_rasterOps) {
            m_painter.setCompositionMode(QPainter::RasterOp_NotDestination);
            m_painter.fillRect(rect, Qt::black);
        }
        break;
    case ropIndex(gdi::D):
        break;
    case ropIndex(PATINVERT):
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

} // namespace glintbox
