// Renders every corpus metafile and prints each file's time against a baseline
// measured in the same run: filling and encoding nothing but a blank image of
// the same size. With a folder argument it also writes each picture as a PNG.
#include "formats/metafile/Metafile.h"

#include "core/RunTimeError.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QTextStream>

#include <algorithm>

using namespace glintbox;

namespace {

QSize fitted(QSizeF twips, int longSide)
{
    if (twips.width() <= 0 || twips.height() <= 0)
        return {longSide, longSide};
    const double scale = longSide / std::max(twips.width(), twips.height());
    return QSize(std::max(1, int(twips.width() * scale)), std::max(1, int(twips.height() * scale)));
}

double millisecondsOf(const std::function<void()> &work, int repeats)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < repeats; ++i)
        work();
    return timer.nsecsElapsed() / 1e6 / repeats;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QString corpus =
        qEnvironmentVariable("GLINTBOX_CORPUS", QStringLiteral("../shared/corpus"));
    const QString pngFolder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (!pngFolder.isEmpty())
        QDir().mkpath(pngFolder);
    QTextStream out(stdout);
    QList<double> ratios;
    for (const QString &sub : {QStringLiteral("wmf"), QStringLiteral("emf")}) {
        const QDir dir(corpus + QLatin1Char('/') + sub);
        for (const QFileInfo &info : dir.entryInfoList(QDir::Files, QDir::Name)) {
            QFile file(info.filePath());
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QByteArray bytes = file.readAll();
            try {
                const Metafile picture = Metafile::fromBytes(bytes);
                const QSize size = fitted(picture.naturalSizeTwips(), 800);
                QImage image;
                const double render =
                    millisecondsOf([&] { image = picture.toImage(size, Qt::white); }, 3);
                const double baseline = millisecondsOf(
                    [&] {
                        QImage blank(size, QImage::Format_ARGB32_Premultiplied);
                        blank.fill(Qt::white);
                        QPainter painter(&blank);
                        painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
                    },
                    3);
                ratios.append(render / std::max(baseline, 1e-3));
                out << info.fileName() << ": " << size.width() << "x" << size.height() << " "
                    << QString::number(render, 'f', 2) << " ms, "
                    << QString::number(render / std::max(baseline, 1e-3), 'f', 1)
                    << "x blank fill; natural " << picture.naturalSizeTwips().width() << "x"
                    << picture.naturalSizeTwips().height() << " twips\n";
                if (!pngFolder.isEmpty())
                    image.save(pngFolder + QLatin1Char('/') + info.fileName() +
                               QStringLiteral(".png"));
            } catch (const RunTimeError &error) {
                out << info.fileName() << ": error " << error.number() << " (" << error.detail()
                    << ")\n";
            }
            out.flush();
        }
    }
    std::sort(ratios.begin(), ratios.end());
    if (!ratios.isEmpty())
        out << "median render/blank-fill ratio: " << ratios.at(ratios.size() / 2) << "\n";
    return 0;
}
