#include "ToolbarIcons.h"

#include <QFile>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QSvgRenderer>

namespace glintbox {

namespace {

// The colours the pictures are drawn with, replaced by the palette's.
constexpr char InkColour[] = "#232629";
constexpr char PaperColour[] = "#fcfcfc";

// Pixel sizes drawn ahead, so that 16 and 24 pixel toolbars, also at a device
// pixel ratio of 2, get a picture drawn for their size rather than a scaled one.
constexpr int DrawnSizes[] = {16, 24, 32, 48, 64};

} // namespace

QIcon toolbarIcon(const QString &name, const QPalette &palette)
{
    QFile file(QStringLiteral(":/icons/toolbar/%1.svg").arg(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray svg = file.readAll();
    svg.replace(InkColour, palette.color(QPalette::WindowText).name().toLatin1());
    svg.replace(PaperColour, palette.color(QPalette::Base).name().toLatin1());
    QSvgRenderer renderer(svg);
    QIcon icon;
    for (const int size : DrawnSizes) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace glintbox
