#pragma once

#include "DcState.h"
#include "GdiFontCache.h"
#include "RenderBudget.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>

#include <array>
#include <vector>

namespace glintbox {

// Whether a shape's box on the painter is worth drawing: finite, and not so far out that it
// can only be garbage.
bool isSane(const QRectF &painterRect);

// The logical-to-device page transform of a mapping on a device.
QTransform pageTransform(const DcMapping &mapping, const GdiDevice &device);

// A line of text as a text-out record gives it.
struct GdiTextRun {
    QPointF reference; // logical
    QString text;
    QList<double> dx;    // logical advance of each character (may be empty)
    quint32 options = 0; // gdi::ExtTextOutOptions
    QRectF rect;         // logical, used with ETO_OPAQUE / ETO_CLIPPED
};

// The GDI device context both metafile players drive: state, object
// selection, mapping, clipping, paths, and drawing onto a QPainter whose
// target rectangle receives the picture's frame. Its work is split by topic:
// GdiPainter.cpp (mapping, state, pens and brushes), GdiPainterShapes.cpp
// (paths, lines and shapes), GdiPainterText.cpp, GdiPainterBitmaps.cpp
// (bitmaps and raster operations) and GdiPainterClipping.cpp (clipping and regions).
class GdiPainter {
public:
    // fonts keeps the fonts made for text, for the next replay of the same picture.
    GdiPainter(QPainter &painter, const GdiDevice &device, const QRectF &target,
               RenderBudget &budget, GdiFontCache &fonts);
    ~GdiPainter();
    GdiPainter(const GdiPainter &) = delete;
    GdiPainter &operator=(const GdiPainter &) = delete;

    // The whole state, to read; the mapping and the clip change through the setters below.
    const DcState &state() const { return m_state; }
    // The settings players set directly.
    DcAttributes &attributes() { return m_state; }
    RenderBudget &budget() { return m_budget; }
    // The picture's fonts and shaped glyphs, kept between repaints.
    GdiFontCache &fonts() { return m_fonts; }
    const GdiDevice &device() const { return m_device; }

    // For the other record language of enhanced metafiles (EMF+), which keeps its own state:
    // the painter inside the picture's clip and deviceClip (device units) when given, with
    // the transform deviceToPainter() to draw in device units; nullptr once the budget is spent.
    QPainter *beginForeignDraw(const QPainterPath *deviceClip);
    QTransform deviceToPainter() const { return m_deviceToTarget * m_base; }

    // Mapping
    void setMapMode(gdi::MapMode mode);
    void setWindowOrg(QPointF origin);
    void setWindowExt(QSizeF extent);
    void setViewportOrg(QPointF origin);
    void setViewportExt(QSizeF extent);
    void setWorldTransform(const QTransform &transform);
    void modifyWorldTransform(const QTransform &transform, gdi::ModifyWorldTransformMode mode);
    QTransform logicalToDevice();

    // State stack; relative < 0 pops that many, relative > 0 returns to that level.
    void saveDc();
    void restoreDc(int relative);

    void select(const GdiObject &object);

    // Clipping (rectangles in logical units, regions in device units)
    void intersectClipRect(const QRectF &logical);
    void excludeClipRect(const QRectF &logical);
    void selectClipRegion(const QPainterPath &device, gdi::RegionMode mode);
    void resetClip();
    void offsetClip(QPointF logicalOffset);

    // Paths
    void beginPath();
    void endPath() { m_pathOpen = false; }
    void abortPath();
    void closeFigure();
    void fillPath();
    void strokePath();
    void strokeAndFillPath();
    void selectClipPath(gdi::RegionMode mode);

