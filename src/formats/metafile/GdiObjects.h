#pragma once

#include "GdiConstants.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QString>

#include <vector>

namespace glintbox {

// A COLORREF (0x00BBGGRR) as a colour.
inline QColor gdiColour(quint32 colorRef)
{
    return QColor(int(colorRef & 0xFF), int(colorRef >> 8 & 0xFF), int(colorRef >> 16 & 0xFF));
}

// A GDI pen: style bits as written in the metafile (gdi::PenStyle), width in logical units.
struct GdiPen {
    quint32 style = gdi::PS_SOLID; // with cap, join and type bits
    double width = 0;
    QColor colour = Qt::black;
    QList<double> userDashes; // logical units, on and off lengths
    quint32 lineStyle() const { return style & gdi::PenLineStyleMask; }
};

// A GDI brush: solid, hollow, hatched or a bitmap pattern.
struct GdiBrush {
    enum Style { Solid, Null, Hatched, Pattern };
    Style style = Solid;
    QColor colour = Qt::white;
    quint32 hatch = gdi::HS_HORIZONTAL;
    QImage pattern;
    bool monochromePattern = false; // 1-bit pattern drawn in text and background colours
};

// The brush a LogBrush object describes (style gdi::BrushStyle, hatch gdi::HatchStyle);
// styles that need a bitmap it does not carry paint solid.
GdiBrush logBrush(quint32 style, QColor colour, quint32 hatch);

// A logical font as a metafile describes it, sizes in logical units.
struct GdiFont {
    double height = 0; // negative: character height; positive: cell height
    double width = 0;
    int escapement = 0; // tenths of a degree, counter-clockwise
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charset = 0;
    QString face;
    bool operator==(const GdiFont &) const = default;
};

// One entry of a metafile's object table.
struct GdiObject {
    enum class Kind { Empty, Pen, Brush, Font, Palette, Region };
    Kind kind = Kind::Empty;
    GdiPen pen;
    GdiBrush brush;
    GdiFont font;
    QList<QRgb> palette;
    QPainterPath region;
};

// The object table of a playing metafile: objects created at an index (EMF) or in
// the lowest free slot (WMF), selected and deleted by index, bounded in size.
class GdiObjectTable {
public:
    explicit GdiObjectTable(qsizetype capacity);

    // EMF: stores at an explicit index; false when the index is out of range.
    bool put(quint32 index, GdiObject object);
    // WMF: stores in the lowest free slot; false when the table is full.
    bool add(GdiObject object);
    // The object at index, or null for an empty or out-of-range slot.
    const GdiObject *at(quint32 index) const;
    void remove(quint32 index);

    // Stock objects (gdi::StockObject) have the top bit of their index set.
    static bool isStock(quint32 index) { return index & 0x80000000u; }
    static GdiObject stockObject(quint32 index);

private:
    std::vector<GdiObject> m_objects;
    qsizetype m_capacity;
};

} // namespace glintbox
