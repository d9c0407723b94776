#pragma once

#include "viewing/player/MovieWindowSize.h"

#include <QSizeF>
#include <QString>
#include <array>
#include <optional>

namespace glintbox {

constexpr int MinimumZoom = 25;
constexpr int MaximumZoom = 1000;
constexpr int NormalZoom = 100;
constexpr int KeyZoomStep = 25;
constexpr int PanMaximum = 100;

// One zoom preset button btnZoom(index).
struct ZoomPreset {
    int percent;
    const char *toolTip;
    // The player's window size the preset requests in Movie view mode.
    std::optional<MovieWindowSize> movieWindowSize;
};

const std::array<ZoomPreset, 9> &zoomPresets();

// The preset's caption, "25%": no blank, unlike the zoom label.
QString zoomPresetCaption(const ZoomPreset &preset);

// The zoom label Text2: "100 %".
QString zoomLabel(int zoom);

// The picture's size at a zoom, always from its natural (base) size so that
// repeated zooms do not gather rounding; unrounded twips.
QSizeF zoomedSize(double baseWidth, double baseHeight, int zoom);

// Rounds half to the even neighbour, as the pan arithmetic requires.
int roundHalfToEven(double value);

// The twips one unit of a pan bar moves the picture: the part of the picture
// that does not fit (negative when it is narrower than the viewport) divided
// by the bar's maximum, rounded half to even. Extents are rounded to whole
// twips first.
int panStep(double pictureExtent, double viewportExtent, int maximum = PanMaximum);

// The picture's left (or top) edge for a pan bar value.
inline int panOffset(int value, int step)
{
    return -(value * step);
}

enum class ZoomKey { None, In, Out };

// '+' and '=' zoom in, '-' and '_' zoom out; other keys do not zoom.
ZoomKey zoomKeyOf(int keyAscii);

// The zoom a key step leads to: up by 25 below 1000, down by 25 from 26 on,
// otherwise unchanged. A step that would leave 25..1000 (possible after a drag
// in steps of 5) stops at the limit.
int zoomAfterKey(int zoom, ZoomKey key);

} // namespace glintbox
