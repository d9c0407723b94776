#pragma once

#include <QElapsedTimer>

#include <algorithm>
#include <vector>

namespace glintbox {

// The value below which the given fraction of a set of timings lies (0.9 for
// the 90th percentile).
inline double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const auto index = std::min(values.size() - 1, std::size_t(fraction * double(values.size())));
    return values[index];
}

// The middle of a set of timings: steadier than the mean on a noisy machine.
inline double median(std::vector<double> times)
{
    return percentile(std::move(times), 0.5);
}

// The median time of a piece of work done the given number of times, in milliseconds.
template<typename Work> double medianMilliseconds(int rounds, Work work)
{
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return median(times);
}

} // namespace glintbox
