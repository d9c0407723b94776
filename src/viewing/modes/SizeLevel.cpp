#include "SizeLevel.h"

#include <algorithm>
#include <cmath>

namespace glintbox {

int sizeLevel(double fileSize, double maximumFileSize)
{
    if (fileSize <= 0)
        return 0;
    // A maximum of 0 gives an infinite ratio, which clamps to 10 like any other
    // file over the maximum; only a negative maximum can give a negative ratio.
    const double ratio = fileSize / maximumFileSize * 10.0;
    if (std::isnan(ratio))
        return 0;
    // nearbyint rounds half to even in the default rounding mode.
    return int(std::nearbyint(std::clamp(ratio, 0.0, 10.0)));
}

} // namespace glintbox
