// Text output: the font a record selects, placed by the text alignment and the
// character advances the record gives.
#include "GdiPainter.h"

#include "GdiText.h"

#include <QFontMetricsF>
#include <QtMath>

#include <cmath>

namespace glintbox {

using namespace gdi;

namespace {

// Where the text starts relative to its reference point, in the text's own pixels
// (baseline at y 0), for a run of the given width.
QPointF alignedStart(quint32 textAlign, double width, const QFontMetricsF &metrics)
{
    double x = 0;
    switch (textAlign & TextAlignHorizontal) {
    case TA_CENTER:
        x = -width / 2;
        break;
    case TA_RIGHT:
        x = -width;
        break;
    default:
        break;
    }
    double y = 0;
    switch (textAlign & TextAlignVertical) {
    case TA_BASELINE:
        break;
    case TA_BOTTOM:
        y = -metrics.descent();
        break;
    default:
        y = metrics.ascent();
        break;
    }
    return QPointF(x, y);
}

} // namespace

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
            font.setStretch(int(std::clamp(100 * gdi.width * targetScaleX / average, 1.0, 4000.0)));
    }
    return font;
}

void GdiPainter::text(const GdiTextRun &run)
{
    const bool updateCurrent = m_state.textAlign & TA_UPDATECP;
    const QPointF reference = updateCurrent ? m_state.current : run.reference;
    if (run.text.isEmpty() || !beginDraw(QRectF(reference, QSizeF(1, 1))))
        return;
    const QTransform &full = fullTransform();
    const double scaleX = std::hypot(full.m11(), full.m12());
    const double scaleY = std::hypot(full.m21(), full.m22());
    if (run.options & ETO_OPAQUE && !run.rect.isEmpty()) {
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

    const QPointF start = alignedStart(m_state.textAlign, total, metrics);
    const QTransform &world = m_state.mapping.world;
    const double worldAngle = qRadiansToDegrees(std::atan2(world.m12(), world.m11()));
    QTransform textSpace =
        QTransform::fromTranslate(full.map(reference).x(), full.map(reference).y());
    textSpace.rotate(worldAngle - m_state.font.escapement / 10.0);

    const bool clipped = run.options & ETO_CLIPPED && !run.rect.isEmpty();
    if (clipped) {
        m_painter.save();
        useTransform(full);
        m_painter.setClipRect(run.rect.normalized(), Qt::IntersectClip);
    }
    useTransform(textSpace);
    if (m_state.opaqueBackground && !(run.options & ETO_OPAQUE))
        m_painter.fillRect(QRectF(start.x(), start.y() - metrics.ascent(), total, metrics.height()),
                           m_state.backgroundColour);
    m_painter.setFont(font);
    m_painter.setPen(m_state.textColour);
    if (useDx)
        drawSpacedGlyphs(run.text, advances, start, textSpace, metrics);
    else
        m_painter.drawText(start, run.text);
    if (clipped) {
        m_painter.restore();
        m_clipDirty = true;
    }
    if (updateCurrent && scaleX > 0)
        m_state.current.rx() += total / scaleX;
}

void GdiPainter::drawSpacedGlyphs(const QString &text, const QList<double> &advances, QPointF start,
                                  const QTransform &textSpace, const QFontMetricsF &metrics)
{
    double position = start.x();
    const double y = start.y();
    // Glyphs are drawn one by one: those off the visible area are skipped, and a
    // monstrous run stops with the budget.
    const double reach = metrics.height() + metrics.maxWidth();
    const QRectF visible =
        m_base.mapRect(m_outerClip.boundingRect()).adjusted(-reach, -reach, reach, reach);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if ((i & 63) == 63 && m_budget.overTime())
            break;
        qsizetype length = 1;
        double advance = advances.at(i);
        if (text.at(i).isHighSurrogate() && i + 1 < text.size()) {
            length = 2;
            advance += advances.at(i + 1);
        }
        if (!visible.contains(textSpace.map(QPointF(position, y)))) {
            position += advance;
            i += length - 1;
            continue;
        }
        const QString glyph = text.mid(i, length);
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

} // namespace glintbox
