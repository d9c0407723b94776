#pragma once

#include "ByteSpan.h"

#include <QRect>
#include <QSize>

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

} // namespace glintbox
