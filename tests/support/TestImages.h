#pragma once

#include <QBuffer>
#include <QColor>
#include <QImage>

namespace glintbox {

// A picture of one colour.
inline QImage filledImage(int width, int height, const QColor &colour = Qt::red)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A picture as the bytes of a file of the given format ("BMP", "JPEG", "ICO").
inline QByteArray encodedImage(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

} // namespace glintbox
