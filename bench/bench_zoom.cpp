// Repainting a 1200 x 800 viewport over a 6000 x 4000 photo at 1000% after a
// pan, against the same repaint at 100%, and the process memory at each zoom.
// Both are measured in the same run; the ratios are what count.

#include "viewing/pictures/ImageViewport.h"
#include "viewing/zoom/ZoomRules.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTextStream>
#include <algorithm>
#include <vector>

using namespace glintbox;

namespace {

QImage photo()
{
    QImage image(6000, 4000, QImage::Format_RGB32);
    QRandomGenerator random(42);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int noise = int(random.bounded(24));
            line[x] = qRgb((x / 24 + noise) & 0xFF, (y / 16 + noise) & 0xFF, ((x + y) / 40) & 0xFF);
        }
    }
    return image;
}

// Resident memory of the process in KiB.
qint64 residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return 0;
}

// Pans the picture to the middle at a zoom and repaints the viewport into
// target; returns the median of the repaint times in milliseconds.
double repaintAt(ImageViewport &viewport, QImage &target, int zoom, int rounds)
{
    const QSizeF natural = viewport.picture().naturalSizeTwips(viewport.logicalDpi());
    const QSizeF zoomed = zoomedSize(natural.width(), natural.height(), zoom);
    const QSizeF view = viewport.sizeTwips();
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        // Each round pans a little further, as the pan bars do.
        const int value = 40 + i % 20;
        const int stepX = panStep(zoomed.width(), view.width());
        const int stepY = panStep(zoomed.height(), view.height());
        viewport.setImageRectTwips(
            QRectF(QPointF(panOffset(value, stepX), panOffset(value, stepY)), zoomed));
        QElapsedTimer clock;
        clock.start();
        viewport.render(&target);
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);

    ImageViewport viewport;
    viewport.resize(1200, 800);
    viewport.setPicture(Picture::fromImage(photo()));
    QImage target(viewport.size(), QImage::Format_RGB32);
    const int rounds = 41;

    // Warm both paths once so that neither pays for first-use set-up.
    repaintAt(viewport, target, 100, 3);
    repaintAt(viewport, target, 1000, 3);

    const double at100 = repaintAt(viewport, target, 100, rounds);
    const qint64 memory100 = residentKiB();
    const double at1000 = repaintAt(viewport, target, 1000, rounds);
    const qint64 memory1000 = residentKiB();
    const double again100 = repaintAt(viewport, target, 100, rounds);

    out << "repaint of a 1200x800 viewport over a 6000x4000 photo, median of " << rounds << "\n";
    out << "  100%:  " << at100 << " ms (again: " << again100 << " ms)\n";
    out << "  1000%: " << at1000 << " ms\n";
    out << "  ratio 1000% / 100%: " << at1000 / std::max(at100, again100) << " (at most 2)\n";
    out << "resident memory: 100% " << memory100 / 1024 << " MiB, 1000% " << memory1000 / 1024
        << " MiB\n";
    out << "  ratio 1000% / 100%: " << double(memory1000) / double(memory100)
        << " (at most 1.10)\n";
    return 0;
}
