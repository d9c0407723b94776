#include "MaxSizeLights.h"

namespace glintbox {

GaugeColours MaxSizeLights(int &level, ViewMode viewMode)
{
    if (level > GaugeCellCount)
        level = GaugeCellCount;
    GaugeColours colours;
    colours.fill(GaugeUnlit);
    if (viewMode == ViewMode::Launcher)
        return colours;
    for (int i = 0; i < level; ++i)
        colours[size_t(i)] = i <= 6 ? GaugeGreen : GaugeOrangeRed;
    return colours;
}

} // namespace glintbox
