#include "GdiObjects.h"

namespace glintbox {

GdiObjectTable::GdiObjectTable(qsizetype capacity)
    : m_capacity(std::clamp<qsizetype>(capacity, 1, 65536))
{
}

bool GdiObjectTable::put(quint32 index, GdiObject object)
{
    if (qsizetype(index) >= m_capacity)
        return false;
    if (qsizetype(index) >= qsizetype(m_objects.size()))
        m_objects.resize(index + 1);
    m_objects[index] = std::move(object);
    return true;
}

bool GdiObjectTable::add(GdiObject object)
{
    for (auto &slot : m_objects) {
        if (slot.kind == GdiObject::Kind::Empty) {
            slot = std::move(object);
            return true;
        }
    }
    if (qsizetype(m_objects.size()) >= m_capacity)
        return false;
    m_objects.push_back(std::move(object));
    return true;
}

const GdiObject *GdiObjectTable::at(quint32 index) const
{
    if (index >= m_objects.size() || m_objects[index].kind == GdiObject::Kind::Empty)
        return nullptr;
    return &m_objects[index];
}

void GdiObjectTable::remove(quint32 index)
{
    if (index < m_objects.size())
        m_objects[index] = GdiObject();
}

GdiObject GdiObjectTable::stockObject(quint32 index)
{
    GdiObject object;
    const quint32 stock = index & 0x7FFFFFFFu;
    auto brush = [&](GdiBrush::Style style, int grey) {
        object.kind = GdiObject::Kind::Brush;
        object.brush.style = style;
        object.brush.colour = QColor(grey, grey, grey);
    };
    auto pen = [&](int style, int grey) {
        object.kind = GdiObject::Kind::Pen;
        object.pen.style = style;
        object.pen.colour = QColor(grey, grey, grey);
    };
    switch (stock) {
    case 0:
        brush(GdiBrush::Solid, 255);
        break;
    case 1:
        brush(GdiBrush::Solid, 192);
        break;
    case 2:
        brush(GdiBrush::Solid, 128);
        break;
    case 3:
        brush(GdiBrush::Solid, 64);
        break;
    case 4:
        brush(GdiBrush::Solid, 0);
        break;
    case 5:
        brush(GdiBrush::Null, 0);
        break;
    case 6:
        pen(GdiPen::Solid, 255);
        break;
    case 7:
        pen(GdiPen::Solid, 0);
        break;
    case 8:
        pen(GdiPen::Null, 0);
        break;
    case 18:
        brush(GdiBrush::Solid, 255);
        break; // DC brush
    case 19:
        pen(GdiPen::Solid, 0);
        break; // DC pen
    case 10:
    case 11:
    case 16:
        object.kind = GdiObject::Kind::Font;
        object.font.face = QStringLiteral("Monospace");
        break;
    case 12:
    case 13:
    case 14:
    case 17:
        object.kind = GdiObject::Kind::Font;
        break;
    case 15:
        object.kind = GdiObject::Kind::Palette;
        break;
    default:
        break;
    }
    return object;
}

} // namespace glintbox
