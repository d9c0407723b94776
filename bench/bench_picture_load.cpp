// Loading a large photo through loadPicture against a bare QImageReader decode
// of the same bytes, measured in the same run.

#include "viewing/pictures/PictureLoader.h"
#include "Median.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>
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
    QTextStream out(stdout);
    QTemporaryDir folder;
    const QByteArray bytes = writePhoto(folder.filePath("photo.jpg"));
    out << "6000x4000 JPEG, " << bytes.size() / 1024 << " KiB\n";

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

    out << "bare QImageReader decode: " << bare << " ms (median of " << runs << ")\n";
    out << "loadPicture:              " << loaded << " ms (median of " << runs << ")\n";
    out << "ratio loadPicture / bare: " << loaded / bare << "\n";
    return 0;
}
