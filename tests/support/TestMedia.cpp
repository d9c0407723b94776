#include "TestMedia.h"
#include "TestImages.h"

#include <QProcess>
#include <QStandardPaths>
#include <QtEndian>
#include <cmath>

namespace glintbox {

namespace {

template<typename T> QByteArray le(T value)
{
    QByteArray bytes(sizeof(T), '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray chunk(const QByteArray &id, const QByteArray &body)
{
    return id + le<quint32>(quint32(body.size())) + body;
}

} // namespace

QByteArray sineWav()
{
    const int rate = 8000;
    QByteArray samples;
    for (int i = 0; i < rate * 3 / 10; ++i)
        samples += le<quint16>(quint16(qint16(8000 * std::sin(2 * M_PI * 440 * i / rate))));
    const QByteArray format = le<quint16>(1) + le<quint16>(1) + le<quint32>(rate) +
                              le<quint32>(rate * 2) + le<quint16>(2) + le<quint16>(16);
    const QByteArray chunks = chunk("fmt ", format) + chunk("data", samples);
    return "RIFF" + le<quint32>(quint32(4 + chunks.size())) + "WAVE" + chunks;
}

QByteArray bitmapFile(QSize size, QColor colour)
{
    return encodedImage(filledImage(size.width(), size.height(), colour), "BMP");
}

bool makeMovie(const QString &path, QSize size, int frames)
{
    const QString gstLaunch = QStandardPaths::findExecutable(QStringLiteral("gst-launch-1.0"));
    if (gstLaunch.isEmpty())
        return false;
    QStringList pipeline = QStringLiteral("-q videotestsrc num-buffers=%1 ! "
                                          "video/x-raw,width=%2,height=%3,framerate=10/1 ! "
                                          "jpegenc ! avimux ! filesink")
                               .arg(frames)
                               .arg(size.width())
                               .arg(size.height())
                               .split(u' ');
    pipeline.append("location=" + path); // the path may hold blanks
    return QProcess::execute(gstLaunch, pipeline) == 0;
}

} // namespace glintbox
