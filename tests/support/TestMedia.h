#pragma once

#include <QByteArray>
#include <QColor>
#include <QSize>
#include <QString>

namespace glintbox {

// 300 ms of a 440 Hz sine as a 16-bit mono wave file.
QByteArray sineWav();

// A bitmap file of one colour.
QByteArray bitmapFile(QSize size, QColor colour);

// Writes a short MJPEG movie in an AVI file with gst-launch-1.0; false when
// the tool is missing or fails (callers skip).
bool makeMovie(const QString &path, QSize size, int frames = 30);

} // namespace glintbox