    // Drawing, in logical units
    void moveTo(QPointF point);
    void lineTo(QPointF point);
    void polyline(const QPolygonF &points);
    void polylineTo(const QPolygonF &points);
    void polygon(const QPolygonF &points);
    void polyPolygon(const QList<QPolygonF> &polygons);
    void polyPolyline(const QList<QPolygonF> &polylines);
    void polyBezier(const QPolygonF &points, bool fromCurrent);
    void rectangle(const QRectF &rect);
    void roundRect(const QRectF &rect, QSizeF corner);
    void ellipse(const QRectF &rect);
    enum class ArcKind { Arc, ArcTo, Chord, Pie };
    void arc(ArcKind kind, const QRectF &rect, QPointF start, QPointF end);
    void angleArc(QPointF centre, double radius, double startDegrees, double sweepDegrees);
    void setPixel(QPointF point, const QColor &colour);
    void text(const GdiTextRun &run);
    // A region given in logical units, as device units for clipping.
    QPainterPath toDevice(const QPainterPath &logical) { return logicalToDevice().map(logical); }

    // Bitmaps and raster operations; source in image pixels, top row first.
    void drawImage(const QRectF &logicalDest, const QImage &image, const QRectF &source,
                   quint32 rop);
    void alphaBlend(const QRectF &logicalDest, const QImage &image, const QRectF &source,
                    int constantAlpha, bool perPixelAlpha);
    void patBlt(const QRectF &logicalDest, quint32 rop);
    // Gradient fills: a rectangle from corner to corner, a triangle shaded between its corners.
    void gradientRect(QPointF from, QPointF to, const QColor &fromColour, const QColor &toColour,
                      bool vertical);
    void gradientTriangle(const QPolygonF &logical, const std::array<QColor, 3> &colours);

    // Regions in device units (clipping) or logical units (painting).
    void fillRegion(const QPainterPath &logical, const GdiBrush &brush);
    void frameRegion(const QPainterPath &logical, const GdiBrush &brush, QSizeF stroke);
    void invertRegion(const QPainterPath &logical);

private:
    bool beginDraw(const QRectF &logicalBounds);
    void useTransform(const QTransform &transform);
    void applyClip();
    QPen makePen() const;
    QBrush makeBrush(const GdiBrush &brush) const;
    // The composition mode and pen colour that stand for the binary raster operation.
    void applyRop2();
    QColor penColourUnderRop2(const QColor &colour) const;
    void paintPath(const QPainterPath &path, bool fill, bool stroke);
    void paintPolygon(const QPolygonF &points, bool close);
    void addToPath(const QPainterPath &logical, bool connect);
    // A closed figure: added to the open path, or filled and stroked at once.
    void drawClosed(const QPainterPath &logical);
    void combineClip(const QPainterPath &device, gdi::RegionMode mode);
    QPainterPath arcPath(ArcKind kind, const QRectF &rect, QPointF start, QPointF end) const;
    const QTransform &fullTransform();
    double deviceScale() const;
    void mappingChanged() { m_transformDirty = true; }
    int deviceDpi() const;
    QFont makeFont(double targetScaleX, double targetScaleY) const;
    // Draws each character at its own advance (target pixels), from start in text space.
    void drawSpacedGlyphs(const QString &text, const QList<double> &advances, QPointF start,
                          const QTransform &textSpace, GdiFontCache::Entry &font);

    QPainter &m_painter;
    GdiDevice m_device;
    QRectF m_target;
    RenderBudget &m_budget;
    QTransform m_base;           // painter transform at entry
    QTransform m_deviceToTarget; // device units to target coordinates
    QPainterPath m_everything;   // the whole drawable area, device units
    DcState m_state;
    std::vector<DcState> m_saved;
    QPainterPath m_path; // logical units
    bool m_pathOpen = false;
    bool m_clipDirty = true;
    bool m_rasterOps = false;
    bool m_transformDirty = true;
    QTransform m_logicalToDevice;
    QTransform m_full;        // logical units to painter device coordinates
    QPainterPath m_outerClip; // painter coordinates at entry
    // The clip the last drawing from outside left on the painter, while no other replaced it.
    bool m_foreignClipOnPainter = false;
    bool m_foreignClipped = false;
    QPainterPath m_foreignClip; // device units
    GdiFontCache &m_fonts;
};

} // namespace glintbox
