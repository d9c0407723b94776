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
    using namespace gdi;
    GdiObject object;
    auto brush = [&](GdiBrush::Style style, int grey) {
        object.kind = GdiObject::Kind::Brush;
        object.brush.style = style;
        object.brush.colour = QColor(grey, grey, grey);
    };
    auto pen = [&](quint32 style, int grey) {
        object.kind = GdiObject::Kind::Pen;
        object.pen.style = style;
        object.pen.colour = QColor(grey, grey, grey);
    };
    switch (index | 0x80000000u) {
    case WHITE_BRUSH:
    case DC_BRUSH: // at its default colour
        brush(GdiBrush::Solid, 255);
        break;
    case LTGRAY_BRUSH:
        brush(GdiBrush::Solid, 192);
        break;
    case GRAY_BRUSH:
        brush(GdiBrush::Solid, 128);
        break;
    case DKGRAY_BRUSH:
        brush(GdiBrush::Solid, 64);
        break;
    case BLACK_BRUSH:
        brush(GdiBrush::Solid, 0);
        break;
    case NULL_BRUSH:
        brush(GdiBrush::Null, 0);
        break;
    case WHITE_PEN:
        pen(PS_SOLID, 255);
        break;
    case BLACK_PEN:
    case DC_PEN: // at its default colour
        pen(PS_SOLID, 0);
        break;
    case NULL_PEN:
        pen(PS_NULL, 0);
        break;
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case SYSTEM_FIXED_FONT:
        object.kind = GdiObject::Kind::Font;
        object.font.face = QStringLiteral("Monospace");
        break;
    case ANSI_VAR_FONT:
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
    case DEFAULT_GUI_FONT:
        object.kind = GdiObject::Kind::Font;
        break;
    case DEFAULT_PALETTE:
        object.kind = GdiObject::Kind::Palette;
        break;
    default:
        break;
    }
    return object;
}

GdiBrush logBrush(quint32 style, QColor colour, quint32 hatch)
{
    GdiBrush brush;
    brush.colour = colour;
    brush.hatch = hatch;
    brush.style = style == gdi::BS_NULL      ? GdiBrush::Null
                  : style == gdi::BS_HATCHED ? GdiBrush::Hatched
                                             : GdiBrush::Solid;
    return brush;
}

} // namespace glintbox
