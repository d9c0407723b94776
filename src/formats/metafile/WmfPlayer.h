#pragma once

#include "ByteSpan.h"

#include <QByteArray>
#include <QRect>

#include <optional>

namespace glintbox {

class GdiPainter;

// The header of a Windows metafile, with or without the placeable header.
struct WmfHeader {
    bool placeable = false;
    QRect bounds;            // placeable: the picture in logical units
    int unitsPerInch = 1440; // placeable: logical units an inch
    qint64 recordsAt = 0;    // offset of the first record
    quint16 objects = 0;     // size of the object table
};

std::optional<WmfHeader> readWmfHeader(ByteSpan bytes);
// Whether the bytes at `at` begin a Windows metafile header (type, size and version).
bool opensWmfHeader(ByteSpan bytes, qint64 at);

// What a pass over the records learns before drawing: the first window the
// picture sets, and an enhanced metafile carried whole in its comments.
struct WmfSurvey {
    std::optional<QRectF> window; // origin and extent as the file sets them
    QByteArray embeddedEmf;
};
WmfSurvey surveyWmf(ByteSpan bytes, const WmfHeader &header);

// Plays the records of a Windows metafile on a GDI device context, checking
// every parameter against its record and every record against the file.
void playWmf(ByteSpan bytes, const WmfHeader &header, GdiPainter &gdi);

} // namespace glintbox
