#pragma once

#include <QByteArray>
#include <QImage>

namespace glintbox {

// Decodes a bitmap, GIF, JPEG, icon or cursor file. The kind is read from the
// bytes, never from the file name. An icon or cursor gives its largest image;
// a photo is turned upright as its camera recorded. Throws RunTimeError
// InvalidPicture for anything else, for damaged files and for pictures too
// large to decode safely.
QImage decodeRasterPicture(const QByteArray &bytes);

} // namespace glintbox
