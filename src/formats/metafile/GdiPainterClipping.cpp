// Clipping and regions: the clip is kept in device units and handed to the
// QPainter only when something is drawn.
#include "GdiPainter.h"

#include <cmath>

namespace glintbox {

using namespace gdi;

void GdiPainter::combineClip(const QPainterPath &device, RegionMode mode)
{
    const QPainterPath &current = m_state.clipped ? m_state.clip : m_everything;
    QPainterPath result;
    switch (mode) {
    case RGN_AND:
        result = current.intersected(device);
        break;
    case RGN_OR:
        if (!m_state.clipped)
            return;
        result = current.united(device);
        break;
    case RGN_XOR:
        result = current.united(device).subtracted(current.intersected(device));
        break;
    case RGN_DIFF:
        result = current.subtracted(device);
        break;
    case RGN_COPY:
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
    combineClip(toDevice(path), RGN_AND);
}

void GdiPainter::excludeClipRect(const QRectF &logical)
{
    QPainterPath path;
    path.addRect(logical.normalized());
    combineClip(toDevice(path), RGN_DIFF);
}

void GdiPainter::selectClipRegion(const QPainterPath &device, RegionMode mode)
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
    m_foreignClipOnPainter = false;
    m_painter.setTransform(m_base);
    m_painter.setClipPath(m_outerClip);
    if (m_state.clipped) {
        m_painter.setTransform(m_deviceToTarget * m_base);
        m_painter.setClipPath(m_state.clip, Qt::IntersectClip);
    }
    m_clipDirty = false;
}

QPainter *GdiPainter::beginForeignDraw(const QPainterPath *deviceClip)
{
    if (m_budget.exhausted())
        return nullptr;
    if (deviceClip && deviceClip->isEmpty()) // Qt takes an empty clip path for none
        return nullptr;
    // Records from outside come in runs under one clip: handing it to Qt again would cost
    // as much as a small drawing.
    const bool sameClip = m_foreignClipOnPainter && m_foreignClipped == (deviceClip != nullptr) &&
                          (!deviceClip || *deviceClip == m_foreignClip);
    if (!sameClip) {
        m_painter.setTransform(m_base);
        m_painter.setClipPath(m_outerClip);
        if (deviceClip) {
            m_painter.setTransform(deviceToPainter());
            m_painter.setClipPath(*deviceClip, Qt::IntersectClip);
        }
        m_foreignClipOnPainter = true;
        m_foreignClipped = deviceClip != nullptr;
        m_foreignClip = deviceClip ? *deviceClip : QPainterPath();
    }
    m_painter.setTransform(deviceToPainter());
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter.setOpacity(1);
    m_clipDirty = true; // the device context's own clip returns with its next drawing
    return &m_painter;
}

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
