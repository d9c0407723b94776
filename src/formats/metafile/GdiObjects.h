#pragma once

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

// A GDI pen: style bits as written in the metafile, width in logical units.
struct GdiPen {
    enum Style {
        Solid = 0,
        Dash = 1,
        Dot = 2,
        DashDot = 3,
        DashDotDot = 4,
        Null = 5,
        InsideFrame = 6,
        UserStyle = 7,
        Alternate = 8
    };
    int style = Solid; // with cap, join and type bits
    double width = 0;
    QColor colour = Qt::black;
    QList<double> userDashes; // logical units, on and off lengths
    bool geometric() const { return (style & 0xF0000) == 0x10000; }
    int lineStyle() const { return style & 0x0F; }
};

// A GDI brush: solid, hollow, hatched or a bitmap pattern.
struct GdiBrush {
    enum Style { Solid, Null, Hatched, Pattern };
    Style style = Solid;
    QColor colour = Qt::white;
    int hatch = 0;
    QImage pattern;
    bool monochromePattern = false; // 1-bit pattern drawn in text and background colours
};

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

    // Stock objects, addressed in EMF by index | 0x80000000.
    static bool isStock(quint32 index) { return index & 0x80000000u; }
    static GdiObject stockObject(quint32 index);

private:
    std::vector<GdiObject> m_objects;
    qsizetype m_capacity;
};

} // namespace glintbox
