#pragma once

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

inline QRect twipsToPixels(const QRectF &twips, double logicalDpi)
{
    const int left = twipsToPixels(twips.left(), logicalDpi);
    const int top = twipsToPixels(twips.top(), logicalDpi);
    return {left, top, twipsToPixels(twips.width(), logicalDpi),
            twipsToPixels(twips.height(), logicalDpi)};
}

} // namespace glintbox
