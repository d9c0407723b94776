// EMF+ text: strings laid out in a rectangle by their string format, and strings whose
// characters the record places one by one.
#include "EmfPlusPlayer.h"

#include "GdiPainter.h"

#include "formats/fonts/SymbolFonts.h"

#include <QPaintDevice>
#include <QPainter>

#include <cmath>

namespace glintbox {

using namespace emfplus;

namespace {

constexpr qint64 MaxStringLength = 65'536;

Qt::Alignment alignment(quint32 value, Qt::Alignment near, Qt::Alignment centre, Qt::Alignment far)
{
    return value == StringAlignmentNear ? near : value == StringAlignmentCenter ? centre : far;
}

// Painter pixels a world unit of the painter's transform spans.
double pixelsPerWorld(const QPainter &painter)
{
    return std::sqrt(std::abs(painter.transform().determinant()));
}

double dpiOf(const QPainter &painter)
{
    return painter.device() ? painter.device()->logicalDpiY() : 96;
}

} // namespace

QFont EmfPlusPlayer::fontFor(const EmfPlusFont &font, double pixelsPerWorld, double dpi,
                             QString &text) const
{
    double em = font.emSize;
    if (font.unit != UnitWorld) // a size in page-independent units
        em = em * pixelsPerUnit(font.unit) / (pixelsPerUnit(m_state.pageUnit) * m_state.pageScale);
    QFont result;
    if (const fonts::SymbolFont symbol = fonts::symbolFontNamed(font.family);
        symbol != fonts::SymbolFont::None) {
        QString shown;
        for (const QChar c : std::as_const(text))
            shown += fonts::symbolFontText(symbol, c.unicode());
        text = shown;
        result.setFamilies(fonts::symbolGlyphFamilies());
    } else {
        result.setFamily(font.family);
    }
    result.setBold(font.style & FontStyleBold);
    result.setItalic(font.style & FontStyleItalic);
    result.setUnderline(font.style & FontStyleUnderline);
    result.setStrikeOut(font.style & FontStyleStrikeout);
    result.setKerning(false);
    const double pixels = em * pixelsPerWorld;
    result.setPointSizeF(std::isfinite(pixels) ? std::clamp(pixels, 0.0, 2000.0) * 72 / dpi : 0.0);
    return result;
}

void EmfPlusPlayer::drawString(quint16 flags, ByteSpan data)
{
    const EmfPlusObjectData *font = objectAt(flags & ObjectIdMask, ObjectFont);
    const auto brush = brushOf(flags, data.u32(0));
    const EmfPlusObjectData *format = objectAt(data.u32(4), ObjectStringFormat);
    const qint64 length = data.u32(8);
    const QRectF layout = readEmfPlusRect(data, 12, false);
    // Laying out a string costs with its length; a page of text is far shorter than this.
    if (!font || !brush || length == 0 || length > MaxStringLength ||
        !data.contains(28, length * 2))
        return;
    QString text(length, Qt::Uninitialized);
    for (qint64 i = 0; i < length; ++i)
        text[i] = QChar(data.u16(28 + i * 2));
    QPainter *painter =
        beginDraw(layout.isEmpty() ? QRectF(layout.topLeft(), QSizeF(1, 1)) : layout);
    if (!painter)
        return;
    const double scale = pixelsPerWorld(*painter);
    const QFont qfont = fontFor(font->font, scale, dpiOf(*painter), text);
    if (qfont.pointSizeF() * dpiOf(*painter) / 72 < 0.3 || scale <= 0)
        return;
    const EmfPlusStringFormat style = format ? format->format : EmfPlusStringFormat();
    Qt::Alignment align =
        alignment(style.alignment, Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight) |
        alignment(style.lineAlignment, Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom);
    int textFlags = int(align) | Qt::TextDontClip;
    if (layout.width() > 0 && !(style.flags & StringFormatNoWrap))
        textFlags |= Qt::TextWordWrap;
    // Laid out in painter pixels, turned and placed by the world transform.
    painter->setTransform(QTransform::fromScale(1 / scale, 1 / scale) * painter->transform());
    painter->setFont(qfont);
    QBrush pixelBrush = *brush;
    pixelBrush.setTransform(pixelBrush.transform() * QTransform::fromScale(scale, scale));
    painter->setPen(QPen(pixelBrush, 1));
    const QRectF box(layout.topLeft() * scale, layout.size() * scale);
    painter->drawText(box, textFlags, text);
}

void EmfPlusPlayer::drawDriverString(quint16 flags, ByteSpan data)
{
    const EmfPlusObjectData *font = objectAt(flags & ObjectIdMask, ObjectFont);
    const auto brush = brushOf(flags, data.u32(0));
    const quint32 options = data.u32(4);
    const qint64 count = data.u32(12);
    const qint64 positionsAt = 16 + count * 2;
    // Glyph numbers of a font we do not have cannot be drawn; character codes can.
    if (!font || !brush || count == 0 || !(options & DriverStringCmapLookup) ||
        !data.contains(positionsAt, count * 8))
        return;
    QString text(count, Qt::Uninitialized);
    for (qint64 i = 0; i < count; ++i)
        text[i] = QChar(data.u16(16 + i * 2));
    const QPolygonF positions = readEmfPlusPoints(data, positionsAt, count, 0);
    QTransform glyphTransform;
    if (data.u32(8) && data.contains(positionsAt + count * 8, 24)) {
        const qint64 at = positionsAt + count * 8;
        glyphTransform = QTransform(data.f32(at), data.f32(at + 4), data.f32(at + 8),
                                    data.f32(at + 12), data.f32(at + 16), data.f32(at + 20));
    }
    QPainter *painter = beginDraw(positions.boundingRect().adjusted(-1, -1, 1, 1));
    if (!painter || !glyphTransform.isInvertible())
        return;
    painter->setTransform(glyphTransform * painter->transform());
    const double scale = pixelsPerWorld(*painter);
    const QString codes = text;
    const QFont qfont = fontFor(font->font, scale, dpiOf(*painter), text);
    if (qfont.pointSizeF() * dpiOf(*painter) / 72 < 0.3 || scale <= 0)
        return;
    painter->setTransform(QTransform::fromScale(1 / scale, 1 / scale) * painter->transform());
    painter->setFont(qfont);
    QBrush pixelBrush = *brush;
    pixelBrush.setTransform(pixelBrush.transform() * QTransform::fromScale(scale, scale));
    painter->setPen(QPen(pixelBrush, 1));
    if (options & DriverStringRealizedAdvance || text.size() != codes.size()) {
        painter->drawText(positions.first() * scale, text);
        return;
    }
    // Each character at its own place, shaped once for the picture (and its repaints).
    GdiFontCache::Entry &cached = m_gdi.fonts().entryFor(qfont, painter->device());
    for (qint64 i = 0; i < count; ++i) {
        if ((i & 63) == 63 && m_gdi.budget().overTime())
            break;
        const QPointF origin = positions.at(i) * scale;
        for (const QGlyphRun &run : cached.glyph(text.mid(i, 1), painter->device()).runs)
            painter->drawGlyphRun(origin, run);
    }
}

} // namespace glintbox
