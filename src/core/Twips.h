#pragma once

#include <QPaintDevice>
#include <QRect>
#include <QRectF>
#include <cmath>

namespace glintbox {

// Geometry rules work in twips (1440 per inch); widgets in pixels. Convert at
// the widget boundary with the screen's logical DPI (96 DPI: 15 twips a pixel).
constexpr double TwipsPerInch = 1440.0;

inline int twipsToPixels(double twips, double logicalDpi)
{
    return int(std::lround(twips * logicalDpi / TwipsPerInch));
}

inline double pixelsToTwips(double pixels, double logicalDpi)
{
    return pixels * TwipsPerInch / logicalDpi;
}

// The fewest whole pixels that hold at least this many twips, so that a window
// sized from a minimum in twips passes that minimum.
inline int twipsToPixelsAtLeast(double twips, double logicalDpi)
{
    return int(std::ceil(twips * logicalDpi / TwipsPerInch - 1e-6));
}

// The device's logical DPI, or the usual 96 before it has a screen.
inline double logicalDpiOf(const QPaintDevice &device)
{
    return device.logicalDpiY() > 0 ? device.logicalDpiY() : 96.0;
}

inline QRect twipsToPixels(const QRectF &twips, double logicalDpi)
{
    const int left = twipsToPixels(twips.left(), logicalDpi);
    const int top = twipsToPixels(twips.top(), logicalDpi);
    return {left, top, twipsToPixels(twips.width(), logicalDpi),
            twipsToPixels(twips.height(), logicalDpi)};
}

} // namespace glintbox
