#pragma once

#include <QString>

namespace glintbox {

// The shortest decimal text that reads back as the same value, in plain
// digits below 1e15 ("20480000", not "2.048e+07"): people type and read these
// numbers in boxes that take digits only. Larger values keep the exponent.
QString plainDecimal(double value);
QString plainDecimal(float value);

} // namespace glintbox
