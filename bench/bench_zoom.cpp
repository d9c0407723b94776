// Repainting a 1200 x 800 viewport over a 6000 x 4000 photo at 1000% after a
// pan, against the same repaint at 100%, and the process memory at each zoom.
// Both are measured in the same run; the ratios are what count.

#include "Median.h"
#include "Report.h"
#include "viewing/pictures/ImageViewport.h"
#include "viewing/zoom/ZoomRules.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>
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
    return median(times);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

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

    const double slower100 = std::max(at100, again100);
    std::fprintf(stderr,
                 "1200x800 viewport over a 6000x4000 photo, median of %d: repaint at 100%% "
                 "%.2f ms (again %.2f ms); resident memory at 100%% %lld MiB\n",
                 rounds, at100, again100, memory100 / 1024);
    reportFigure("zoom repaint at 1000% after a pan (against 100%)", at1000, "ms",
                 at1000 / slower100, 2);
    reportFigure("zoom memory at 1000% (against 100%)", double(memory1000) / 1024, "MiB",
                 double(memory1000) / double(memory100), 1.1);
    return 0;
}
