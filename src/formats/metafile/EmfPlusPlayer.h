#pragma once

#include "ByteSpan.h"
#include "EmfPlusObjects.h"

#include <QByteArray>
#include <QPainterPath>
#include <QTransform>

#include <array>
#include <optional>
#include <vector>

class QPainter;

namespace glintbox {

class GdiPainter;

// Plays the EMF+ records that GDI+ writes into the comments of an enhanced metafile, on
// the device context the enhanced records draw on. Once a file shows EMF+ records, its
// enhanced drawing records are the fallback for players without EMF+ and are skipped,
// except those that follow a GetDC record up to the next EMF+ records.
// Its work is split by topic: EmfPlusPlayer.cpp (records, state, shapes),
// EmfPlusPlayerText.cpp (strings) and EmfPlusPlayerImages.cpp (images).
class EmfPlusPlayer {
public:
    explicit EmfPlusPlayer(GdiPainter &gdi)
        : m_gdi(gdi)
    {
    }

    // Plays the records of one EMF+ comment (the data after its identifier).
    void playComment(ByteSpan records);
    // Whether the enhanced record that comes next is to be drawn.
    bool drawsGdiRecords() const { return !m_active || m_getDc; }

private:
    struct State {
        QTransform world;
        quint32 pageUnit = emfplus::UnitDisplay;
        double pageScale = 1;
        bool clipped = false;
        QPainterPath clip; // device units
    };
    struct SavedState {
        quint32 index;
        State state;
    };

    void record(quint16 type, quint16 flags, ByteSpan data);
    void object(quint16 flags, ByteSpan data);
    void saveState(quint32 index, const QTransform &containerTransform);
    void restoreState(quint32 index);
    void setClip(const QPainterPath &world, quint32 combine, bool infinite = false);

    // Units to device pixels of the picture's reference (EMF+ pixels), by the header's dpi.
    double pixelsPerUnit(quint32 unit) const;
    // World units to the device units of the enhanced metafile.
    QTransform worldToDevice() const;
    // The painter ready to draw in world units, or nullptr when nothing may be drawn there.
    QPainter *beginDraw(const QRectF &worldBounds);
    const EmfPlusObjectData *objectAt(quint32 id, quint8 type) const;
    std::optional<QBrush> brushOf(quint16 flags, quint32 brushId) const;

    void fill(const QPainterPath &world, const QBrush &brush);
    // A path reaching far beyond the picture (a region made from the infinite one) cut to
    // the picture's frame, so that it can be drawn and combined.
    QPainterPath withinFrame(const QPainterPath &world) const;
    void stroke(const QPainterPath &world, quint32 penId);
    // Custom caps (arrow heads) at the ends of the open figures of a stroked path.
    void drawLineCaps(QPainter &painter, const QPainterPath &world, const EmfPlusPen &gdiPen,
                      QPen pen, double width);
    void fillRects(quint16 flags, ByteSpan data);
    void drawRects(quint16 flags, ByteSpan data);
    void drawLines(quint16 flags, ByteSpan data);
    void drawCurve(quint16 flags, ByteSpan data, bool closed, bool filled);
    QPainterPath arc(const QRectF &rect, double start, double sweep, bool pie) const;

    void drawString(quint16 flags, ByteSpan data);
    void drawDriverString(quint16 flags, ByteSpan data);
    // The font of an object, sized in painter pixels for a world scale, and the text it shows.
    QFont fontFor(const EmfPlusFont &font, double pixelsPerWorld, double dpi, QString &text) const;
    void drawImage(quint16 flags, ByteSpan data, bool parallelogram);

    GdiPainter &m_gdi;
    bool m_active = false;
    bool m_getDc = false;
    double m_dpiX = 96;
    double m_dpiY = 96;
    State m_state;
    std::vector<SavedState> m_saved;
    std::array<EmfPlusObjectData, 64> m_objects;
    // An object whose data spans several records, gathered until it is whole.
    std::optional<quint8> m_pendingId;
    quint32 m_pendingSize = 0;
    QByteArray m_pending;
};

} // namespace glintbox
