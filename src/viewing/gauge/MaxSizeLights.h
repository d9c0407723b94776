#pragma once

#include "core/Colours.h"
#include "viewing/modes/ViewMode.h"

#include <array>

namespace glintbox {

constexpr int GaugeCellCount = 10;
using GaugeColours = std::array<quint32, GaugeCellCount>;

constexpr quint32 GaugeUnlit = SystemButtonFace;
constexpr quint32 GaugeGreen = 0x00C000;
constexpr quint32 GaugeOrangeRed = 0x0040C0;

// The colours of the size gauge's cells for a size level: one lit cell per
// tenth, the first seven green and the last three orange-red; program files
// leave the gauge unlit. A level above 10 is lowered to 10 in the caller's
// variable too.
GaugeColours MaxSizeLights(int &level, ViewMode viewMode);

} // namespace glintbox
