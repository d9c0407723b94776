#pragma once

#include <QRect>
#include <QSize>

namespace glintbox {

// The player's movie window sizes, with the values the zoom presets request.
enum class MovieWindowSize : int {
    Own = 0,
    Double = 1,
    SixteenthScreen = 2,
    QuarterScreen = 3,
    HalfScreen = 4,
};

// The movie's size on screen. A fraction of the screen is a fraction of its
// area: the movie keeps its proportions and fills a box of the screen's shape
// with that area (a quarter screen is half as wide and half as high).
QSize movieWindowSize(MovieWindowSize size, QSize natural, QSize screen);

// Where the movie stands: centred in the area. It may be larger than the area,
// which then shows its middle.
QRect movieWindowRect(MovieWindowSize size, QSize natural, QSize screen, const QRect &area);

} // namespace glintbox
