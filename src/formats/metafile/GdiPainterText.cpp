// Text output: the font a record selects, placed by the text alignment and the
// character advances the record gives.
#include "GdiPainter.h"

#include "formats/fonts/SymbolFonts.h"

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

// The characters a symbol font's codes show. Each code keeps its advance: a character
// outside the basic plane takes it on its first half, a code without a glyph becomes a space.
// A font of the symbol character set we have no table for shows its codes as the byte values.
void showSymbolCodes(fonts::SymbolFont font, QString &text, QList<double> &dx)
{
    QString shown;
    QList<double> advances;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t code = text.at(i).unicode();
        QString glyph;
        if (font != fonts::SymbolFont::None)
            glyph = fonts::symbolFontText(font, code);
        else
            glyph = QChar(code >= 0xF020 && code <= 0xF0FF ? code - 0xF000 : code);
        if (glyph.isEmpty())
            glyph = QStringLiteral(" ");
        shown += glyph;
        if (i < dx.size()) {
            advances.append(dx.at(i));
            for (qsizetype k = 1; k < glyph.size(); ++k)
                advances.append(0);
        }
    }
    text = shown;
    if (!dx.isEmpty())
        dx = advances;
}

} // namespace

int GdiPainter::deviceDpi() const
{
    return m_painter.device() ? m_painter.device()->logicalDpiY() : 96;
}

QFont GdiPainter::makeFont(double targetScaleX, double targetScaleY) const
{
    const GdiFont &gdi = m_state.font;
    QFont font;
    // A symbol font's codes are mapped to Unicode: fonts that have those characters draw them.
    if (fonts::isSymbolFont(gdi.face))
        font.setFamilies(fonts::symbolGlyphFamilies());
    else if (!gdi.face.isEmpty())
        font.setFamily(gdi.face);
    font.setWeight(QFont::Weight(std::clamp(gdi.weight <= 0 ? 400 : gdi.weight, 100, 900)));
    font.setItalic(gdi.italic);
    font.setUnderline(gdi.underline);
    font.setStrikeOut(gdi.strikeOut);
    font.setKerning(false);
    auto setPixels = [&](double pixels) { font.setPointSizeF(pixels * 72.0 / deviceDpi()); };
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

void GdiPainter::text(const GdiTextRun &record)
{
    const bool updateCurrent = m_state.textAlign & TA_UPDATECP;
    const QPointF reference = updateCurrent ? m_state.current : record.reference;
    const QRectF rect = record.rect.normalized();
    // An opaque rectangle is filled even when no text goes with it.
    if (record.options & ETO_OPAQUE && !rect.isEmpty() && beginDraw(rect)) {
        useTransform(fullTransform());
        m_painter.fillRect(rect, m_state.backgroundColour);
    }
    if (record.text.isEmpty() || !beginDraw(QRectF(reference, QSizeF(1, 1))))
        return;
    GdiTextRun run = record;
    const fonts::SymbolFont symbol = fonts::symbolFontNamed(m_state.font.face);
    if (symbol != fonts::SymbolFont::None || m_state.font.charset == SYMBOL_CHARSET)
        showSymbolCodes(symbol, run.text, run.dx);
    const QTransform &full = fullTransform();
    const double scaleX = std::hypot(full.m11(), full.m12());
    const double scaleY = std::hypot(full.m21(), full.m22());
    const GdiFontCache::Key key{m_state.font, QSizeF(scaleX, scaleY), deviceScale(), deviceDpi()};
    GdiFontCache::Entry *cached = m_fonts.find(key);
    if (!cached)
        cached = &m_fonts.insert(key, makeFont(scaleX, scaleY), m_painter.device());
    const QFont &font = cached->font;
    if (font.pointSizeF() < 0.3)
        return;
    const QFontMetricsF &metrics = cached->metrics;

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
    // The escapement turns counter-clockwise in logical space: a mapping that flips one axis
    // (y growing upwards) turns it the other way on the device.
    const double sense = m_logicalToDevice.determinant() < 0 ? -1 : 1;
    QTransform textSpace =
        QTransform::fromTranslate(full.map(reference).x(), full.map(reference).y());
    textSpace.rotate(worldAngle - sense * m_state.font.escapement / 10.0);

    const bool clipped = run.options & ETO_CLIPPED && !rect.isEmpty();
    if (clipped) {
        m_painter.save();
        useTransform(full);
        m_painter.setClipRect(rect, Qt::IntersectClip);
    }
    useTransform(textSpace);
    if (m_state.opaqueBackground && !(run.options & ETO_OPAQUE))
        m_painter.fillRect(QRectF(start.x(), start.y() - metrics.ascent(), total, metrics.height()),
                           m_state.backgroundColour);
    m_painter.setFont(font);
    m_painter.setPen(m_state.textColour);
    if (useDx)
        drawSpacedGlyphs(run.text, advances, start, textSpace, *cached);
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
                                  const QTransform &textSpace, GdiFontCache::Entry &font)
{
    const QFontMetricsF &metrics = font.metrics;
    double position = start.x();
    const double y = start.y();
    // Glyphs are drawn one by one: those off the visible area are skipped, and a
    // monstrous run stops with the budget.
    const double reach = metrics.height() + metrics.maxWidth();
    const QRectF visible =
        m_base.mapRect(m_outerClip.boundingRect()).adjusted(-reach, -reach, reach, reach);
    for (qsizetype i = 0, cells = 1; i < text.size(); ++cells) {
        if ((cells & 63) == 0 && m_budget.overTime())
            break;
        // One cell: a character (both halves of a pair), and the characters after it that
        // take no advance of their own, such as the second letter of a ligature, which
        // would otherwise land on top of the first.
        qsizetype end = i;
        double advance = 0;
        do {
            advance += advances.at(end);
            ++end;
            if (text.at(end - 1).isHighSurrogate() && end < text.size())
                advance += advances.at(end++);
        } while (end < text.size() && advances.at(end) == 0 && !text.at(end).isSpace());
        const QString glyph = text.mid(i, end - i);
        i = end;
        if (glyph.at(0).isSpace() || !visible.contains(textSpace.map(QPointF(position, y)))) {
            position += advance;
            continue;
        }
        const GdiFontCache::Glyph &shaped = font.glyph(glyph, m_painter.device());
        const double natural = shaped.advance;
        const bool condensed = advance > 0 && natural > advance * 1.05;
        if (condensed) {
            // A substitute font wider than the picture's own would overlap the
            // neighbours: condense the glyph into its cell.
            m_painter.save();
            m_painter.translate(position, y);
            m_painter.scale(advance / natural, 1);
        }
        const QPointF origin = condensed ? QPointF(0, 0) : QPointF(position, y);
        for (const QGlyphRun &run : shaped.runs)
            m_painter.drawGlyphRun(origin, run);
        if (condensed)
            m_painter.restore();
        position += advance;
    }
}

} // namespace glintbox
