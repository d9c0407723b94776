#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>

namespace glintbox {

// A picture file's bytes: one colour of the given size in the given format.
inline QByteArray encodedImage(QSize size, QColor colour, const char *format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

} // namespace glintbox
