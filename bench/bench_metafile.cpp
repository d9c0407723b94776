// Renders every corpus metafile at its natural size and prints, over the
// corpus, the median and 90th percentile of each file's render time against
// decoding a PNG of the same pixels, measured in the same run. With a folder
// argument it also writes each picture as a PNG.
#include "Median.h"
#include "Report.h"
#include "formats/metafile/Metafile.h"

#include "core/RunTimeError.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

using namespace glintbox;

namespace {

constexpr int Rounds = 7;
// A picture whose first drawing took longer is timed in fewer rounds: the corpus holds one
// that takes seconds.
constexpr double LongDrawMilliseconds = 500;
constexpr int LongDrawRounds = 3;
// Each batch repeats its work until it lasts about this long, so that the clock's
// resolution and the cost of reading it do not weigh on the smallest pictures.
constexpr double BatchMilliseconds = 2;
constexpr int MaxRepetitions = 1000;
constexpr double TwipsPerPixel = 15; // at 96 dots per inch

QSize naturalPixels(QSizeF twips)
{
    return QSize(std::max(1, qRound(twips.width() / TwipsPerPixel)),
                 std::max(1, qRound(twips.height() / TwipsPerPixel)));
}

QByteArray pngOf(const QImage &image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

struct PairedTimes {
    double first = 0;  // milliseconds per repetition
    double second = 0; // milliseconds per repetition
};

// The time of each of two pieces of work, timed in alternating batches of the same number of
// repetitions, so that load elsewhere on the machine falls on both alike. Each side counts its
// least disturbed batch: on a machine shared with builds, the median of a few batches of a
// fraction of a millisecond still swings by a factor of several. Both are expected to have
// run once already (warm caches on both sides).
template<typename First, typename Second>
PairedTimes alternatedMilliseconds(double firstOnce, First first, Second second)
{
    const int rounds = firstOnce > LongDrawMilliseconds ? LongDrawRounds : Rounds;
    const int repetitions = std::clamp(
        int(std::ceil(BatchMilliseconds / std::max(firstOnce, 1e-3))), 1, MaxRepetitions);
    const auto batch = [repetitions](auto &work) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < repetitions; ++i)
            work();
        return double(timer.nsecsElapsed()) / 1e6 / repetitions;
    };
    std::vector<double> firstTimes;
    std::vector<double> secondTimes;
    for (int round = 0; round < rounds; ++round) {
        firstTimes.push_back(batch(first));
        secondTimes.push_back(batch(second));
    }
    return {*std::min_element(firstTimes.begin(), firstTimes.end()),
            *std::min_element(secondTimes.begin(), secondTimes.end())};
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    // A picture drawn larger than the reader's default limit must decode too: a baseline
    // that refuses the work would make that file's ratio meaningless.
    QImageReader::setAllocationLimit(0);
    const QString corpus =
        qEnvironmentVariable("GLINTBOX_CORPUS", QStringLiteral("../shared/corpus"));
    const QString pngFolder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (!pngFolder.isEmpty())
        QDir().mkpath(pngFolder);
    std::vector<double> renders;
    std::vector<double> ratios;
    for (const QString &sub : {QStringLiteral("wmf"), QStringLiteral("emf")}) {
        const QDir dir(corpus + QLatin1Char('/') + sub);
        for (const QFileInfo &info : dir.entryInfoList(QDir::Files, QDir::Name)) {
            QFile file(info.filePath());
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QByteArray name = info.fileName().toLocal8Bit();
            try {
                const Metafile picture = Metafile::fromBytes(file.readAll());
                const QSize size = naturalPixels(picture.naturalSizeTwips());
                QImage image;
                const auto draw = [&] { image = picture.toImage(size, Qt::white); };
                QElapsedTimer warmUp;
                warmUp.start();
                draw(); // also fills the picture's font cache, as a first paint does
                const double firstDraw = double(warmUp.nsecsElapsed()) / 1e6;
                const QByteArray png = pngOf(image);
                const auto decodePng = [&] {
                    if (QImage::fromData(png, "PNG").isNull())
                        std::fprintf(stderr, "%s: the PNG does not decode\n", name.constData());
                };
                decodePng();
                const auto [render, decode] = alternatedMilliseconds(firstDraw, draw, decodePng);
                renders.push_back(render);
                ratios.push_back(render / std::max(decode, 1e-3));
                std::fprintf(stderr, "%s: %dx%d, render %.2f ms, PNG decode %.2f ms, ratio %.2f\n",
                             name.constData(), size.width(), size.height(), render, decode,
                             ratios.back());
                if (!pngFolder.isEmpty())
                    image.save(pngFolder + QLatin1Char('/') + info.fileName() +
                               QStringLiteral(".png"));
            } catch (const RunTimeError &error) {
                std::fprintf(stderr, "%s: error %d (%s)\n", name.constData(), error.number(),
                             qPrintable(error.detail()));
            }
        }
    }
    if (ratios.empty()) {
        std::fputs("no metafiles in the corpus\n", stderr);
        return 1;
    }
    reportFigure("metafile render at natural size, median of the corpus (against PNG decode)",
                 median(renders), "ms", median(ratios), 2);
    reportFigure("metafile render at natural size, 90th percentile (against PNG decode)",
                 percentile(renders, 0.9), "ms", percentile(ratios, 0.9), 2);
    return 0;
}
