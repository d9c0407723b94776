#include "IconFrames.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <array>

namespace glintbox {

namespace {

// Rendered ourselves rather than through the SVG icon engine plugin, so the
// icon never depends on a plugin being installed.
QIcon renderFrame(int index)
{
    QSvgRenderer renderer(
        QStringLiteral(":/icons/frames/frame%1.svg").arg(index, 2, 10, QChar('0')));
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

QIcon iconFrame(int index)
{
    static std::array<QIcon, IconFrameCount> frames;
    QIcon &frame = frames.at(size_t(index));
    if (frame.isNull())
        frame = renderFrame(index);
    return frame;
}

} // namespace glintbox
