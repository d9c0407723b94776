#include "MovieWindowSize.h"

#include <cmath>

namespace glintbox {

namespace {

double screenFraction(MovieWindowSize size)
{
    switch (size) {
    case MovieWindowSize::SixteenthScreen:
        return 1.0 / 16;
    case MovieWindowSize::QuarterScreen:
        return 1.0 / 4;
    case MovieWindowSize::HalfScreen:
        return 1.0 / 2;
    case MovieWindowSize::Own:
    case MovieWindowSize::Double:
        break;
    }
    return 0;
}

} // namespace

QSize movieWindowSize(MovieWindowSize size, QSize natural, QSize screen)
{
    if (natural.isEmpty())
        return {0, 0};
    switch (size) {
    case MovieWindowSize::Own:
        return natural;
    case MovieWindowSize::Double:
        return natural * 2;
    case MovieWindowSize::SixteenthScreen:
    case MovieWindowSize::QuarterScreen:
    case MovieWindowSize::HalfScreen:
        break;
    }
    const double side = std::sqrt(screenFraction(size));
    const QSize box(int(std::lround(screen.width() * side)),
                    int(std::lround(screen.height() * side)));
    return natural.scaled(box, Qt::KeepAspectRatio);
}

QRect movieWindowRect(MovieWindowSize size, QSize natural, QSize screen, const QRect &area)
{
    QRect rect(QPoint(0, 0), movieWindowSize(size, natural, screen));
    rect.moveTopLeft(QPoint(area.left() + (area.width() - rect.width()) / 2,
                            area.top() + (area.height() - rect.height()) / 2));
    return rect;
}

} // namespace glintbox
