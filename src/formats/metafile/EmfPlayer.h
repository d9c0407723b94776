#pragma once

#include "ByteSpan.h"
#include "Dib.h"
#include "GdiObjects.h"

#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QPolygonF>
#include <QRect>
#include <QSize>

#include <algorithm>
#include <optional>

namespace glintbox {

class GdiPainter;

// The parts of an enhanced metafile's header that place and size the picture.
struct EmfHeader {
    QRectF bounds;    // device units, inclusive (right and bottom are drawn)
    QRectF frame;     // 0.01 mm
    QSize deviceSize; // reference device, pixels
    QSize deviceMm;   // reference device, millimetres
    quint32 handles = 0;
};

// Reads the header of an enhanced metafile; nothing when the bytes are not one.
std::optional<EmfHeader> readEmfHeader(ByteSpan bytes);

// Plays the records of an enhanced metafile on a GDI device context. Every
// record is checked against its own size and the file; a bad record is skipped
// and a record that would leave the file ends the playback.
void playEmf(ByteSpan bytes, GdiPainter &gdi);

// The player behind playEmf, holding the object table. Its work is split by topic:
// EmfPlayer.cpp (the records, shapes and text), EmfPlayerBitmaps.cpp (blits and
// gradients) and EmfPlayerObjects.cpp (pens, brushes, fonts, palettes).
class EmfPlayer {
public:
    EmfPlayer(ByteSpan file, GdiPainter &gdi, quint32 handles)
        : m_file(file)
        , m_gdi(gdi)
        , m_objects(qsizetype(std::max<quint32>(handles, 1)))
    {
    }
    void play();

private:
    // The largest point count of one record; records are bounded by the file anyway.
    static constexpr qint64 MaxPoints = 4'000'000;

    void record(quint32 type, ByteSpan r);
    QRectF rectAt(ByteSpan r, qint64 at) const;
    QPointF pointAt(ByteSpan r, qint64 at) const { return QPointF(r.i32(at), r.i32(at + 4)); }
    QPolygonF points(ByteSpan r, qint64 at, qint64 count, bool small) const;
    QList<QPolygonF> polyPoints(ByteSpan r, bool small) const;
    void polyDraw(ByteSpan r, bool small);
    // A region's rectangles; nothing when the data is not a whole region.
    std::optional<QPainterPath> region(ByteSpan data) const;
    DecodedDib dib(ByteSpan r, qint64 bmiAt, qint64 bitsAt, quint32 usage) const;
    void text(ByteSpan r, bool wide);
    void smallText(ByteSpan r);
    void blit(quint32 type, ByteSpan r);
    void gradient(ByteSpan r);
    // A masked blit's source with the pixels its mask leaves alone made transparent.
    QImage masked(ByteSpan r, const QImage &image, QPointF sourceAt) const;
    void createPen(ByteSpan r, bool extended);
    void createBrush(ByteSpan r);
    void createPatternBrush(ByteSpan r, bool mono);
    void createFont(ByteSpan r);
    void createPalette(ByteSpan r);
    void selectObject(quint32 index);
    const GdiBrush *brushAt(quint32 index);

    ByteSpan m_file;
    GdiPainter &m_gdi;
    GdiObjectTable m_objects;
    GdiObject m_stock;
};

} // namespace glintbox
