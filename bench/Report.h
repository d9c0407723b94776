#pragma once

#include <cstdio>

namespace glintbox {

// Prints one figure in the form every benchmark shares, one line each, so that
// scripts/bench gathers them into one table:
//   name: value unit (ratio R, goal <= G)
// The ratio is the figure against the baseline measured in the same run (or
// against the budget the name gives); "goal >= G" where higher is better.
// Everything else a benchmark says goes to stderr.
inline void reportFigure(const char *name, double value, const char *unit, double ratio,
                         double goal, bool higherIsBetter = false)
{
    const int decimals = value >= 100 ? 0 : value >= 10 ? 1 : 2;
    std::printf("%s: %.*f %s (ratio %.2f, goal %s %g)\n", name, decimals, value, unit, ratio,
                higherIsBetter ? ">=" : "<=", goal);
    std::fflush(stdout);
}

} // namespace glintbox
