#pragma once

#include "ByteSpan.h"
#include "EmfPlusRecords.h"

#include <QBrush>
#include <QByteArray>
#include <QImage>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QString>

#include <optional>

namespace glintbox {

// An EMF+ colour (ARGB) as a colour.
inline QColor emfPlusColour(quint32 argb)
{
    return QColor::fromRgba(argb);
}

// Points of an EMF+ record from `at`: 16-bit integers (compressed), relative steps, or floats.
// Empty when the record does not hold them all.
QPolygonF readEmfPlusPoints(ByteSpan data, qint64 at, qint64 count, quint16 flags);
// A rectangle as x, y, width, height: 16-bit integers (compressed) or floats.
QRectF readEmfPlusRect(ByteSpan data, qint64 at, bool compressed);

// A shape drawn at the end of a line, such as an arrow head: in units of the pen's width,
// the line's end at the origin and the line arriving along the y axis.
struct EmfPlusLineCap {
    QPainterPath shape;
    bool filled = true;
};

// A pen: its line in pen units and the brush its strokes are painted with.
struct EmfPlusPen {
    QPen pen; // style, caps, join and dashes; the width is set when drawn
    double width = 1;
    quint32 unit = emfplus::UnitWorld;
    QBrush brush;
    std::optional<EmfPlusLineCap> startCap;
    std::optional<EmfPlusLineCap> endCap;
};

// A region: the area of its nodes, or everything.
struct EmfPlusRegion {
    QPainterPath path;
    bool infinite = false;
};

// An image: a bitmap, or a whole metafile to draw in its place.
struct EmfPlusImage {
    QImage bitmap;
    QByteArray metafile;
};

struct EmfPlusFont {
    double emSize = 12;
    quint32 unit = emfplus::UnitWorld;
    quint32 style = 0;
    QString family;
};

struct EmfPlusStringFormat {
    quint32 flags = 0;
    quint32 alignment = emfplus::StringAlignmentNear;
    quint32 lineAlignment = emfplus::StringAlignmentNear;
};

// One entry of the EMF+ object table.
struct EmfPlusObjectData {
    quint8 type = 0; // emfplus::ObjectType; 0 for an empty slot
    QBrush brush;    // world units
    EmfPlusPen pen;
    QPainterPath path; // world units
    EmfPlusRegion region;
    EmfPlusImage image;
    EmfPlusFont font;
    EmfPlusStringFormat format;
};

// Reads a whole serialised object; nothing when its data is not one it can use.
std::optional<EmfPlusObjectData> readEmfPlusObject(quint8 type, ByteSpan data);

} // namespace glintbox
