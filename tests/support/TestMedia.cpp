#include "TestMedia.h"

#include <QBuffer>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QtEndian>
#include <cmath>

namespace glintbox {

namespace {

QByteArray le32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray le16(quint16 value)
{
    QByteArray bytes(2, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray chunk(const QByteArray &id, const QByteArray &body)
{
    return id + le32(quint32(body.size())) + body;
}

} // namespace

QByteArray sineWav()
{
    const int rate = 8000;
    QByteArray samples;
    for (int i = 0; i < rate * 3 / 10; ++i)
        samples += le16(quint16(qint16(8000 * std::sin(2 * M_PI * 440 * i / rate))));
    const QByteArray format = le16(1) + le16(1) + le32(rate) + le32(rate * 2) + le16(2) + le16(16);
    const QByteArray chunks = chunk("fmt ", format) + chunk("data", samples);
    return "RIFF" + le32(quint32(4 + chunks.size())) + "WAVE" + chunks;
}

QByteArray bitmapFile(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

bool makeMovie(const QString &path, QSize size, int frames)
{
    const QString gstLaunch = QStandardPaths::findExecutable(QStringLiteral("gst-launch-1.0"));
    if (gstLaunch.isEmpty())
        return false;
    const QStringList pipeline = {
        "-q",
        "videotestsrc",
        QStringLiteral("num-buffers=%1").arg(frames),
        "!",
        QStringLiteral("video/x-raw,width=%1,height=%2,framerate=10/1")
            .arg(size.width())
            .arg(size.height()),
        "!",
        "jpegenc",
        "!",
        "avimux",
        "!",
        "filesink",
        "location=" + path,
    };
    return QProcess::execute(gstLaunch, pipeline) == 0;
}

} // namespace glintbox
