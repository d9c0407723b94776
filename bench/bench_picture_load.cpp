// Loading a large photo through loadPicture against a bare QImageReader decode
// of the same bytes, measured in the same run.

#include "Median.h"
#include "Report.h"
#include "viewing/pictures/PictureLoader.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <vector>

using namespace glintbox;

namespace {

// A photo-like picture: smooth gradients with noise, so that the JPEG is of
// realistic size and decoding cost.
QByteArray writePhoto(const QString &path)
{
    QImage photo(6000, 4000, QImage::Format_RGB32);
    QRandomGenerator random(42);
    for (int y = 0; y < photo.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x) {
            const int noise = int(random.bounded(24));
            line[x] = qRgb((x / 24 + noise) & 0xFF, (y / 16 + noise) & 0xFF, ((x + y) / 40) & 0xFF);
        }
    }
    photo.save(path, "JPEG", 90);
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

template<typename Work> double milliseconds(Work work)
{
    QElapsedTimer clock;
    clock.start();
    work();
    return clock.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    const QByteArray bytes = writePhoto(folder.filePath("photo.jpg"));

    const auto bareDecode = [&] {
        QByteArray data = bytes;
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "jpeg");
        const QImage image = reader.read();
        if (image.isNull())
            qFatal("bare decode failed: %s", qPrintable(reader.errorString()));
    };
    // Alternating runs, so that neither side gains from a warmer machine.
    const int runs = 7;
    std::vector<double> bareTimes;
    std::vector<double> loadTimes;
    for (int i = 0; i < runs; ++i) {
        bareTimes.push_back(milliseconds(bareDecode));
        loadTimes.push_back(milliseconds([&] { loadPicture(bytes); }));
    }
    const double bare = median(bareTimes);
    const double loaded = median(loadTimes);

    std::fprintf(stderr,
                 "6000x4000 JPEG of %lld KiB; bare QImageReader decode %.1f ms (median of %d)\n",
                 qlonglong(bytes.size() / 1024), bare, runs);
    // The loader adds to the one decode only the choice of format and the checks.
    reportFigure("picture load, 6000x4000 JPEG", loaded, "ms", loaded / bare, 1.1);
    return 0;
}
