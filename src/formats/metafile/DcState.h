#pragma once

#include "GdiConstants.h"
#include "GdiObjects.h"

#include <QPainterPath>
#include <QPointF>
#include <QSizeF>
#include <QTransform>

namespace glintbox {

// Where a picture's device space lies and how large its units are.
struct GdiDevice {
    QRectF frame;                                // the picture, in device units
    QSizeF unitsPerMm{96.0 / 25.4, 96.0 / 25.4}; // device units a millimetre (metric map modes)
    bool windowMapsToFrame = false; // the window lands on the frame unless a viewport extent is set
};

// The settings of a device context that the next drawing reads as they are, so
// players set them straight from their records.
struct DcAttributes {
    GdiPen pen;
    GdiBrush brush;
    GdiFont font;
    QList<QRgb> palette;
    QColor textColour = Qt::black;
    QColor backgroundColour = Qt::white;
    bool opaqueBackground = true;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    gdi::BinaryRasterOperation rop2 = gdi::R2_COPYPEN;
    quint32 textAlign = gdi::TA_NOUPDATECP | gdi::TA_LEFT | gdi::TA_TOP;
    bool arcClockwise = false;
    double textCharExtra = 0;
};

// The page and world mapping from logical units to device units.
struct DcMapping {
    gdi::MapMode mapMode = gdi::MM_TEXT;
    QPointF windowOrg;
    QSizeF windowExt{1, 1};
    QPointF viewportOrg;
    QSizeF viewportExt{1, 1};
    bool windowOrgSet = false;
    bool windowExtSet = false;
    bool viewportOrgSet = false;
    bool viewportExtSet = false;
    QTransform world;
};

// Everything SaveDC keeps. The mapping and the clip change only through GdiPainter,
// which caches the transform and the painter clip made from them.
struct DcState : DcAttributes {
    DcMapping mapping;
    bool clipped = false;
    QPainterPath clip; // device units
    QPointF current;   // logical units
};

} // namespace glintbox
