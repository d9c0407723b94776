#pragma once

#include <QIcon>

namespace glintbox {

constexpr int IconFrameCount = 16;

// The frame the window icon shows after the next tick of the icon timer.
inline int nextIconFrame(int iconFrame)
{
    return (iconFrame + 1) % IconFrameCount;
}

// One of the sixteen frames of the animated window icon (0..15).
QIcon iconFrame(int index);

} // namespace glintbox
