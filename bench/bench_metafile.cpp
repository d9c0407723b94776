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
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace glintbox;

namespace {

constexpr int Rounds = 5;
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
                const double render =
                    medianMilliseconds(Rounds, [&] { image = picture.toImage(size, Qt::white); });
                const QByteArray png = pngOf(image);
                const double decode = medianMilliseconds(Rounds, [&] {
                    if (QImage::fromData(png, "PNG").isNull())
                        std::fprintf(stderr, "%s: the PNG does not decode\n", name.constData());
                });
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
