#include "ZoomRules.h"

#include <algorithm>
#include <cmath>

namespace glintbox {

const std::array<ZoomPreset, 9> &zoomPresets()
{
    using M = MovieWindowSize;
    static const std::array<ZoomPreset, 9> presets{{
        {25, "25% Zoom - Image Only", std::nullopt},
        {50, "50% Zoom - Image Only", std::nullopt},
        {75, "75% Zoom - Image Only", std::nullopt},
        {100, "100% Zoom - Image and Movie", M::Own},
        {200, "200% Zoom - Image and Movie", M::Double},
        {300, "300% Zoom - Image and Movie", M::QuarterScreen},
        {400, "400% Zoom - Image and Movie", M::HalfScreen},
        {500, "500% Zoom - Image Only", std::nullopt},
        {1000, "1000% Zoom - Image Only", std::nullopt},
    }};
    return presets;
}

QString zoomPresetCaption(const ZoomPreset &preset)
{
    return QString::number(preset.percent) + u'%';
}

QString zoomLabel(int zoom)
{
    return QString::number(zoom) + QStringLiteral(" %");
}

QSizeF zoomedSize(double baseWidth, double baseHeight, int zoom)
{
    return {zoom * baseWidth / 100.0, zoom * baseHeight / 100.0};
}

int roundHalfToEven(double value)
{
    const double below = std::floor(value);
    const double fraction = value - below;
    double rounded = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0))
        rounded = below + 1.0;
    return int(rounded);
}

int panStep(double pictureExtent, double viewportExtent, int maximum)
{
    const qint32 overflow = roundHalfToEven(pictureExtent) - roundHalfToEven(viewportExtent);
    return roundHalfToEven(double(overflow) / maximum);
}

ZoomKey zoomKeyOf(int keyAscii)
{
    switch (keyAscii) {
    case '+':
    case '=':
        return ZoomKey::In;
    case '-':
    case '_':
        return ZoomKey::Out;
    default:
        return ZoomKey::None;
    }
}

int zoomAfterKey(int zoom, ZoomKey key)
{
    if (key == ZoomKey::In && zoom < MaximumZoom)
        return std::min(zoom + KeyZoomStep, MaximumZoom);
    if (key == ZoomKey::Out && zoom >= MinimumZoom + 1)
        return std::max(zoom - KeyZoomStep, MinimumZoom);
    return zoom;
}

} // namespace glintbox
