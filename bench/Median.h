#pragma once

#include <algorithm>
#include <vector>

namespace glintbox {

// The middle of a set of timings: steadier than the mean on a noisy machine.
inline double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace glintbox
