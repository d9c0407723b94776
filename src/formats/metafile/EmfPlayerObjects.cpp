// Object records: pens, brushes, fonts and palettes, made into the object table and
// selected into the device context.
#include "EmfPlayer.h"

#include "GdiPainter.h"

namespace glintbox {

using namespace gdi;

void EmfPlayer::createPen(ByteSpan r, bool extended)
{
    GdiObject object;
    object.kind = GdiObject::Kind::Pen;
    if (extended) {
        object.pen.style = r.u32(28);
        object.pen.width = r.u32(32);
        object.pen.colour = gdiColour(r.u32(40));
        if (r.u32(36) == BS_NULL) // the brush the pen strokes with
            object.pen.style = PS_NULL;
        const qint64 entries = r.u32(48);
        if (object.pen.lineStyle() == PS_USERSTYLE && entries <= 64 &&
            r.contains(52, entries * 4)) {
            for (qint64 i = 0; i < entries; ++i)
                object.pen.userDashes.append(r.u32(52 + i * 4));
        }
        if (object.pen.lineStyle() == PS_USERSTYLE && object.pen.userDashes.isEmpty())
            object.pen.style &= ~PenLineStyleMask; // solid
    } else {
        object.pen.style = r.u32(12);
        object.pen.width = r.i32(16);
        object.pen.colour = gdiColour(r.u32(24));
    }
    m_objects.put(r.u32(8), std::move(object));
}

void EmfPlayer::createBrush(ByteSpan r)
{
    GdiObject object;
    object.kind = GdiObject::Kind::Brush;
    object.brush = logBrush(r.u32(12), gdiColour(r.u32(16)), r.u32(20));
    m_objects.put(r.u32(8), std::move(object));
}

void EmfPlayer::createPatternBrush(ByteSpan r, bool mono)
{
    GdiObject object;
    object.kind = GdiObject::Kind::Brush;
    object.brush.style = GdiBrush::Pattern;
    object.brush.colour = Qt::black;
    object.brush.pattern = dib(r, 16, 24, r.u32(12)).opaque();
    object.brush.monochromePattern = mono;
    if (object.brush.pattern.isNull())
        object.brush.style = GdiBrush::Solid;
    m_objects.put(r.u32(8), std::move(object));
}

void EmfPlayer::createFont(ByteSpan r)
{
    GdiObject object;
    object.kind = GdiObject::Kind::Font;
    GdiFont &font = object.font;
    font.height = r.i32(12);
    font.width = std::abs(r.i32(16));
    font.escapement = r.i32(20);
    font.weight = r.i32(28);
    font.italic = r.u8(32);
    font.underline = r.u8(33);
    font.strikeOut = r.u8(34);
    font.charset = r.u8(35);
    for (int i = 0; i < 32; ++i) {
        const char16_t c = r.u16(40 + i * 2);
        if (!c)
            break;
        font.face.append(QChar(c));
    }
    m_objects.put(r.u32(8), std::move(object));
}

void EmfPlayer::createPalette(ByteSpan r)
{
    GdiObject object;
    object.kind = GdiObject::Kind::Palette;
    const qint64 count = r.u16(14);
    for (qint64 i = 0; i < count && r.contains(16 + i * 4, 4); ++i)
        object.palette.append(qRgb(r.u8(16 + i * 4), r.u8(17 + i * 4), r.u8(18 + i * 4)));
    m_objects.put(r.u32(8), std::move(object));
}

void EmfPlayer::selectObject(quint32 index)
{
    if (GdiObjectTable::isStock(index)) {
        m_gdi.select(GdiObjectTable::stockObject(index));
        return;
    }
    if (const GdiObject *object = m_objects.at(index))
        m_gdi.select(*object);
}

const GdiBrush *EmfPlayer::brushAt(quint32 index)
{
    if (GdiObjectTable::isStock(index)) {
        m_stock = GdiObjectTable::stockObject(index);
        return m_stock.kind == GdiObject::Kind::Brush ? &m_stock.brush : nullptr;
    }
    const GdiObject *object = m_objects.at(index);
    return object && object->kind == GdiObject::Kind::Brush ? &object->brush : nullptr;
}

} // namespace glintbox
